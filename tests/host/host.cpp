// A host program that knows the library only through its umbrella header: every public
// class must be declared there and link from the library alone.
#include <cstdio>

#include "ktxscp32.h"

namespace {

int failures = 0;

void Expect(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "host: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  CReader reader;
  CWriter writer;
  CCRC crc;
  CPatientInfo patient;
  CRecordInfo recording;
  CGeneralInfo general;
  CAnalysisInfo analysis;
  CBioReader bio;
  C12LReader raw12;
  C12LMemReader raw12Memory;
  C16BitReader raw16;
  C16BitMemReader raw16Memory;
  C8BitReader raw8;
  C8BitMemReader raw8Memory;
  SLeadDefinitions leads;
  SLeadErrors leadErrors;
  SLeadMeasurements leadMeasurements;
  SEncodedData rhythm;
  SSectionIndexes index;

  Expect(reader.Loaded == 0, "a new reader has loaded nothing");
  Expect(crc.Value() == 0xFFFF, "CRC-CCITT starts at FFFF");
  // "123456789" is the published check string: CRC-CCITT (FFFF) gives 29B1.
  const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  crc.Add(check, sizeof(check));
  Expect(crc.Value() == 0x29B1, "CRC-CCITT of 123456789 is 29B1");
  Expect(leads.GetIdIndexFromId(1) == SLeadDefinitions::kNoLead, "no lead defined yet");
  Expect(CWriter::GenerateGuid().size() == 38, "a GUID in braces has 38 characters");
  if (failures == 0) std::puts("host: umbrella header complete");
  return failures == 0 ? 0 : 1;
}
