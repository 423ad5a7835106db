#include "interchange/lead_names.h"

#include <cctype>

#include "record/lead_labels.h"

namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameLetters(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return i == a.size() && b[i] == '\0';
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '"' || c == '\'' || c == '\r' || c == '\n';
}

std::string Trimmed(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsSpace(text[first])) ++first;
  while (last > first && IsSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// "ECG I", "EKG-V1", "Lead_II": the word before the name says only that it is a lead.
std::string WithoutPrefix(const std::string& name) {
  for (const char* prefix : {"ecg", "ekg", "lead"}) {
    const std::string word(prefix);
    if (name.size() > word.size() + 1 && SameLetters(name.substr(0, word.size()), prefix)) {
      const char separator = name[word.size()];
      if (separator == ' ' || separator == '-' || separator == '_' || separator == ':') {
        return Trimmed(name.substr(word.size() + 1));
      }
    }
  }
  return name;
}

struct Spelling {
  const char* Name;
  uint8_t Code;
};

// Spellings LeadName does not give: modified limb leads of Holter records (MIT-BIH's
// MLII) and the D notation of southern Europe and Latin America.
const Spelling kOtherSpellings[] = {
    {"MLI", 1}, {"MLII", 2}, {"MLIII", 61}, {"D1", 1},    {"D2", 2},
    {"D3", 61}, {"DI", 1},   {"DII", 2},    {"DIII", 61},
};

}  // namespace

uint8_t LeadCodeFromName(const std::string& name) {
  const std::string bare = WithoutPrefix(Trimmed(name));
  if (bare.empty()) return 0;
  for (const Spelling& spelling : kOtherSpellings) {
    if (SameLetters(bare, spelling.Name)) return spelling.Code;
  }
  for (unsigned code = 1; code < 256; ++code) {
    const char* known = LeadName(static_cast<uint8_t>(code));
    if (known != nullptr && SameLetters(bare, known)) return static_cast<uint8_t>(code);
  }
  return 0;
}
