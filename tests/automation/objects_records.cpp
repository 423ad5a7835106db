#include "objects_records.h"

#include "support/section1_bytes.h"
#include "support/waveform_builder.h"

namespace objects {
namespace {

test::Bytes PatientSection() {
  return test::Body(
      {test::TextTag(0, "Roe"), test::TextTag(1, "Ann"), test::TextTag(2, "P-17"), test::EndTag()});
}

test::Bytes LeadSection() {
  return test::Section3Body(0x04, {{1, 4, 1}, {1, 4, 2}});
}

}  // namespace

test::Bytes LimbRecord(bool measured) {
  test::RecordBuilder record;
  record.Section(1, PatientSection()).Section(3, LeadSection());
  if (measured) record.Section(5, test::SampleDataBody(1000, 2000, {{-5, 0, 5}, {7, 8, 9}}));
  record.Section(6,
                 test::SampleDataBody(1000, 2000, {{100, 200, 300, 400}, {300, 2033, 300, 300}}));
  if (measured) record.Section(10, test::Section10Body(2, 62, 2));
  return record.Build();
}

test::Bytes NoRhythmRecord() {
  return test::RecordBuilder().Section(1, PatientSection()).Section(3, LeadSection()).Build();
}

}  // namespace objects
