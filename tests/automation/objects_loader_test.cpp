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
  test::TempFolder folder;
  Ptr<IScpLoader> loader{CLSID_ScpLoader, IID_IScpLoader};
};

TEST_F(LoaderTest, EmptyLoaderHasNothingToGive) {
  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  Ptr<IScpEncodedData> rhythm(CLSID_ScpEncodedData, IID_IScpEncodedData);
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

  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(S_OK, loader->GetPatient(patient.Get()));
    EXPECT_EQ("Roe Ann P-17", GetText(patient.Get(), &IScpPatientInfo::get_LastName) + " " +
                                  GetText(patient.Get(), &IScpPatientInfo::get_FirstName) + " " +
                                  GetText(patient.Get(), &IScpPatientInfo::get_PatientId));
  }
  short leads = 0;
  EXPECT_EQ(S_OK, loader->GetLeads(&leads));
  EXPECT_EQ(2, leads);

  Ptr<IScpEncodedData> rhythm(CLSID_ScpEncodedData, IID_IScpEncodedData);
  ASSERT_EQ(S_OK, loader->GetRhythm(rhythm.Get()));
  IScpEncodedData* r = rhythm.Get();
  EXPECT_EQ(2, Get(r, &IScpEncodedData::get_LeadId, 2));
  EXPECT_EQ(1, Get(r, &IScpEncodedData::get_SamplesLeadStart, 1));
  EXPECT_EQ(4, Get(r, &IScpEncodedData::get_SamplesLeadEnd, 1));
  EXPECT_EQ(1000, Get(r, &IScpEncodedData::get_AVM));
  EXPECT_EQ(2000, Get(r, &IScpEncodedData::get_SampleInterval));
  EXPECT_EQ((std::vector<short>{100, 200, 300, 400}), LeadSamples(r, 1));

  // Reference beats run from sample 1 to their own count, whatever Section 3 says.
  Ptr<IScpEncodedData> median(CLSID_ScpEncodedData, IID_IScpEncodedData);
  ASSERT_EQ(S_OK, loader->GetMedian(median.Get()));
  EXPECT_EQ(3, Get(median.Get(), &IScpEncodedData::get_SamplesLeadEnd, 2));
  EXPECT_EQ((std::vector<short>{7, 8, 9}), LeadSamples(median.Get(), 2));

  // Record r of Section 10: lead code r, then value n = 100 r + n.
  Ptr<IScpLeadData> measurements(CLSID_ScpLeadData, IID_IScpLeadData);
  ASSERT_EQ(S_OK, loader->GetLeadData(measurements.Get()));
  IScpLeadData* m = measurements.Get();
  EXPECT_EQ(2, Get(m, &IScpLeadData::get_Leads));
  EXPECT_EQ(2, Get(m, &IScpLeadData::get_LeadId, 2));
  EXPECT_EQ(102, Get(m, &IScpLeadData::get_PDuration, 1));
  EXPECT_EQ(119, Get(m, &IScpLeadData::get_TplusAmplitude, 1));
  EXPECT_EQ(230, Get(m, &IScpLeadData::get_STAmplitudeJplus80, 2));

  // No Section 7: nothing to give, although Section 10 is there.
  Ptr<IScpAnalysisInfo> analysis(CLSID_ScpAnalysisInfo, IID_IScpAnalysisInfo);
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

  Ptr<IScpLeadErrorInfo> errors(CLSID_ScpLeadErrorInfo, IID_IScpLeadErrorInfo);
  ASSERT_EQ(S_OK, loader->GenerateLeadErrors());
  ASSERT_EQ(S_OK, loader->GetLeadErrors(errors.Get()));
  IScpLeadErrorInfo* e = errors.Get();
  EXPECT_EQ(2, Get(e, &IScpLeadErrorInfo::get_Leads));
  EXPECT_EQ(2, Get(e, &IScpLeadErrorInfo::get_LeadId, 2));
  EXPECT_EQ(2, Get(e, &IScpLeadErrorInfo::get_LeadErrorCode, 2));  // marker 2033: bit 1
  EXPECT_EQ(0, Get(e, &IScpLeadErrorInfo::get_LeadErrorCode, 1));

  ASSERT_EQ(S_OK, loader->GenerateCalculatedLeads());
  short leads = 0;
  loader->GetLeads(&leads);
  EXPECT_EQ(6, leads);  // I, II and the four limb leads III, aVR, aVL, aVF
  Ptr<IScpEncodedData> rhythm(CLSID_ScpEncodedData, IID_IScpEncodedData);
  ASSERT_EQ(S_OK, loader->GetRhythm(rhythm.Get()));
  short iii = 0;  // III = II - I
  for (short lead = 1; lead <= leads; ++lead) {
    if (Get(rhythm.Get(), &IScpEncodedData::get_LeadId, lead) == 61) iii = lead;
  }
  ASSERT_NE(0, iii);
  const std::vector<short> samples = LeadSamples(rhythm.Get(), iii);
  ASSERT_EQ(4u, samples.size());
  EXPECT_EQ(200, samples[0]);
  EXPECT_EQ(-100, samples[3]);
  EXPECT_EQ(before, test::ReadWholeFile(path));
}

TEST_F(LoaderTest, ValidatedLoadKeepsWhatItCouldRead) {
  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
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
  Ptr<IScpWriter> writer(CLSID_ScpWriter, IID_IScpWriter);
  const std::string created = folder.File("created.scp");
  ASSERT_EQ(S_OK, writer->CreateFromRaw12LFile(Text(created),
                                               Text(ExampleFile("acquisition/raw12_8lead.raw")),
                                               nullptr, 5000.0, 500.0, 8));
  EXPECT_EQ(S_OK, loader->ValidatedLoad(Text(created)));
}

}  // namespace
}  // namespace objects
