#include "sample_assumptions.h"

#include <algorithm>
#include <cctype>

#include "record/codes.h"

namespace scpecg {

namespace {

std::string Narrow(const plat::OleChar* text) {
  std::string out;
  if (text == nullptr || !plat::WideToUtf8(text, -1, &out)) return std::string();
  return out;
}

// The names this system's writers put into Section 1 as creator or modifier: scpecg, the
// automation server (KTXSCP32.DLL) and the Python package (ktxscp32-python).
bool IsOurName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name == "scpecg" || name.rfind("ktxscp32", 0) == 0;
}

}  // namespace

std::string AssumeScaleWhenNone(const std::string& file, const char* what, SEncodedData& data) {
  if (data.AVM != 0) return std::string();
  data.AVM = kAssumedAvm;
  return file + ": warning: the " + what + " state an AVM of 0; AVM " +
         std::to_string(kAssumedAvm) + " nV assumed (values as stored, one unit a microvolt)";
}

bool NamesThisSystem(const CGeneralInfo& general) {
  return IsOurName(Narrow(general.CreatorApp)) || IsOurName(Narrow(general.ModifierApp));
}

bool WriterUsesMarkers(const CReader& reader) {
  if (!(reader.Loaded & kSection1)) return false;
  return NamesThisSystem(reader.General) || reader.LeadErrors.Count > 0;
}

bool HoldsMarkerValues(const SEncodedData& data) {
  for (unsigned i = 0; i < data.LeadCount; ++i) {
    const int16_t* samples = data.LeadSamples != nullptr ? data.LeadSamples[i] : nullptr;
    if (samples == nullptr) continue;
    for (unsigned k = 0; k < data.SampleCounts[i]; ++k) {
      if (IsLeadErrorMarker(samples[k])) return true;
    }
  }
  return false;
}

std::string SignalNote(const std::string& file, const CReader& reader) {
  const std::string creator = Narrow(reader.General.CreatorApp);
  return file + ": note: values 2032-2034 read as signal, not as lead-error markers: the " +
         (creator.empty() ? std::string("record's writer") : "writer \"" + creator + "\"") +
         " is not this system and left no lead error table";
}

}  // namespace scpecg
