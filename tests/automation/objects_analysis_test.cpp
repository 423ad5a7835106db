// ScpAnalysis by vtable, with the engine and language modules beside the module; and
// the names too long for ANSI file names, refused by every object alike.
#include <functional>

#include "objects_client.h"
#include "support/temp_folder.h"

namespace objects {
namespace {

class AnalysisTest : public ModuleTest {
 protected:
  // Ten seconds of a synthetic 8-lead ECG.
  std::string Recording(const std::string& name) {
    const std::string path = folder.File(name);
    EXPECT_EQ(S_OK, writer->CreateFromRaw12LFile(
                        Text(path), Text(ExampleFile("acquisition/synthetic_8lead.raw")), nullptr,
                        5000.0, 500.0, 8));
    return path;
  }
  std::string General(const std::string& path,
                      HRESULT (STDMETHODCALLTYPE IScpGeneralInfo::*get)(BSTR*)) {
    Ptr<IScpGeneralInfo> general(CLSID_ScpGeneralInfo, IID_IScpGeneralInfo);
    EXPECT_EQ(S_OK, reader->ReadGeneral(Text(path), general.Get()));
    return GetText(general.Get(), get);
  }
  test::TempFolder folder;
  Ptr<IScpAnalysis> analysis{CLSID_ScpAnalysis, IID_IScpAnalysis};
  Ptr<IScpWriter> writer{CLSID_ScpWriter, IID_IScpWriter};
  Ptr<IScpReader> reader{CLSID_ScpReader, IID_IScpReader};
};

TEST_F(AnalysisTest, RefusedFilesGiveTheCodeNotTheCall) {
  short result = 99;
  EXPECT_EQ(E_INVALIDARG, analysis->CreateAnalysis(Text("x.scp"), 0, 0, nullptr));
  EXPECT_EQ(E_INVALIDARG, analysis->CreateAnalysis(nullptr, 0, 0, &result));
  EXPECT_EQ(E_INVALIDARG, analysis->RemoveAnalysis(nullptr));
  const std::string junk = folder.Write("junk.scp", test::Bytes(300, 0x11));
  const test::Bytes before = test::ReadWholeFile(junk);
  EXPECT_EQ(S_OK, analysis->CreateAnalysis(Text(junk), 0, 0, &result));
  EXPECT_NE(0, result);
  EXPECT_EQ(before, test::ReadWholeFile(junk));
  EXPECT_EQ(E_FAIL, analysis->RemoveAnalysis(Text(folder.File("missing.scp"))));
}

TEST_F(AnalysisTest, AnalysisInTwoLanguagesThenRemoved) {
  const std::string english = Recording("english.scp");
  const std::string french = Recording("french.scp");
  short result = 99;
  ASSERT_EQ(S_OK, analysis->CreateAnalysis(Text(english), 0, 0, &result));
  ASSERT_EQ(0, result);
  ASSERT_EQ(S_OK, analysis->CreateAnalysis(Text(french), 1, 0, &result));
  ASSERT_EQ(0, result);
  const std::string englishText = General(english, &IScpGeneralInfo::get_InterpretationText);
  const std::string frenchText = General(french, &IScpGeneralInfo::get_InterpretationText);
  EXPECT_FALSE(englishText.empty());
  EXPECT_FALSE(frenchText.empty());
  EXPECT_NE(englishText, frenchText);
  EXPECT_EQ("KTXSCP32.DLL", General(english, &IScpGeneralInfo::get_ModifierApp));
  EXPECT_EQ("1.6.0.0", General(english, &IScpGeneralInfo::get_ModifierVer));

  VARIANT_BOOL measured = 0;
  EXPECT_EQ(S_OK, reader->HasMeasurements(Text(english), &measured));
  EXPECT_EQ(1, measured);
  Ptr<IScpLoader> loader(CLSID_ScpLoader, IID_IScpLoader);
  Ptr<IScpAnalysisInfo> info(CLSID_ScpAnalysisInfo, IID_IScpAnalysisInfo);
  ASSERT_EQ(S_OK, loader->Load(Text(english)));
  EXPECT_EQ(S_OK, loader->GetAnalysis(info.Get()));
  EXPECT_GT(Get(info.Get(), &IScpAnalysisInfo::get_AvRRms), 0);

  ASSERT_EQ(S_OK, analysis->RemoveAnalysis(Text(english)));
  EXPECT_EQ(S_OK, reader->HasMeasurements(Text(english), &measured));
  EXPECT_EQ(0, measured);
}

// Both switches start on (-1) and keep any value put as it is; with the text switch off
// the analysis leaves no interpretation.
TEST_F(AnalysisTest, SwitchesStartOnAndTextSwitchOffLeavesNoInterpretation) {
  EXPECT_EQ(-1, Get(analysis.Get(), &IScpAnalysis::get_GenerateAnalysisText));
  EXPECT_EQ(-1, Get(analysis.Get(), &IScpAnalysis::get_GeneratePatientWarningText));
  ASSERT_EQ(S_OK, analysis->put_GeneratePatientWarningText(12));
  EXPECT_EQ(12, Get(analysis.Get(), &IScpAnalysis::get_GeneratePatientWarningText));
  const std::string path = Recording("quiet.scp");
  ASSERT_EQ(S_OK, analysis->put_GenerateAnalysisText(0));
  EXPECT_EQ(0, Get(analysis.Get(), &IScpAnalysis::get_GenerateAnalysisText));
  short result = 99;
  ASSERT_EQ(S_OK, analysis->CreateAnalysis(Text(path), 0, 0, &result));
  ASSERT_EQ(0, result);
  EXPECT_EQ("", General(path, &IScpGeneralInfo::get_InterpretationText));
}

TEST_F(AnalysisTest, NamesBeyond260BytesFailEverywhere) {
  Ptr<IScpLoader> loader(CLSID_ScpLoader, IID_IScpLoader);
  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  const Text name(LongName(300));
  const Text shortName("x.scp");
  short count = 0;
  VARIANT_BOOL answer = 0;
  const std::function<HRESULT()> calls[] = {
      [&] { return reader->ReadPatient(name, patient.Get()); },
      [&] { return reader->ReadLeads(name, &count); },
      [&] { return reader->ReadCRCCheck(name, &answer); },
      [&] { return reader->HasMeasurements(name, &answer); },
      [&] { return loader->Load(name); },
      [&] { return writer->CreateEmpty(name); },
      [&] { return writer->CreateFromRaw12LFile(shortName, name, nullptr, 5000, 500, 8); },
      [&] { return analysis->CreateAnalysis(name, 0, 0, &count); },
      [&] { return analysis->RemoveAnalysis(name); },
  };
  size_t index = 0;
  for (const auto& call : calls) EXPECT_EQ(E_FAIL, call()) << "call " << index++;
}

}  // namespace
}  // namespace objects
