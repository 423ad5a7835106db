// The waveform side of an existing file: the derived limb leads and the lead error
// table, computed by the reader from the loaded lead definitions and samples.
#include "platform/errors.h"
#include "reader/waveform_loading.h"
#include "writer/writer.h"

bool CWriter::UpdateCalculatedLeads(const char* name) {
  return Rewrite(name, kSection3 | kSection5 | kSection6, [this] {
    return LoadLeadDefinitions(*this) && LoadMedian(*this) && LoadRhythm(*this) &&
           GenerateCalculatedLeads();
  });
}

bool CWriter::UpdateLeadErrors(const char* name) {
  // Sections 3 and 6 are read for their markers and copied as they are.
  return Rewrite(name, 0, [this] {
    return LoadLeadDefinitions(*this) && LoadRhythm(*this) && GenerateLeadErrors();
  });
}
