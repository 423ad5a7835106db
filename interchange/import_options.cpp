#include "interchange/import_options.h"

#include "interchange/lead_names.h"
#include "interchange/text_fields.h"

namespace {

using ktx::interchange::Lowered;
using ktx::interchange::Trim;

// The position `wish` names: a number, then the exact name, then a name of the same lead.
bool Find(const std::string& wish, const std::vector<std::string>& names, size_t* at) {
  int64_t number = 0;
  if (ktx::interchange::ParseInt(wish, &number)) {
    if (number < 1 || static_cast<uint64_t>(number) > names.size()) return false;
    *at = static_cast<size_t>(number - 1);
    return true;
  }
  for (size_t i = 0; i < names.size(); ++i) {
    if (Lowered(Trim(names[i])) == Lowered(wish)) {
      *at = i;
      return true;
    }
  }
  const uint8_t code = LeadCodeFromName(wish);
  for (size_t i = 0; code != 0 && i < names.size(); ++i) {
    if (LeadCodeFromName(names[i]) == code) {
      *at = i;
      return true;
    }
  }
  return false;
}

std::string Unknown(const std::string& wish, const std::vector<std::string>& names) {
  std::string text = "no lead '" + wish + "' among ";
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += ", ";
    text += names[i];
  }
  return text;
}

}  // namespace

bool ChooseLeads(const std::vector<std::string>& wanted, const std::vector<std::string>& names,
                 std::vector<size_t>* chosen, std::string* why) {
  chosen->clear();
  if (wanted.empty()) {
    for (size_t i = 0; i < names.size(); ++i) chosen->push_back(i);
    return true;
  }
  for (const std::string& raw : wanted) {
    const std::string wish = Trim(raw);
    size_t at = 0;
    if (!Find(wish, names, &at)) {
      *why = Unknown(wish, names);
      return false;
    }
    chosen->push_back(at);
  }
  return true;
}
