// Writes the example acquisitions of examples/acquisition/ with the tests' encoders:
//   make_acquisitions OUTPUT_FOLDER
#include <fstream>
#include <iostream>

#include "acquisition/encoders.h"

namespace {

void Write(const std::string& path, const test::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A small beat-like wave in counts: a flat line with one spike every 20 samples.
int Wave(int i, int lead) {
  const int phase = i % 20;
  const int spike = phase < 3 ? (3 - phase) * 150 : 0;
  return (spike - 20) * (lead % 3 + 1) / 2 - lead * 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_acquisitions OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];

  // Raw 12-lead, 8-lead configuration: 40 records, the eleventh with a bad checksum.
  test::Bytes raw12;
  for (int i = 0; i < 40; ++i) {
    std::vector<int> leads;
    for (int lead = 0; lead < 8; ++lead) leads.push_back(Wave(i, lead));
    const test::Bytes record = acqtest::PairRecord(leads, i != 10);
    raw12.insert(raw12.end(), record.begin(), record.end());
  }
  Write(folder + "/raw12_8lead.raw", raw12);

  // Raw 12-lead, one-lead configuration with a marker and an out-of-sync record.
  test::Bytes oneLead;
  for (int i = 0; i < 30; ++i) {
    const test::Bytes record = i == 5   ? test::Bytes{0x00, 0x00}
                               : i == 6 ? acqtest::OneLeadRecord(1024, 1)
                                        : acqtest::OneLeadRecord(1500 + Wave(i, 0));
    oneLead.insert(oneLead.end(), record.begin(), record.end());
  }
  Write(folder + "/raw12_1lead.raw", oneLead);

  std::vector<int> samples;
  for (int i = 0; i < 60; ++i) samples.push_back(Wave(i, 1) * 4);
  Write(folder + "/stream16.bin", acqtest::Stream16(samples));
  test::Bytes stream8;
  for (int i = 0; i < 60; ++i) stream8.push_back(static_cast<uint8_t>(128 + Wave(i, 0) / 4));
  Write(folder + "/stream8.bin", stream8);

  // A Bio file of two events of two leads each: a type 30 header, then per event an
  // event block and its data blocks.
  acqtest::BioHeader header;
  header.LeadCount = 2;
  header.EventCount = 2;
  header.Resolution = 5000;
  header.Interval = 4000;
  test::Bytes pairs;
  for (int i = 0; i < 25; ++i) {
    acqtest::AppendPair(pairs, Wave(i, 0), Wave(i, 1));
    pairs.push_back(0);
  }
  test::Bytes packed;
  test::Bytes oneLeadRecords;
  for (int i = 0; i < 20; i += 2) acqtest::AppendPair(packed, Wave(i, 2), Wave(i + 1, 2));
  for (int i = 0; i < 20; ++i) {
    const test::Bytes r = acqtest::OneLeadRecord(1500 + Wave(i, 3));
    oneLeadRecords.insert(oneLeadRecords.end(), r.begin(), r.end());
  }
  Write(folder + "/two_events.bio", acqtest::BioFile()
                                        .Block(30, acqtest::Bio30(header))
                                        .Block(31, acqtest::BioEvent(25, 14, 3, 24, 9, 30))
                                        .Block(22, pairs)
                                        .Block(31, acqtest::BioEvent(20, 14, 3, 24, 9, 45))
                                        .Block(10, packed)
                                        .Block(21, oneLeadRecords)
                                        .Build());
  return 0;
}
