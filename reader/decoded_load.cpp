// The decoding load, and the decoded waveforms put into the reader's members.
#include <algorithm>
#include <new>

#include "platform/errors.h"
#include "reader/decoded_waveforms.h"

namespace {

bool Fill(const SDecodedSamples& decoded, SEncodedData* data) {
  data->KillData();
  const auto leads = static_cast<uint8_t>(decoded.Leads.size());
  if (!data->Allocate(leads)) return false;
  data->AVM = decoded.AVM;
  data->SampleInterval = decoded.SampleInterval;
  data->Encoding = 0;
  data->Bimodal = 0;
  for (uint8_t i = 0; i < leads; ++i) {
    const std::vector<int16_t>& lead = decoded.Leads[i];
    if (lead.empty()) continue;
    if (lead.size() > 65535) return plat::FailWith(plat::kErrInvalidData);
    if (!data->AllocateLead(i, static_cast<uint16_t>(lead.size()))) return false;
    std::copy(lead.begin(), lead.end(), data->LeadSamples[i]);
  }
  return true;
}

bool Install(const SDecodedWaveforms& decoded, CReader* reader) {
  reader->Clear(kSection3 | kSection5 | kSection6);
  SLeadDefinitions& leads = reader->LeadDefinitions;
  const auto count = static_cast<uint8_t>(decoded.LeadDefs.size());
  if (count == 0 || !decoded.Rhythm.Present) return plat::FailWith(plat::kErrNoData);
  if (!leads.Allocate(count)) return false;
  std::copy(decoded.LeadDefs.begin(), decoded.LeadDefs.end(), leads.Leads);
  // The reference beats are back in the rhythm: nothing is subtracted any more.
  leads.Flags = static_cast<uint8_t>(decoded.LeadFlags & ~1u);
  reader->Loaded |= kSection3;
  if (!Fill(decoded.Rhythm, &reader->Rhythm)) return false;
  reader->HasRhythm = 1;
  reader->Loaded |= kSection6;
  if (decoded.Median.Present) {
    if (!Fill(decoded.Median, &reader->Median)) return false;
    reader->HasMedian = 1;
    reader->Loaded |= kSection5;
  }
  return true;
}

bool Listed(const CReader& reader, uint16_t id) {
  for (uint32_t i = 0; i < reader.Index.Count; ++i) {
    const SSectionIndex* entry = reader.Index.Entry(i);
    if (entry != nullptr && entry->Id == id && entry->Length != 0) return true;
  }
  return false;
}

// Plain 16-bit samples, read as stored, with nothing for the decoder to undo: the
// common record is not read a second time.
bool StoredSamplesStand(const CReader& reader) {
  const bool medianStands =
      !Listed(reader, 5) || ((reader.Loaded & kSection5) && reader.Median.Encoding == 0);
  return (reader.Loaded & kSection6) && reader.Rhythm.Encoding == 0 && reader.Rhythm.Bimodal == 0 &&
         !Listed(reader, 2) && (reader.LeadDefinitions.Flags & 0x01) == 0 && medianStands;
}

bool NeedsDecoding(const SDecodedWaveforms& decoded, const CReader& reader) {
  const bool coded = decoded.HuffmanTables != 0 && !decoded.Plain16Table;
  return coded || decoded.Subtracted || decoded.Rhythm.Bimodal != 0 ||
         !(reader.Loaded & kSection6) || reader.Rhythm.Encoding != 0 ||
         (decoded.Median.Present && (!(reader.Loaded & kSection5) || reader.Median.Encoding != 0));
}

}  // namespace

bool InstallDecodedWaveforms(const SDecodedWaveforms& decoded, CReader* reader) {
  if (reader == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  bool ok = false;
  try {
    ok = Install(decoded, reader);
  } catch (const std::bad_alloc&) {
    ok = plat::FailWith(plat::kErrOutOfMemory);
  }
  if (!ok) {
    plat::KeepLastError keep;
    reader->Clear(kSection3 | kSection5 | kSection6);
  }
  return ok;
}

template <typename Decode>
void CReader::InstallDecoded(uint16_t request, std::string* encoding, Decode decode) {
  if (!(request & kSection6) || StoredSamplesStand(*this)) return;
  plat::KeepLastError keep;  // a record the decoder refuses keeps the load's story
  SDecodedWaveforms decoded;
  if (!decode(&decoded) || !NeedsDecoding(decoded, *this)) return;
  if (!InstallDecodedWaveforms(decoded, this)) return;
  if (encoding != nullptr) *encoding = DescribeEncoding(decoded);
}

bool CReader::LoadDecoded(const char* name, uint16_t* loaded, uint16_t request,
                          std::string* encoding) {
  if (encoding != nullptr) encoding->clear();
  if (!Load(name, loaded, request)) return false;
  InstallDecoded(request, encoding,
                 [name](SDecodedWaveforms* out) { return DecodeWaveformFile(name, out); });
  *loaded = Loaded;
  return true;
}

bool CReader::LoadDecodedMemory(const uint8_t* bytes, size_t size, uint16_t* loaded,
                                uint16_t request, std::string* encoding) {
  if (encoding != nullptr) encoding->clear();
  if (!LoadMemory(bytes, size, loaded, request)) return false;
  InstallDecoded(request, encoding, [bytes, size](SDecodedWaveforms* out) {
    return DecodeWaveformBuffer(bytes, size, out);
  });
  *loaded = Loaded;
  return true;
}
