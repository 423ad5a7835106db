// The interpretation text in Section 1, composed from the strings of a language
// module: one driver statement, a statement appended as a new line, or the texts of
// the statement codes that the engine left in Section 9.
#include <string>

#include "analysis/analysis.h"
#include "format/section9.h"
#include "platform/errors.h"
#include "platform/module.h"
#include "record/engine_abi.h"
#include "record/string_field.h"

namespace {

// Strings are read as LoadStringA reads them: at most 255 characters.
constexpr int kStringBuffer = 256;
constexpr size_t kLongPrefix = 7;
constexpr size_t kShortPrefix = 3;
const plat::OleChar kLineBreak[] = {'\r', '\n', 0};

// The language module of one composition, released when it goes out of scope.
class LanguageModule {
 public:
  explicit LanguageModule(int32_t language)
      : module_(plat::LoadModule(LanguageModuleName(static_cast<uint32_t>(language)))) {}
  ~LanguageModule() {
    plat::KeepLastError keep;
    plat::UnloadModule(module_);
  }
  LanguageModule(const LanguageModule&) = delete;
  LanguageModule& operator=(const LanguageModule&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  // String `id` as ANSI text; false when the module has none (or an empty one).
  bool String(uint32_t id, std::string* text) const {
    char buffer[kStringBuffer] = {};
    const int length = plat::LoadStringResource(module_, id, buffer, kStringBuffer);
    if (length <= 0) {
      if (plat::LastError() == plat::kErrSuccess)
        plat::SetLastError(plat::kErrResourceNameNotFound);
      return false;
    }
    text->assign(buffer, static_cast<size_t>(length));
    return true;
  }

 private:
  plat::ModuleHandle module_;
};

bool ToWide(const std::string& ansi, plat::WideString* wide) {
  return plat::AnsiToWide(ansi.c_str(), static_cast<int32_t>(ansi.size()), wide);
}

bool SetText(plat::Bstr* field, const plat::WideString& text) {
  FreeString(field);
  if (text.empty()) return true;
  *field = plat::SysAllocStringLen(text.data(), static_cast<uint32_t>(text.size()));
  return *field != nullptr || plat::FailWith(plat::kErrOutOfMemory);
}

// The codes in walk order: rhythm codes without repeats, then morphology codes that
// are neither a rhythm code nor an earlier morphology code.
std::basic_string<uint16_t> WalkCodes(const uint16_t* rhythm, uint16_t rhythmCount,
                                      const uint16_t* morphology, uint16_t morphologyCount) {
  std::basic_string<uint16_t> walk;
  for (uint16_t i = 0; i < rhythmCount; ++i) {
    if (walk.find(rhythm[i]) == walk.npos) walk.push_back(rhythm[i]);
  }
  for (uint16_t i = 0; i < morphologyCount; ++i) {
    if (walk.find(morphology[i]) == walk.npos) walk.push_back(morphology[i]);
  }
  return walk;
}

}  // namespace

bool CAnalysis::CreateInterpretationText(const char* fileName, int32_t language, int32_t stringId) {
  if (static_cast<uint32_t>(language) >= ktx::abi::kLanguageCount)
    return plat::FailWith(plat::kErrInvalidParameter);
  return Rewrite(fileName, 0, [&] {
    FreeString(&General.InterpretationText);
    LanguageModule module(language);
    std::string text;
    plat::WideString wide;
    if (!module.Loaded() || !module.String(static_cast<uint32_t>(stringId), &text) ||
        !ToWide(text, &wide) || !SetText(&General.InterpretationText, wide)) {
      return false;
    }
    General.InterpretationConfirmed = 0;
    General.InterpretationModified = 0;
    return true;
  });
}

bool CAnalysis::AddInterpretationText(const char* fileName, int32_t language, int32_t stringId) {
  if (static_cast<uint32_t>(language) >= ktx::abi::kLanguageCount)
    return plat::FailWith(plat::kErrInvalidParameter);
  return Rewrite(fileName, 0, [&] {
    LanguageModule module(language);
    std::string text;
    plat::WideString added;
    if (!module.Loaded() || !module.String(static_cast<uint32_t>(stringId), &text) ||
        !ToWide(text, &added)) {
      return false;
    }
    try {
      plat::WideString joined;
      if (General.InterpretationText != nullptr) joined = General.InterpretationText;
      if (!joined.empty()) joined += kLineBreak;
      joined += added;
      if (!SetText(&General.InterpretationText, joined)) return false;
    } catch (const std::bad_alloc&) {
      return plat::FailWith(plat::kErrOutOfMemory);
    }
    General.InterpretationConfirmed = 0;
    return true;
  });
}

bool CAnalysis::CreateInterpretationCodesText(const char* fileName, int32_t language) {
  if (static_cast<uint32_t>(language) >= ktx::abi::kLanguageCount)
    return plat::FailWith(plat::kErrInvalidParameter);
  const size_t prefix = ShortStatementPrefix ? kShortPrefix : kLongPrefix;
  return Rewrite(fileName, 0, [&] {
    uint8_t header[kSectionHeaderSize];
    if (!FindSection(File, &Index, 9, header)) {
      return plat::LastError() == plat::kErrSuccess ? plat::FailWith(plat::kErrNoData) : false;
    }
    uint16_t rhythm[CAnalysisInfo::kMaxRhythmCodes] = {};
    uint16_t morphology[CAnalysisInfo::kMaxMorphologyCodes] = {};
    uint16_t rhythmCount = 0;
    uint16_t morphologyCount = 0;
    if (!ParseSection9(File, header, rhythm, CAnalysisInfo::kMaxRhythmCodes, &rhythmCount,
                       morphology, CAnalysisInfo::kMaxMorphologyCodes, &morphologyCount)) {
      return false;
    }
    LanguageModule module(language);
    if (!module.Loaded()) return false;
    try {
      std::string text;
      for (const uint16_t code : WalkCodes(rhythm, rhythmCount, morphology, morphologyCount)) {
        std::string statement;
        if (!module.String(kStatementCodeBase + uint32_t{code}, &statement)) {
          // An absent statement adds nothing, but one the ANSI code page cannot hold must
          // not vanish from the interpretation without a word.
          if (plat::LastError() == plat::kErrNoUnicodeTranslation) return false;
          continue;
        }
        if (statement.size() <= prefix) continue;
        if (!text.empty()) text += "\r\n";
        text.append(statement, prefix, statement.npos);
      }
      plat::WideString wide;
      if (!ToWide(text, &wide) || !SetText(&General.InterpretationText, wide)) return false;
    } catch (const std::bad_alloc&) {
      return plat::FailWith(plat::kErrOutOfMemory);
    }
    General.InterpretationConfirmed = 0;
    General.InterpretationModified = 0;
    return true;
  });
}
