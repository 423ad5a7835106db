// Section 1 from the header records, into the next store entry.
#include <cstring>
#include <new>
#include <vector>

#include "platform/errors.h"
#include "writer/section1_tags.h"
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
    // Pass 1: the data of every tag, and so the section length.
    const ktx::section1::Sources sources{&Patient,     &Recording, &General,   &LeadErrors,
                                         &UnknownTags, UpdateMode, WriterName, WriterVersion};
    std::vector<ktx::section1::Tag> tags;
    if (!ktx::section1::CollectTags(sources, &tags)) return false;
    uint32_t length = kSectionHeaderSize + kTagHeaderBytes;  // the terminator included
    for (const auto& tag : tags) {
      length += kTagHeaderBytes + static_cast<uint32_t>(tag.Data.size());
    }
    length += length & 1u;  // sections end on an even byte

    uint16_t entry = 0;
    uint8_t* section = nullptr;
    if (!NextEntry(&entry) || !PlaceSection(entry, 1, length, &section)) return false;

    // Pass 2: the tags one after another behind the section header.
    uint8_t* out = section + kSectionHeaderSize;
    for (const auto& tag : tags) {
      const auto size = static_cast<uint16_t>(tag.Data.size());
      out[0] = tag.Number;
      out[1] = static_cast<uint8_t>(size);
      out[2] = static_cast<uint8_t>(size >> 8);
      std::memcpy(out + kTagHeaderBytes, tag.Data.data(), size);
      out += kTagHeaderBytes + size;
    }
    out[0] = kTagTerminator;  // length 0 and any padding byte are already zero
    return FinishEntry(entry);
  });
}
