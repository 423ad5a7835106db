#include "support/waveform_builder.h"

namespace test {

Bytes Section3Body(uint8_t flags, const std::vector<LeadSpec>& leads) {
  Bytes body = {static_cast<uint8_t>(leads.size()), flags};
  for (const LeadSpec& lead : leads) {
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
  body.push_back(0);
  body.push_back(0);
  for (size_t i = 0; i < leads.size(); ++i) {
    AppendU16(body,
              i < byteLengths.size() ? byteLengths[i] : static_cast<uint16_t>(2 * leads[i].size()));
  }
  for (const std::vector<int16_t>& lead : leads) {
    for (int16_t sample : lead) AppendU16(body, static_cast<uint16_t>(sample));
  }
  return body;
}

Bytes Section7Body(uint8_t qrsTypes, uint8_t spikes, uint16_t rr, uint16_t pp,
                   const std::vector<int16_t>& values) {
  Bytes body = {qrsTypes, spikes};
  AppendU16(body, rr);
  AppendU16(body, pp);
  for (int16_t value : values) AppendU16(body, static_cast<uint16_t>(value));
  return body;
}

Bytes Section9Body(const std::string& records) {
  return Bytes(records.begin(), records.end());
}

Bytes Section10Body(uint16_t count, uint16_t recordSize, const std::vector<Bytes>& records) {
  Bytes body;
  AppendU16(body, count);
  AppendU16(body, recordSize);
  for (const Bytes& record : records) body.insert(body.end(), record.begin(), record.end());
  return body;
}

Bytes MeasurementRecord(uint16_t code, uint16_t base, size_t size) {
  Bytes record;
  AppendU16(record, code);
  for (uint16_t word = 1; record.size() < size; ++word) {
    AppendU16(record, static_cast<uint16_t>(base + word));
  }
  record.resize(size);
  return record;
}

}  // namespace test
