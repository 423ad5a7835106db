// The type library that KTXSCP32.dll carries: every value of the two enumerations has its
// help string, and the build step that added them left all else as widl wrote it.
#include <windows.h>
// after windows.h, which it needs
#include <oleauto.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::string Narrow(BSTR text) {
  std::string narrow;
  if (text) {
    for (const wchar_t* c = text; *c; ++c) narrow += static_cast<char>(*c);
  }
  SysFreeString(text);
  return narrow;
}

ITypeLib* Load(const wchar_t* path) {
  ITypeLib* library = nullptr;
  const HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &library);
  EXPECT_EQ(hr, S_OK) << "LoadTypeLibEx failed";
  return library;
}

// "name|help|help context" of a library, a type or one of its members.
std::string Documentation(ITypeLib* library, INT index) {
  BSTR name = nullptr, help = nullptr;
  DWORD context = 0;
  library->GetDocumentation(index, &name, &help, &context, nullptr);
  return Narrow(name) + "|" + Narrow(help) + "|" + std::to_string(context);
}
std::string Documentation(ITypeInfo* type, MEMBERID member) {
  BSTR name = nullptr, help = nullptr;
  DWORD context = 0;
  type->GetDocumentation(member, &name, &help, &context, nullptr);
  return Narrow(name) + "|" + Narrow(help) + "|" + std::to_string(context);
}

std::string Value(const VARDESC& var) {
  if (var.varkind != VAR_CONST || !var.lpvarValue) return "-";
  VARIANT number;
  VariantInit(&number);
  VariantChangeType(&number, var.lpvarValue, 0, VT_I4);
  return std::to_string(number.lVal);
}

// One line per library, type, function and variable: names, help, DISPIDs, kinds,
// flags, values and parameter names. `enum_help` false leaves the help strings of
// enumeration values out.
std::vector<std::string> Describe(ITypeLib* library, bool enum_help) {
  std::vector<std::string> lines{"library " + Documentation(library, -1)};
  for (UINT index = 0; index < library->GetTypeInfoCount(); ++index) {
    ITypeInfo* type = nullptr;
    if (library->GetTypeInfo(index, &type) != S_OK) {
      lines.push_back("type " + std::to_string(index) + " unreadable");
      continue;
    }
    TYPEATTR* attr = nullptr;
    type->GetTypeAttr(&attr);
    lines.push_back("type " + Documentation(library, static_cast<INT>(index)) + " kind " +
                    std::to_string(attr->typekind) + " flags " + std::to_string(attr->wTypeFlags) +
                    " impl " + std::to_string(attr->cImplTypes));
    for (UINT f = 0; f < attr->cFuncs; ++f) {
      FUNCDESC* func = nullptr;
      type->GetFuncDesc(f, &func);
      BSTR names[32] = {};
      UINT count = 0;
      type->GetNames(func->memid, names, 32, &count);
      std::string line = "  func " + std::to_string(func->memid) + " " +
                         Documentation(type, func->memid) + " invoke " +
                         std::to_string(func->invkind) + " flags " +
                         std::to_string(func->wFuncFlags) + " params";
      for (UINT n = 1; n < count; ++n) line += " " + Narrow(names[n]);
      if (count > 0) SysFreeString(names[0]);
      lines.push_back(line);
      type->ReleaseFuncDesc(func);
    }
    for (UINT v = 0; v < attr->cVars; ++v) {
      VARDESC* var = nullptr;
      type->GetVarDesc(v, &var);
      std::string doc = Documentation(type, var->memid);
      if (!enum_help && attr->typekind == TKIND_ENUM) doc = doc.substr(0, doc.find('|'));
      lines.push_back("  var " + std::to_string(var->memid) + " " + doc + " value " + Value(*var) +
                      " flags " + std::to_string(var->wVarFlags));
      type->ReleaseVarDesc(var);
    }
    type->ReleaseTypeAttr(attr);
    type->Release();
  }
  return lines;
}

struct EnumValue {
  const char* name;
  long value;
  const char* help;
};

const std::map<std::string, std::vector<EnumValue>>& ExpectedEnumerations() {
  static const std::map<std::string, std::vector<EnumValue>> expected{
      {"eSCP32Language",
       {{"ScpLangEnglish", 0, "English"},
        {"ScpLangFrench", 1, "French"},
        {"ScpLangGerman", 2, "German"},
        {"ScpLangItalian", 3, "Italian"}}},
      {"eSCP32AnalysisResult",
       {{"ResultNotText", -6, "Can't write interpretation text"},
        {"ResultNotFile", -5, "Can't manipulate files"},
        {"ResultNotAble", -4, "Unable to use dll"},
        {"ResultNotEmptyAnalysis", -3, "Analysis not empty"},
        {"ResultNotParameter", -2, "Bad parameter"},
        {"ResultNotFileValid", -1, "File is not a valid 12 Lead file"},
        {"ResultIsSuccess", 0, "OK"},
        {"ResultNotMemory", 1, "Not enough memory"},
        {"ResultNotFileOpen", 2, "Error in file open"},
        {"ResultNotFileRead", 3, "Error in file read"},
        {"ResultNotFileWrite", 4, "Error in file write"},
        {"ResultNotFileSeek", 5, "Error in file seek"},
        {"ResultNotQRS", 6, "No QRS complex"},
        {"ResultNotPorT", 7, "No P or T waves"},
        {"ResultNotFileFound", 8, "No file found"},
        {"ResultNotFileLog", 9, "Error using log file"},
        {"ResultNotStringManipulation", 10, "Error in string manipulation"},
        {"ResultNotModuleParameters", 11, "Error in analysis module parameters"},
        {"ResultNotGraphAverages", 12, "Unable to graph average"},
        {"ResultNotAnalyseSignal", 13, "Unable to analyse this signal"},
        {"ResultNotSignal", 14, "A Lead is off"},
        {"ResultNotFileSCP", 15, "Not a valid scp filename"}}}};
  return expected;
}

class EnumHelpStrings : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = Load(KTX_MODULE_PATH_W);
    widl_ = Load(KTX_WIDL_LIBRARY_W);
    ASSERT_NE(module_, nullptr);
    ASSERT_NE(widl_, nullptr);
  }
  void TearDown() override {
    if (module_) module_->Release();
    if (widl_) widl_->Release();
  }
  ITypeLib* module_ = nullptr;
  ITypeLib* widl_ = nullptr;
};

TEST_F(EnumHelpStrings, EveryValueCarriesItsHelpString) {
  std::map<std::string, bool> seen;
  for (UINT index = 0; index < module_->GetTypeInfoCount(); ++index) {
    const std::string doc = Documentation(module_, static_cast<INT>(index));
    const auto expected = ExpectedEnumerations().find(doc.substr(0, doc.find('|')));
    if (expected == ExpectedEnumerations().end()) continue;
    seen[expected->first] = true;
    ITypeInfo* type = nullptr;
    ASSERT_EQ(module_->GetTypeInfo(index, &type), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(type->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_ENUM);
    ASSERT_EQ(attr->cVars, expected->second.size()) << expected->first;
    for (UINT v = 0; v < attr->cVars; ++v) {
      VARDESC* var = nullptr;
      ASSERT_EQ(type->GetVarDesc(v, &var), S_OK);
      const EnumValue& want = expected->second[v];
      EXPECT_EQ(Documentation(type, var->memid), std::string(want.name) + "|" + want.help + "|0");
      EXPECT_EQ(Value(*var), std::to_string(want.value)) << want.name;
      type->ReleaseVarDesc(var);
    }
    type->ReleaseTypeAttr(attr);
    type->Release();
  }
  EXPECT_EQ(seen.size(), ExpectedEnumerations().size()) << "an enumeration is missing";
}

TEST_F(EnumHelpStrings, AllElseIsAsWidlWroteIt) {
  const std::vector<std::string> patched = Describe(module_, false);
  const std::vector<std::string> original = Describe(widl_, false);
  EXPECT_GT(patched.size(), 300u);
  ASSERT_EQ(patched.size(), original.size());
  for (size_t i = 0; i < patched.size(); ++i) EXPECT_EQ(patched[i], original[i]);
  TLIBATTR* mine = nullptr;
  TLIBATTR* theirs = nullptr;
  ASSERT_EQ(module_->GetLibAttr(&mine), S_OK);
  ASSERT_EQ(widl_->GetLibAttr(&theirs), S_OK);
  EXPECT_TRUE(IsEqualGUID(mine->guid, theirs->guid));
  EXPECT_EQ(mine->lcid, theirs->lcid);
  EXPECT_EQ(mine->syskind, theirs->syskind);
  EXPECT_EQ(mine->wMajorVerNum, theirs->wMajorVerNum);
  EXPECT_EQ(mine->wMinorVerNum, theirs->wMinorVerNum);
  module_->ReleaseTLibAttr(mine);
  widl_->ReleaseTLibAttr(theirs);
}

}  // namespace
