// Section 3: the lead definitions.
#include "platform/errors.h"
#include "format/section_body.h"
#include "reader/section_parsers.h"

bool ParseSection3(plat::FileHandle file, const uint8_t* sectionHeader, SLeadDefinitions* leads) {
  if (file == plat::kClosedFile || sectionHeader == nullptr || leads == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  SectionBody body(file, sectionHeader);
  uint8_t countAndFlags[2];
  bool ok = body.Read(countAndFlags, sizeof(countAndFlags)) && leads->Allocate(countAndFlags[0]);
  if (ok) {
    leads->Flags = countAndFlags[1];
    ok = body.Read(leads->Leads, static_cast<uint32_t>(sizeof(SLeadDef)) * leads->Count);
  }
  if (!ok) {
    // Never leave a count without its entries behind.
    plat::KeepLastError keep;
    leads->KillData();
  }
  return ok;
}
