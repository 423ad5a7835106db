#include "json_to_python.h"

namespace py = pybind11;

namespace ktxpy {

py::object ToPython(const scpecg::Json& value) {
  switch (value.type()) {
    case scpecg::Json::value_t::object: {
      py::dict out;
      for (const auto& [key, item] : value.items()) out[py::str(key)] = ToPython(item);
      return std::move(out);
    }
    case scpecg::Json::value_t::array: {
      py::list out;
      for (const scpecg::Json& item : value) out.append(ToPython(item));
      return std::move(out);
    }
    case scpecg::Json::value_t::string:
      return py::str(value.get_ref<const std::string&>());
    case scpecg::Json::value_t::boolean:
      return py::bool_(value.get<bool>());
    case scpecg::Json::value_t::number_integer:
      return py::int_(value.get<int64_t>());
    case scpecg::Json::value_t::number_unsigned:
      return py::int_(value.get<uint64_t>());
    case scpecg::Json::value_t::number_float:
      return py::float_(value.get<double>());
    default:
      return py::none();
  }
}

}  // namespace ktxpy
