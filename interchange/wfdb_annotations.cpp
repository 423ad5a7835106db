#include "interchange/wfdb_annotations.h"

#include <algorithm>
#include <iterator>

#include "platform/little_endian.h"

namespace {

constexpr uint16_t kSkip = 59;
constexpr uint16_t kNum = 60;
constexpr uint16_t kSub = 61;
constexpr uint16_t kChn = 62;
constexpr uint16_t kAux = 63;
constexpr int64_t kLargestInterval = 1023;
constexpr size_t kLongestAux = 255;

// Mnemonics of codes 0-41, as WFDB prints them.
const char* const kMnemonics[] = {" ",  "N", "L", "R", "a", "V", "F", "J", "A", "S", "E",
                                  "j",  "/", "Q", "~", "?", "|", "?", "s", "T", "*", "D",
                                  "\"", "=", "p", "B", "^", "t", "+", "u", "?", "!", "[",
                                  "]",  "e", "n", "@", "x", "f", "(", ")", "r"};

void PutWord(std::vector<uint8_t>* out, uint32_t word) {
  out->push_back(static_cast<uint8_t>(word));
  out->push_back(static_cast<uint8_t>(word >> 8));
}

bool Fail(std::string* why, const std::string& message) {
  *why = message;
  return false;
}

}  // namespace

bool IsWfdbBeatCode(uint8_t code) {
  return (code >= 1 && code <= 13) || code == 25 || code == 30 || code == 34 || code == 35 ||
         code == 38 || code == 41;
}

const char* WfdbCodeMnemonic(uint8_t code) {
  return code < std::size(kMnemonics) ? kMnemonics[code] : "?";
}

bool ParseWfdbAnnotations(const uint8_t* bytes, size_t size,
                          std::vector<SWfdbAnnotation>* annotations, std::string* why) {
  annotations->clear();
  int64_t time = 0;
  uint8_t channel = 0;
  int8_t number = 0;
  size_t i = 0;
  while (i + 2 <= size) {
    const uint16_t word = plat::GetLE16(bytes + i);
    i += 2;
    const uint16_t code = word >> 10;
    const uint16_t value = word & 0x3FF;
    if (code == 0 && value == 0) return true;  // the end word
    SWfdbAnnotation* current = annotations->empty() ? nullptr : &annotations->back();
    switch (code) {
      case kSkip: {
        if (i + 4 > size) return Fail(why, "the file ends inside a SKIP");
        // A PDP-11 long: the high half first, each half little-endian.
        const auto skip = static_cast<int32_t>(uint32_t{plat::GetLE16(bytes + i)} << 16 |
                                               plat::GetLE16(bytes + i + 2));
        i += 4;
        time += skip;
        if (time < 0) return Fail(why, "a SKIP before the start of the record");
        break;
      }
      case kNum:
        number = static_cast<int8_t>(value & 0xFF);
        if (current != nullptr) current->Number = number;
        break;
      case kSub:
        if (current != nullptr) current->Subtype = static_cast<int8_t>(value & 0xFF);
        break;
      case kChn:
        channel = static_cast<uint8_t>(value & 0xFF);
        if (current != nullptr) current->Channel = channel;
        break;
      case kAux: {
        if (i + value > size) return Fail(why, "the file ends inside an AUX text");
        const auto* text = reinterpret_cast<const char*>(bytes + i);
        std::string aux(text, value);
        aux.resize(aux.find('\0') == std::string::npos ? aux.size() : aux.find('\0'));
        if (current != nullptr) current->Aux = aux;
        i += value + (value & 1u);
        break;
      }
      default: {
        time += value;
        SWfdbAnnotation annotation;
        annotation.Sample = time;
        annotation.Code = static_cast<uint8_t>(code);
        annotation.Channel = channel;
        annotation.Number = number;
        annotations->push_back(annotation);
        break;
      }
    }
  }
  return true;  // a file without its end word still says what it holds
}

std::vector<uint8_t> EncodeWfdbAnnotations(const std::vector<SWfdbAnnotation>& annotations) {
  std::vector<uint8_t> out;
  int64_t previous = 0;
  uint8_t channel = 0;
  int8_t number = 0;
  for (const SWfdbAnnotation& a : annotations) {
    const int64_t delta = a.Sample - previous;
    if (delta < 0 || delta > kLargestInterval) {
      const auto skip = static_cast<uint32_t>(static_cast<int32_t>(delta));
      PutWord(&out, kSkip << 10);
      PutWord(&out, skip >> 16);
      PutWord(&out, skip & 0xFFFF);
      PutWord(&out, uint32_t{a.Code} << 10);
    } else {
      PutWord(&out, uint32_t{a.Code} << 10 | static_cast<uint32_t>(delta));
    }
    if (a.Subtype != 0) PutWord(&out, kSub << 10 | (static_cast<uint8_t>(a.Subtype)));
    if (a.Channel != channel) PutWord(&out, kChn << 10 | a.Channel);
    if (a.Number != number) PutWord(&out, kNum << 10 | static_cast<uint8_t>(a.Number));
    if (!a.Aux.empty()) {
      const size_t length = std::min(a.Aux.size(), kLongestAux);
      PutWord(&out, kAux << 10 | static_cast<uint32_t>(length));
      out.insert(out.end(), a.Aux.begin(), a.Aux.begin() + static_cast<std::ptrdiff_t>(length));
      if (length % 2 != 0) out.push_back(0);
    }
    channel = a.Channel;
    number = a.Number;
    previous = a.Sample;
  }
  PutWord(&out, 0);
  return out;
}
