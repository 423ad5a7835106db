#include "tolerant_header.h"

#include "format/section1.h"
#include "platform/errors.h"
#include "record/codes.h"
#include "sample_assumptions.h"

namespace scpecg {

namespace {

struct OpenRecord {
  ~OpenRecord() {
    if (File != plat::kClosedFile) plat::CloseFile(File);
  }
  // Positions the file at Section 1's body, its header read.
  bool FindSection1(const std::string& file) {
    if (File == plat::kClosedFile) {
      uint8_t record[CReader::kRecordHeaderSize];
      if (!CReader::Open(&File, file.c_str(), record) || !CReader::ReadSectionIndex(File, &Index)) {
        return false;
      }
    }
    // A header naming another section (error 11) is the core reader's concern too.
    return CReader::FindSection(File, &Index, 1, Header);
  }
  plat::FileHandle File = plat::kClosedFile;
  SSectionIndexes Index;
  uint8_t Header[CReader::kSectionHeaderSize] = {};
};

}  // namespace

std::string ReadForeignHeader(const std::string& file, CReader& reader) {
  plat::KeepLastError keep;
  OpenRecord record;
  if (!record.FindSection1(file)) return std::string();
  // Who wrote the record decides what tags 200-219 mean: a first read learns it.
  CGeneralInfo general;
  bool terminated = true;
  if (!ParseSection1Tolerant(record.File, record.Header, nullptr, nullptr, nullptr, &general,
                             nullptr, nullptr, true, &terminated)) {
    return std::string();
  }
  const bool ours = NamesThisSystem(general);
  if (ours && terminated && (reader.Loaded & kSection1)) return std::string();
  if (!record.FindSection1(file)) return std::string();
  if (!ParseSection1Tolerant(record.File, record.Header, &reader.Patient, &reader.Recording,
                             &reader.LeadErrors, &reader.General, &reader.UnknownTags,
                             &reader.RequiredTags, ours, &terminated)) {
    reader.Clear(kSection1);
    return std::string();
  }
  reader.Loaded |= kSection1;
  bool makerTags = false;
  for (unsigned tag = kFirstMakerTag; tag <= kLastMakerTag && !ours; ++tag) {
    makerTags = makerTags || reader.UnknownTags.Length[tag] != 0;
  }
  if (terminated && !makerTags) return std::string();
  std::string what;
  if (!terminated) what = "it ends without tag 255";
  if (makerTags) {
    what += std::string(what.empty() ? "" : "; ") +
            "tags 200-219 kept as another maker's, the record not being this system's";
  }
  return file + ": note: Section 1 read tolerantly (" + what + ")";
}

}  // namespace scpecg
