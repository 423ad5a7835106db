// Section 1 from the header records, into the next store entry.
#include <vector>

#include "format/section1_build.h"
#include "platform/errors.h"
#include "writer/writer.h"

bool CWriter::CreateSec1() {
  if (!(Loaded & kSection1)) return plat::FailWith(plat::kErrNoData);
  {
    // Without I or II the derived leads get no entries (232); the table is written as
    // it stands, which is no reason to refuse the section.
    plat::KeepLastError keep;
    LeadErrors.AddCalcLeads();
  }
  return plat::CatchOutOfMemory(false, [&] {
    const ktx::section1::Sources sources{&Patient,     &Recording, &General,   &LeadErrors,
                                         &UnknownTags, UpdateMode, WriterName, WriterVersion};
    std::vector<ktx::section1::Tag> tags;
    return ktx::section1::CollectTags(sources, &tags) &&
           AddBuilt(1, ktx::section1::BodySize(tags),
                    [&tags](uint8_t* body) { ktx::section1::Build(tags, body); });
  });
}
