// Writes the example acquisitions of examples/acquisition/ with the tests' encoders:
//   make_acquisitions OUTPUT_FOLDER
//
// Two kinds: tiny files with hand-picked oddities (raw12_*, stream*, two_events.bio) that
// the acquisition tests decode, and the synthetic_* files, ten seconds or so of a
// plausible ECG (synthetic_ecg.h) in every input format, to create SCP-ECG files from:
//
//   synthetic_8lead.raw    raw 12-lead, leads I, II, V1-V6, 10 s at 500 Hz, 5000 nV:
//                          scpecg create --from raw12 --leads 8 --rate 500 --resolution 5000
//   synthetic_16bit.bin    lead II, signed 16-bit, 10 s at 500 Hz, 1000 nV:
//                          scpecg create --from 16bit --rate 500 --resolution 1000
//   synthetic_8bit.bin     lead II, offset-binary 8-bit, 10 s at 300 Hz, 20000 nV (the
//                          8-bit defaults): scpecg create --from 8bit --unsigned
//   synthetic_3events.bio  three events of 4 s at 500 Hz, 5000 nV, 50 Hz mains filter:
//                          I and II as 12-bit pairs, and a third, unnamed lead (V5) as
//                          one-lead records around a baseline of 100 counts, which the
//                          second event loses for 0.8 s (lead-off markers 2032):
//                          scpecg create --from bio
#include <fstream>
#include <iostream>

#include "acquisition/encoders.h"
#include "synthetic_ecg.h"

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

// Raw 12-lead pairs hold -2048 to 2031. One-lead records hold 0 to 2031 and no sign, so
// the device's zero sits at a baseline: kept low, so that the lead stays near its
// neighbours on paper.
constexpr int kPairLow = -2048;
constexpr int kPairHigh = 2031;
constexpr int kOneLeadBaseline = 100;

// A one-lead record as a Bio data block of type 21 holds it: no synchronisation bits,
// so values below 1024 too; status 1-3 makes it a marker.
test::Bytes BioOneLeadRecord(int value, int status) {
  return {static_cast<uint8_t>((value / 32) * 4),
          static_cast<uint8_t>(((value % 32) << 2) | status)};
}

void WriteSynthetic(const std::string& folder) {
  using synth::LeadCounts;
  static const synth::Lead kEightLeads[] = {synth::kI,  synth::kII, synth::kV1, synth::kV2,
                                            synth::kV3, synth::kV4, synth::kV5, synth::kV6};

  // 10 s at 500 Hz, 5 uV a count.
  std::vector<std::vector<int>> leads;
  for (synth::Lead lead : kEightLeads) {
    leads.push_back(LeadCounts(lead, 500, 0, 5000, 5000, kPairLow, kPairHigh));
  }
  test::Bytes raw12;
  for (size_t i = 0; i < leads[0].size(); ++i) {
    std::vector<int> record;
    record.reserve(leads.size());
    for (const auto& lead : leads) record.push_back(lead[i]);
    const test::Bytes bytes = acqtest::PairRecord(record);
    raw12.insert(raw12.end(), bytes.begin(), bytes.end());
  }
  Write(folder + "/synthetic_8lead.raw", raw12);

  Write(folder + "/synthetic_16bit.bin",
        acqtest::Stream16(LeadCounts(synth::kII, 500, 0, 5000, 1000, -32768, 32767)));

  test::Bytes stream8;
  for (int value : LeadCounts(synth::kII, 300, 0, 3000, 20000, -128, 127)) {
    stream8.push_back(static_cast<uint8_t>(value + 128));
  }
  Write(folder + "/synthetic_8bit.bin", stream8);

  // Three events of 2000 samples from different stretches of the recording.
  acqtest::BioHeader header;
  header.SerialHigh = 0;
  header.SerialLow = 12345;
  header.Hardware = 23;
  header.Software = 12;
  header.Mains = 1;  // 50 Hz
  header.Resolution = 5000;
  header.Interval = 2000;
  header.SampleBits = 12;
  header.LeadCount = 3;
  header.EventCount = 3;
  acqtest::BioFile bio;
  bio.Block(30, acqtest::Bio30(header));
  constexpr int kSamples = 2000;
  for (int event = 0; event < 3; ++event) {
    const double start = 20.0 * event;
    const std::vector<int> one =
        LeadCounts(synth::kI, 500, start, kSamples, 5000, kPairLow, kPairHigh);
    const std::vector<int> two =
        LeadCounts(synth::kII, 500, start, kSamples, 5000, kPairLow, kPairHigh);
    const std::vector<int> third = LeadCounts(synth::kV5, 500, start, kSamples, 5000,
                                              -kOneLeadBaseline, 2031 - kOneLeadBaseline);
    test::Bytes pairs;
    test::Bytes singles;
    for (int i = 0; i < kSamples; ++i) {
      acqtest::AppendPair(pairs, one[static_cast<size_t>(i)], two[static_cast<size_t>(i)]);
      pairs.push_back(0);  // not checked
      const bool leadOff = event == 1 && i >= 1000 && i < 1400;
      const test::Bytes record =
          leadOff ? BioOneLeadRecord(0, 2)
                  : BioOneLeadRecord(kOneLeadBaseline + third[static_cast<size_t>(i)], 0);
      singles.insert(singles.end(), record.begin(), record.end());
    }
    const int minutes = 9 * 60 + 30 + 15 * event;  // 09:30, 09:45, 10:00
    bio.Block(31, acqtest::BioEvent(kSamples, 14, 3, 24, minutes / 60, minutes % 60))
        .Block(22, pairs)
        .Block(21, singles);
  }
  Write(folder + "/synthetic_3events.bio", bio.Build());
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
    leads.reserve(8);
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
  samples.reserve(60);
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

  WriteSynthetic(folder);
  return 0;
}
