// Writes the analysis results into the analysed record: Sections 4, 5, 7, 9 and 10
// are built anew, every other section is copied byte for byte, and earlier analysis
// sections are dropped.
#pragma once

#include "engine/analysis.h"
#include "writer/writer.h"

namespace ktx::engine {

class ResultWriter : public CWriter {
 public:
  // `avm` is the rhythm's nanovolts per unit, used for the reference beats too;
  // `perLead` false writes neither reference beats nor per-lead measurements.
  bool Write(const char* name, const ktx::engine::Analysis& analysis, uint16_t avm, bool perLead);

 private:
  bool AddSection4(const ktx::engine::Analysis& a);
  bool AddSection5(const ktx::engine::Analysis& a, uint16_t avm);
  bool AddSection7(const ktx::engine::Analysis& a);
  bool AddSection9(const ktx::engine::Analysis& a);
  bool AddSection10(const ktx::engine::Analysis& a);
};

}  // namespace ktx::engine
