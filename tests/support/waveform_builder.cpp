#include "support/waveform_builder.h"

namespace test {

Bytes Section3Body(uint8_t flags, const std::vector<LeadRange>& leads) {
  Bytes body = {static_cast<uint8_t>(leads.size()), flags};
  for (const LeadRange& lead : leads) {
    AppendU32(body, lead.Start);
    AppendU32(body, lead.End);
    body.push_back(lead.Code);
  }
  return body;
}

Bytes SampleDataBody(uint16_t avm, uint16_t interval,
                     const std::vector<std::vector<int16_t>>& leads,
                     const std::vector<uint16_t>& byteLengths) {
  Bytes body;
  AppendU16(body, avm);
  AppendU16(body, interval);
  body.insert(body.end(), 2, 0);
  for (size_t i = 0; i < leads.size(); ++i) {
    AppendU16(body,
              i < byteLengths.size() ? byteLengths[i] : static_cast<uint16_t>(2 * leads[i].size()));
  }
  for (const std::vector<int16_t>& lead : leads) {
    for (int16_t sample : lead) AppendU16(body, static_cast<uint16_t>(sample));
  }
  return body;
}

Bytes Section10Body(uint16_t count, uint16_t recordSize, uint16_t records) {
  Bytes body;
  AppendU16(body, count);
  AppendU16(body, recordSize);
  for (uint16_t r = 1; r <= records; ++r) {
    Bytes record;
    AppendU16(record, r);
    for (uint16_t n = 1; record.size() < recordSize; ++n) {
      AppendU16(record, static_cast<uint16_t>(100 * r + n));
    }
    record.resize(recordSize);
    body.insert(body.end(), record.begin(), record.end());
  }
  return body;
}

}  // namespace test
