// Section 3: the lead definitions.
#include "format/section3.h"
#include <cstring>
#include "format/section_body.h"

#include "platform/errors.h"

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

uint32_t Section3BodySize(const SLeadDefinitions& leads) {
  return 2 + static_cast<uint32_t>(sizeof(SLeadDef)) * leads.Count;
}

void BuildSection3(const SLeadDefinitions& leads, uint8_t* body) {
  body[0] = leads.Count;
  body[1] = leads.Flags;
  // The definitions are held as they lie in the file, as the parse reads them.
  if (leads.Count != 0) std::memcpy(body + 2, leads.Leads, sizeof(SLeadDef) * leads.Count);
}
