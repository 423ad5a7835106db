#include "format/waveform_decoder.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "format/huffman_decoder.h"
#include "format/record_view.h"
#include "format/waveform_steps.h"
#include "platform/errors.h"
#include "platform/file.h"
#include "platform/little_endian.h"

namespace {

constexpr size_t kMaxLeadSamples = 65535;  // what a lead of the core's tables holds
constexpr size_t kMaxRecord = 256u << 20;  // far above any ECG record

struct SSampleSection {
  SDecodedSamples* Out;
  std::vector<const uint8_t*> Data;  // per lead, into the section body
  std::vector<uint16_t> Bytes;
};

// The header, byte-length table and per-lead data of Section 5 or 6, all inside the body.
bool ReadSampleHeader(const SSectionView& body, size_t leads, SSampleSection* section) {
  if (body.Size < 6 + 2 * leads) return plat::FailWith(plat::kErrInvalidData);
  SDecodedSamples& out = *section->Out;
  out.AVM = plat::GetLE16(body.Bytes);
  out.SampleInterval = plat::GetLE16(body.Bytes + 2);
  out.Difference = body.Bytes[4];
  out.Bimodal = body.Bytes[5];
  size_t at = 6 + 2 * leads;
  for (size_t i = 0; i < leads; ++i) {
    const uint16_t bytes = plat::GetLE16(body.Bytes + 6 + 2 * i);
    if (bytes > body.Size - at) return plat::FailWith(plat::kErrInvalidData);
    section->Bytes.push_back(bytes);
    section->Data.push_back(body.Bytes + at);
    at += bytes;
  }
  return true;
}

// One lead's stored values: Huffman-decoded to `count`, or 16-bit words (at most `count`).
bool StoredValues(const SSampleSection& section, size_t lead, const CHuffmanDecoder* huffman,
                  size_t count, std::vector<int16_t>* values) {
  const uint8_t* data = section.Data[lead];
  const size_t bytes = section.Bytes[lead];
  if (huffman != nullptr) return huffman->Decode(data, bytes, count, values);
  const size_t words = std::min(bytes / 2, count);
  values->resize(words);
  for (size_t i = 0; i < words; ++i)
    (*values)[i] = static_cast<int16_t>(plat::GetLE16(data + 2 * i));
  return true;
}

// Whether every coded beat holds one sample more than `shorter`: its stream decodes it,
// and either rounding to the nearest sample gives it or a whole byte is left after
// `shorter` samples, more than the padding of the last byte.
bool HoldsOneMore(const SSampleSection& section, const CHuffmanDecoder& huffman, size_t shorter,
                  bool nearestIsLonger) {
  bool any = false;
  std::vector<int16_t> values;
  for (size_t i = 0; i < section.Data.size(); ++i) {
    if (section.Bytes[i] == 0) continue;
    size_t unused = 0;
    if (!huffman.Decode(section.Data[i], section.Bytes[i], shorter, &values, &unused)) return false;
    if (!nearestIsLonger && unused < 8) return false;
    if (!huffman.Decode(section.Data[i], section.Bytes[i], shorter + 1, &values)) return false;
    any = true;
  }
  return any;
}

// A coded beat says nothing of its length: Section 4 gives it in milliseconds. When they
// do not make a whole number of samples, writers round either way; the bits say which.
bool MedianLength(const SSampleSection& section, const CHuffmanDecoder& huffman,
                  const SQrsLocations* qrs, size_t* count) {
  const uint16_t interval = section.Out->SampleInterval;
  if (qrs == nullptr || interval == 0) return plat::FailWith(plat::kErrInvalidData);
  const size_t micros = static_cast<size_t>(qrs->MedianLengthMs) * 1000;
  *count = micros / interval;
  if (*count > kMaxLeadSamples) return plat::FailWith(plat::kErrInvalidData);
  const size_t rest = micros % interval;
  if (rest != 0 && *count < kMaxLeadSamples &&
      HoldsOneMore(section, huffman, *count, 2 * rest >= interval))
    ++*count;
  plat::SetLastError(plat::kErrSuccess);  // a beat one sample short is no error
  return true;
}

bool DecodeMedian(const SSectionView& body, const std::vector<SLeadDef>& defs,
                  const CHuffmanDecoder* huffman, const SQrsLocations* qrs, SDecodedSamples* out) {
  SSampleSection section{out, {}, {}};
  if (!ReadSampleHeader(body, defs.size(), &section)) return false;
  size_t count = 0;
  if (huffman != nullptr && !MedianLength(section, *huffman, qrs, &count)) return false;
  out->Leads.resize(defs.size());
  for (size_t i = 0; i < defs.size(); ++i) {
    if (section.Bytes[i] == 0) continue;
    const size_t want = huffman != nullptr ? count : section.Bytes[i] / 2u;
    if (!StoredValues(section, i, huffman, want, &out->Leads[i])) return false;
    if (!UndoDifferences(out->Difference, &out->Leads[i])) return false;
  }
  out->Present = true;
  return true;
}

// Residual and reference beat are each in their own section's AVM: both go to the finer
// of the two before they are added, and the rhythm is carried at that AVM. An AVM of 0
// says nothing of the scale: the values are then added as stored.
struct SCommonScale {
  uint16_t AVM = 0;
  double Rhythm = 1, Median = 1;  // factors from each section's units to AVM's
};

SCommonScale CommonScale(uint16_t medianAvm, uint16_t rhythmAvm) {
  SCommonScale scale;
  scale.AVM = rhythmAvm;
  if (medianAvm == 0 || rhythmAvm == 0 || medianAvm == rhythmAvm) return scale;
  scale.AVM = std::min(medianAvm, rhythmAvm);
  scale.Rhythm = static_cast<double>(rhythmAvm) / scale.AVM;
  scale.Median = static_cast<double>(medianAvm) / scale.AVM;
  return scale;
}

// Rounded to the nearest unit, held to the 16-bit range.
void ScaleSamples(double factor, std::vector<int16_t>* samples) {
  for (int16_t& sample : *samples) {
    const double value = std::round(sample * factor);
    sample = static_cast<int16_t>(std::clamp(value, -32768.0, 32767.0));
  }
}

bool DecodeRhythm(const SSectionView& body, std::vector<SLeadDef>* defs,
                  const CHuffmanDecoder* huffman, const SQrsLocations* qrs,
                  const SDecodedSamples& median, bool subtract, SDecodedSamples* out) {
  SSampleSection section{out, {}, {}};
  if (!ReadSampleHeader(body, defs->size(), &section)) return false;
  unsigned ratio = 1;
  if (out->Bimodal != 0) {
    // Decimated outside the protected zones by the ratio of the two sample intervals.
    if (qrs == nullptr || !qrs->HasProtected || !median.Present || median.SampleInterval == 0 ||
        out->SampleInterval % median.SampleInterval != 0) {
      return plat::FailWith(plat::kErrInvalidData);
    }
    ratio = out->SampleInterval / median.SampleInterval;
  }
  const SCommonScale scale = subtract ? CommonScale(median.AVM, out->AVM) : SCommonScale{};
  out->Leads.resize(defs->size());
  for (size_t i = 0; i < defs->size(); ++i) {
    SLeadDef& def = (*defs)[i];
    if (def.EndSample < def.StartSample || def.EndSample - def.StartSample >= kMaxLeadSamples) {
      return plat::FailWith(plat::kErrInvalidData);
    }
    const size_t full = def.EndSample - def.StartSample + 1u;
    if (section.Bytes[i] == 0) continue;
    std::vector<int16_t>& lead = out->Leads[i];
    const size_t stored = ratio > 1 ? DecimatedCount(*qrs, full, ratio) : full;
    if (!StoredValues(section, i, huffman, stored, &lead)) return false;
    if (!UndoDifferences(out->Difference, &lead)) return false;
    if (ratio > 1) {
      std::vector<int16_t> decimated;
      decimated.swap(lead);
      if (!Undecimate(*qrs, decimated, full, ratio, &lead)) return false;
    }
    if (subtract) {
      if (scale.Rhythm != 1) ScaleSamples(scale.Rhythm, &lead);
      if (i < median.Leads.size()) {
        std::vector<int16_t> beat = median.Leads[i];
        if (scale.Median != 1) ScaleSamples(scale.Median, &beat);
        AddReferenceBeat(*qrs, beat, &lead);
      }
    }
    // Some writers number samples from 0: the range then counts one more than stored.
    if (def.StartSample == 0) def.StartSample = 1;
    def.EndSample = def.StartSample + static_cast<uint32_t>(lead.size()) - 1;
  }
  if (ratio > 1) out->SampleInterval = median.SampleInterval;
  if (subtract) out->AVM = scale.AVM;
  out->Present = true;
  return true;
}

bool ParseLeadDefinitions(const SSectionView& body, SDecodedWaveforms* out) {
  if (body.Size < 2 || body.Bytes[0] == 0 || body.Bytes[0] > SLeadDefinitions::kMaxLeads) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  const size_t count = body.Bytes[0];
  out->LeadFlags = body.Bytes[1];
  if (body.Size < 2 + 9 * count) return plat::FailWith(plat::kErrInvalidData);
  out->LeadDefs.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = body.Bytes + 2 + 9 * i;
    out->LeadDefs[i] = {plat::GetLE32(p), plat::GetLE32(p + 4), p[8]};
  }
  return true;
}

bool Decode(const uint8_t* record, size_t size, SDecodedWaveforms* out) {
  CRecordView sections;
  if (!sections.Open(record, size)) return false;
  SSectionView lead, rhythm;
  if (!sections.Find(3, &lead) || !sections.Find(6, &rhythm)) {
    return plat::FailWith(plat::LastError() == 0 ? plat::kErrNoData : plat::LastError());
  }
  if (!ParseLeadDefinitions(lead, out)) return false;

  SHuffmanTables tables;
  SSectionView body;
  std::unique_ptr<CHuffmanDecoder> coded;
  if (sections.Find(2, &body)) {
    if (!ParseHuffmanTables(body.Bytes, body.Size, &tables)) return false;
    out->HuffmanTables = tables.Declared;
    out->Plain16Table = tables.IsPlain16();
    if (!out->Plain16Table) coded = std::make_unique<CHuffmanDecoder>(tables);
  } else if (plat::LastError() != 0) {
    return false;
  }
  SQrsLocations qrs;
  const SQrsLocations* zones = nullptr;
  if (sections.Find(4, &body)) {
    if (!ParseQrsLocations(body.Bytes, body.Size, &qrs)) return false;
    zones = &qrs;
  } else if (plat::LastError() != 0) {
    return false;
  }
  if (sections.Find(5, &body)) {
    if (!DecodeMedian(body, out->LeadDefs, coded.get(), zones, &out->Median)) return false;
  } else if (plat::LastError() != 0) {
    return false;
  }
  out->Subtracted = (out->LeadFlags & 1) != 0 && zones != nullptr && out->Median.Present;
  return DecodeRhythm(rhythm, &out->LeadDefs, coded.get(), zones, out->Median, out->Subtracted,
                      &out->Rhythm);
}

}  // namespace

bool DecodeWaveformBuffer(const uint8_t* record, size_t size, SDecodedWaveforms* out) {
  if (record == nullptr || out == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  *out = SDecodedWaveforms();
  try {
    if (Decode(record, size, out)) return true;
  } catch (const std::bad_alloc&) {
    plat::SetLastError(plat::kErrOutOfMemory);
  }
  const uint32_t error = plat::LastError();
  *out = SDecodedWaveforms();
  return plat::FailWith(error);
}

bool DecodeWaveformFile(const char* name, SDecodedWaveforms* out) {
  if (name == nullptr || out == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  const plat::FileHandle file = plat::OpenForRead(name);
  if (file == plat::kClosedFile) return false;
  uint8_t header[6];
  uint32_t done = 0;
  std::vector<uint8_t> record;
  bool ok = plat::ReadFile(file, header, sizeof header, &done);
  if (ok && done < sizeof header) ok = plat::FailWith(plat::kErrInvalidData);
  const uint32_t length = ok ? plat::GetLE32(header + 2) : 0;
  uint64_t fileSize = 0;
  if (ok) ok = plat::FileSize(file, &fileSize);
  if (ok && (length < sizeof header || length > fileSize || length > kMaxRecord)) {
    ok = plat::FailWith(plat::kErrInvalidData);
  }
  if (ok) {
    try {
      record.resize(length);
    } catch (const std::bad_alloc&) {
      ok = plat::FailWith(plat::kErrOutOfMemory);
    }
  }
  if (ok) {
    std::copy(header, header + sizeof header, record.begin());
    ok = plat::ReadFile(file, record.data() + sizeof header, length - 6, &done);
    if (ok && done < length - 6) ok = plat::FailWith(plat::kErrInvalidData);
  }
  {
    plat::KeepLastError keep;
    plat::CloseFile(file);
  }
  return ok && DecodeWaveformBuffer(record.data(), record.size(), out);
}

std::string DescribeEncoding(const SDecodedWaveforms& decoded) {
  std::string text;
  if (decoded.HuffmanTables == SHuffmanTables::kDefaultTableId) {
    text = "huffman default";
  } else if (decoded.HuffmanTables != 0 && !decoded.Plain16Table) {
    text = "huffman " + std::to_string(decoded.HuffmanTables) +
           (decoded.HuffmanTables == 1 ? " table" : " tables");
  } else {
    text = "uncompressed";
  }
  const uint8_t order = decoded.Rhythm.Difference;
  if (order == 1) text += ", first differences";
  if (order == 2) text += ", second differences";
  if (decoded.Subtracted) text += ", reference beat subtraction";
  if (decoded.Rhythm.Bimodal != 0) text += ", bimodal";
  return text;
}
