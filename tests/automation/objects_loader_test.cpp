// ScpLoader by vtable: loads once, hands the parts out without the file, derives leads
// and lead errors in memory only.
#include <cstdio>

#include "objects_client.h"
#include "objects_records.h"
#include "support/temp_folder.h"

namespace objects {
namespace {

class LoaderTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    Make(CLSID_ScpLoader, IID_IScpLoader, &loader);
  }
  void TearDown() override {
    loader.Reset();
    ModuleTest::TearDown();
  }
  std::vector<short> Samples(IScpEncodedData* data, short lead) {
    short count = 0;
    EXPECT_EQ(S_OK, data->get_Samples(lead, &count));
    std::vector<short> samples(static_cast<size_t>(count));
    if (count > 0) {
      EXPECT_EQ(S_OK, data->GetDataSamples(lead, 1, count, samples.data()));
    }
    return samples;
  }
  test::TempFolder folder;
  Ptr<IScpLoader> loader;
};

TEST_F(LoaderTest, EmptyLoaderHasNothingToGive) {
  Ptr<IScpPatientInfo> patient;
  Make(CLSID_ScpPatientInfo, IID_IScpPatientInfo, &patient);
  Ptr<IScpEncodedData> rhythm;
  Make(CLSID_ScpEncodedData, IID_IScpEncodedData, &rhythm);
  short leads = 7;
  EXPECT_EQ(E_FAIL, loader->GetLeads(&leads));
  EXPECT_EQ(0, leads);
  EXPECT_EQ(E_FAIL, loader->GetPatient(patient.Get()));
  EXPECT_EQ(E_FAIL, loader->GetRhythm(rhythm.Get()));
  EXPECT_EQ(E_FAIL, loader->GenerateLeadErrors());
  short ids[] = {1};
  VARIANT_BOOL found = 5;
  EXPECT_EQ(E_FAIL, loader->GetLeadSet(1, ids, &found));
  EXPECT_EQ(5, found);  // untouched
  EXPECT_EQ(S_OK, loader->Unload());
}

TEST_F(LoaderTest, MissingArgumentsAreRefused) {
  short ids[] = {1};
  VARIANT_BOOL found = 0;
  EXPECT_EQ(E_INVALIDARG, loader->Load(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->ValidatedLoad(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetPatient(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetRecording(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetLeadErrors(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetGeneral(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetAnalysis(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetLeadData(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetRhythm(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetMedian(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetLeadSet(1, nullptr, &found));
  EXPECT_EQ(E_INVALIDARG, loader->GetLeadSet(1, ids, nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->GetLeads(nullptr));
  EXPECT_EQ(E_INVALIDARG, loader->ReadCRCCheck(nullptr, &found));
  EXPECT_EQ(E_INVALIDARG, loader->ReadCRCCheck(Text("x.scp"), nullptr));
}

TEST_F(LoaderTest, LoadedPartsComeBackWithoutTheFile) {
  const std::string path = folder.Write("limb.scp", LimbRecord(true));
  ASSERT_EQ(S_OK, loader->Load(Text(path)));
  ASSERT_EQ(0, std::remove(path.c_str()));

  Ptr<IScpPatientInfo> patient;
  Make(CLSID_ScpPatientInfo, IID_IScpPatientInfo, &patient);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(S_OK, loader->GetPatient(patient.Get()));
    BSTR text = nullptr;
    patient->get_LastName(&text);
    EXPECT_EQ("Roe", Narrow(text));
    patient->get_FirstName(&text);
    EXPECT_EQ("Ann", Narrow(text));
    patient->get_PatientId(&text);
    EXPECT_EQ("P-17", Narrow(text));
  }
  short leads = 0;
  EXPECT_EQ(S_OK, loader->GetLeads(&leads));
  EXPECT_EQ(2, leads);

  Ptr<IScpEncodedData> rhythm;
  Make(CLSID_ScpEncodedData, IID_IScpEncodedData, &rhythm);
  ASSERT_EQ(S_OK, loader->GetRhythm(rhythm.Get()));
  short value = 0;
  LONG first = 0;
  LONG last = 0;
  rhythm->get_LeadId(2, &value);
  EXPECT_EQ(2, value);
  rhythm->get_SamplesLeadStart(1, &first);
  rhythm->get_SamplesLeadEnd(1, &last);
  EXPECT_EQ(1, first);
  EXPECT_EQ(4, last);
  rhythm->get_AVM(&value);
  EXPECT_EQ(1000, value);
  rhythm->get_SampleInterval(&value);
  EXPECT_EQ(2000, value);
  EXPECT_EQ((std::vector<short>{100, 200, 300, 400}), Samples(rhythm.Get(), 1));

  // Reference beats run from sample 1 to their own count, whatever Section 3 says.
  Ptr<IScpEncodedData> median;
  Make(CLSID_ScpEncodedData, IID_IScpEncodedData, &median);
  ASSERT_EQ(S_OK, loader->GetMedian(median.Get()));
  median->get_SamplesLeadEnd(2, &last);
  EXPECT_EQ(3, last);
  EXPECT_EQ((std::vector<short>{7, 8, 9}), Samples(median.Get(), 2));

  // Record r of Section 10: lead code r, then value n = 100 r + n.
  Ptr<IScpLeadData> measurements;
  Make(CLSID_ScpLeadData, IID_IScpLeadData, &measurements);
  ASSERT_EQ(S_OK, loader->GetLeadData(measurements.Get()));
  measurements->get_Leads(&value);
  EXPECT_EQ(2, value);
  measurements->get_LeadId(2, &value);
  EXPECT_EQ(2, value);
  measurements->get_PDuration(1, &value);
  EXPECT_EQ(102, value);
  measurements->get_TplusAmplitude(1, &value);
  EXPECT_EQ(119, value);
  measurements->get_STAmplitudeJplus80(2, &value);
  EXPECT_EQ(230, value);

  // No Section 7: nothing to give, although Section 10 is there.
  Ptr<IScpAnalysisInfo> analysis;
  Make(CLSID_ScpAnalysisInfo, IID_IScpAnalysisInfo, &analysis);
  EXPECT_EQ(E_FAIL, loader->GetAnalysis(analysis.Get()));
}

TEST_F(LoaderTest, LeadSetCountsModulo256) {
  const std::string path = folder.Write("limb.scp", LimbRecord(false));
  ASSERT_EQ(S_OK, loader->Load(Text(path)));
  struct Case {
    short count;
    std::vector<short> ids;
    VARIANT_BOOL expected;
  };
  const Case cases[] = {{2, {1, 2}, VARIANT_TRUE},
                        {2, {1, 61}, VARIANT_FALSE},
                        {0, {61}, VARIANT_TRUE},
                        {256, {61}, VARIANT_TRUE},
                        {257, {2, 61}, VARIANT_TRUE}};
  for (const Case& c : cases) {
    std::vector<short> ids = c.ids;
    VARIANT_BOOL found = 5;
    EXPECT_EQ(S_OK, loader->GetLeadSet(c.count, ids.data(), &found)) << c.count;
    EXPECT_EQ(c.expected, found) << c.count;
  }
}

TEST_F(LoaderTest, DerivedLeadsAndErrorsChangeOnlyTheLoadedData) {
  const std::string path = folder.Write("limb.scp", LimbRecord(false));
  const test::Bytes before = test::ReadWholeFile(path);
  ASSERT_EQ(S_OK, loader->Load(Text(path)));

  Ptr<IScpLeadErrorInfo> errors;
  Make(CLSID_ScpLeadErrorInfo, IID_IScpLeadErrorInfo, &errors);
  ASSERT_EQ(S_OK, loader->GenerateLeadErrors());
  ASSERT_EQ(S_OK, loader->GetLeadErrors(errors.Get()));
  short value = 0;
  errors->get_Leads(&value);
  EXPECT_EQ(2, value);
  errors->get_LeadId(2, &value);
  EXPECT_EQ(2, value);
  errors->get_LeadErrorCode(2, &value);
  EXPECT_EQ(2, value);  // marker 2033: bit 1
  errors->get_LeadErrorCode(1, &value);
  EXPECT_EQ(0, value);

  ASSERT_EQ(S_OK, loader->GenerateCalculatedLeads());
  short leads = 0;
  loader->GetLeads(&leads);
  EXPECT_EQ(6, leads);  // I, II and the four limb leads III, aVR, aVL, aVF
  Ptr<IScpEncodedData> rhythm;
  Make(CLSID_ScpEncodedData, IID_IScpEncodedData, &rhythm);
  ASSERT_EQ(S_OK, loader->GetRhythm(rhythm.Get()));
  bool seenIII = false;
  for (short lead = 1; lead <= leads; ++lead) {
    rhythm->get_LeadId(lead, &value);
    if (value != 61) continue;
    seenIII = true;
    const std::vector<short> samples = Samples(rhythm.Get(), lead);
    ASSERT_EQ(4u, samples.size());
    EXPECT_EQ(200, samples[0]);  // III = II - I
    EXPECT_EQ(-100, samples[3]);
  }
  EXPECT_TRUE(seenIII);
  EXPECT_EQ(before, test::ReadWholeFile(path));
}

TEST_F(LoaderTest, ValidatedLoadKeepsWhatItCouldRead) {
  Ptr<IScpPatientInfo> patient;
  Make(CLSID_ScpPatientInfo, IID_IScpPatientInfo, &patient);
  // Readable, but without rhythm and the device and acquisition tags.
  EXPECT_EQ(E_FAIL, loader->ValidatedLoad(Text(folder.Write("norhythm.scp", NoRhythmRecord()))));
  EXPECT_EQ(S_OK, loader->GetPatient(patient.Get()));

  // A file that cannot be opened, or a name that cannot be converted, empties the loader.
  EXPECT_EQ(E_FAIL, loader->Load(Text(folder.File("missing.scp"))));
  EXPECT_EQ(E_FAIL, loader->GetPatient(patient.Get()));
  ASSERT_EQ(S_OK, loader->Load(Text(folder.Write("limb.scp", LimbRecord(false)))));
  EXPECT_EQ(E_FAIL, loader->Load(Text(LongName(300))));
  EXPECT_EQ(E_FAIL, loader->GetPatient(patient.Get()));
  EXPECT_EQ(E_FAIL, loader->Load(Text(folder.Write("junk.scp", test::Bytes(40, 0x5A)))));

  // What the writer object creates from an acquisition is a valid record.
  Ptr<IScpWriter> writer;
  Make(CLSID_ScpWriter, IID_IScpWriter, &writer);
  const std::string created = folder.File("created.scp");
  ASSERT_EQ(S_OK, writer->CreateFromRaw12LFile(Text(created),
                                               Text(ExampleFile("acquisition/raw12_8lead.raw")),
                                               nullptr, 5000.0, 500.0, 8));
  EXPECT_EQ(S_OK, loader->ValidatedLoad(Text(created)));
}

}  // namespace
}  // namespace objects
