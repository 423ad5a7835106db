// Decoding a real 12-lead 10 s record (500 Hz, default Huffman table, second
// differences): the Huffman step alone by the bit walk and by the lookup, the whole
// decode from memory and from the file, the reader's decoding load, and BioSig reading the same
// file in this run. "per_sample" is the time for one of the 60000 samples.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "format/huffman_decoder.h"
#include "format/record_view.h"
#include "format/waveform_decoder.h"
#include "platform/little_endian.h"
#include "reader/reader.h"
#include "support/temp_folder.h"

#ifdef KTX_HAVE_BIOSIG
#include <biosig.h>
#endif

namespace {

constexpr size_t kSamples = 12 * 5000;

std::string RecordPath() {
  const std::string folder = test::SamplesFolder();
  return folder.empty() ? std::string() : folder + "/ECGToolkit__Example.scp";
}

void PerSample(benchmark::State& state) {
  state.counters["per_sample"] =
      benchmark::Counter(double{kSamples}, benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}

// Section 6's twelve lead streams and the record's tables.
struct SStreams {
  SHuffmanTables Tables;
  std::vector<const uint8_t*> Data;
  std::vector<size_t> Bytes;
};

bool FindStreams(const test::Bytes& record, SStreams* streams) {
  CRecordView sections;
  SSectionView tables, rhythm;
  if (!sections.Open(record.data(), record.size()) || !sections.Find(2, &tables) ||
      !sections.Find(6, &rhythm) ||
      !ParseHuffmanTables(tables.Bytes, tables.Size, &streams->Tables)) {
    return false;
  }
  size_t at = 6 + 2 * 12;
  for (size_t lead = 0; lead < 12; ++lead) {
    streams->Data.push_back(rhythm.Bytes + at);
    streams->Bytes.push_back(plat::GetLE16(rhythm.Bytes + 6 + 2 * lead));
    at += streams->Bytes.back();
  }
  return at <= rhythm.Size;
}

// Argument: the lookup width; 0 is the bit walk alone.
void BM_Huffman12Lead10s(benchmark::State& state) {
  const std::string path = RecordPath();
  const test::Bytes record = path.empty() ? test::Bytes() : test::ReadWholeFile(path);
  SStreams streams;
  if (!FindStreams(record, &streams)) {
    state.SkipWithError("no ECGToolkit__Example.scp among the shared samples");
    return;
  }
  const CHuffmanDecoder decoder(streams.Tables, static_cast<unsigned>(state.range(0)));
  std::vector<int16_t> values;
  for (auto _ : state) {
    for (size_t lead = 0; lead < 12; ++lead) {
      if (!decoder.Decode(streams.Data[lead], streams.Bytes[lead], 5000, &values)) {
        state.SkipWithError("stream did not decode");
      }
      benchmark::DoNotOptimize(values.data());
    }
  }
  PerSample(state);
}
BENCHMARK(BM_Huffman12Lead10s)->Arg(0)->Arg(CHuffmanDecoder::kLookupBits);

void BM_DecodeBuffer12Lead10s(benchmark::State& state) {
  const std::string path = RecordPath();
  const test::Bytes record = path.empty() ? test::Bytes() : test::ReadWholeFile(path);
  for (auto _ : state) {
    SDecodedWaveforms decoded;
    if (!DecodeWaveformBuffer(record.data(), record.size(), &decoded)) {
      state.SkipWithError("record did not decode");
    }
    benchmark::DoNotOptimize(decoded.Rhythm.Leads.data());
  }
  PerSample(state);
}
BENCHMARK(BM_DecodeBuffer12Lead10s);

void BM_DecodeFile12Lead10s(benchmark::State& state) {
  const std::string path = RecordPath();
  for (auto _ : state) {
    SDecodedWaveforms decoded;
    if (!DecodeWaveformFile(path.c_str(), &decoded)) state.SkipWithError("record did not decode");
    benchmark::DoNotOptimize(decoded.Rhythm.Leads.data());
  }
  PerSample(state);
}
BENCHMARK(BM_DecodeFile12Lead10s);

// The reader's decoding load of the same file: the exact load, then the decode put
// into the reader's members.
void BM_LoadDecoded12Lead10s(benchmark::State& state) {
  const std::string path = RecordPath();
  CReader reader;
  for (auto _ : state) {
    uint16_t loaded = 0;
    if (!reader.LoadDecoded(path.c_str(), &loaded, kAllSections) || reader.Rhythm.Encoding != 0) {
      state.SkipWithError("record did not decode");
    }
    benchmark::DoNotOptimize(reader.Rhythm.LeadSamples);
  }
  PerSample(state);
}
BENCHMARK(BM_LoadDecoded12Lead10s);

#ifdef KTX_HAVE_BIOSIG
// BioSig decodes the whole waveform while it opens the file; sread hands it out.
void BM_BioSigRead12Lead10s(benchmark::State& state) {
  const std::string path = RecordPath();
  for (auto _ : state) {
    HDRTYPE* hdr = sopen(path.c_str(), "r", nullptr);
    biosig_data_type* data = nullptr;
    size_t rows = 0, columns = 0;
    if (hdr == nullptr || serror2(hdr) != 0 ||
        sread(nullptr, 0, biosig_get_number_of_records(hdr), hdr) == 0 ||
        biosig_get_datablock(hdr, &data, &rows, &columns) != 0 || rows * columns < kSamples) {
      state.SkipWithError("BioSig did not read the record");
    }
    benchmark::DoNotOptimize(data);
    sclose(hdr);
    destructHDR(hdr);
  }
  PerSample(state);
}
BENCHMARK(BM_BioSigRead12Lead10s);
#endif

}  // namespace
