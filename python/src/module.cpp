// ktxscp32._core: the library's reader, writer, decoder and analysis driver for Python.
// The package ktxscp32 wraps these functions in its Record type and friendlier names.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "analyze_record.h"
#include "read_record.h"
#include "scp_error.h"
#include "write_record.h"

namespace py = pybind11;

namespace pybind11::detail {

// Patient fields arrive as a dict of the keys scpecg show uses (patient_id, last_name,
// first_name, birth: (y, m, d), sex_code, height_mm, weight_g).
template <>
struct type_caster<ktxpy::PatientFields> {
  PYBIND11_TYPE_CASTER(ktxpy::PatientFields, const_name("dict"));
  bool load(handle source, bool) {
    if (!isinstance<dict>(source)) return false;
    const dict fields = reinterpret_borrow<dict>(source);
    auto get = [&](const char* key, auto& target) {
      if (fields.contains(key) && !fields[key].is_none()) {
        target = fields[key].cast<typename std::decay_t<decltype(target)>::value_type>();
      }
    };
    get("patient_id", value.PatientId);
    get("last_name", value.LastName);
    get("first_name", value.FirstName);
    get("birth", value.Birth);
    get("sex_code", value.Sex);
    get("height_mm", value.HeightMm);
    get("weight_g", value.WeightG);
    return true;
  }
};

}  // namespace pybind11::detail

PYBIND11_MODULE(_core, m) {
  m.doc() = "KTXSCP32 core bindings; use the ktxscp32 package instead.";
  // The error type lives in Python so that it pickles across Dask workers.
  static py::object scpError = py::module_::import("ktxscp32._errors").attr("ScpError");
  // pybind11 takes translators as plain function pointers of this signature.
  // NOLINTNEXTLINE(performance-unnecessary-value-param)
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const ktxpy::ScpFailure& failure) {
      py::object error = scpError(failure.Code, failure.what());
      PyErr_SetObject(scpError.ptr(), error.ptr());
    }
  });
  m.def("read", &ktxpy::ReadRecord, py::arg("path"), py::arg("language") = "en");
  m.def("create", &ktxpy::CreateRecord, py::arg("path"), py::arg("microvolts").noconvert(),
        py::arg("rate"), py::arg("lead_codes"), py::arg("patient") = py::none(),
        py::arg("avm") = 0);
  m.def("edit_text", &ktxpy::EditText);
  m.def("edit_confirmed", &ktxpy::EditConfirmed);
  m.def("edit_received", &ktxpy::EditReceived);
  m.def("edit_patient", &ktxpy::EditPatient);
  m.def("derive", &ktxpy::DeriveLeads);
  m.def("check", &ktxpy::CheckRecord);
  m.def("analyze", &ktxpy::AnalyzeRecord, py::arg("path"), py::arg("language") = "en",
        py::arg("short") = false, py::arg("text") = false, py::arg("patient_warning") = false);
  m.def("lead_name", &ktxpy::LeadName);
  m.def("lead_code", &ktxpy::LeadCode);
}
