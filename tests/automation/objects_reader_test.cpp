// ScpReader by vtable: one stand-alone read per call; the client object is touched only
// when the read succeeded.
#include "objects_client.h"
#include "objects_records.h"
#include "support/temp_folder.h"

namespace objects {
namespace {

class ReaderTest : public ModuleTest {
 protected:
  test::TempFolder folder;
  Ptr<IScpReader> reader{CLSID_ScpReader, IID_IScpReader};
};

TEST_F(ReaderTest, ReadsFillTheClientObjects) {
  const Text file(folder.Write("limb.scp", LimbRecord(true)));
  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  ASSERT_EQ(S_OK, reader->ReadPatient(file, patient.Get()));
  EXPECT_EQ("Roe", GetText(patient.Get(), &IScpPatientInfo::get_LastName));

  Ptr<IScpEncodedData> rhythm(CLSID_ScpEncodedData, IID_IScpEncodedData);
  ASSERT_EQ(S_OK, reader->ReadRhythm(file, rhythm.Get()));
  EXPECT_EQ(2, Get(rhythm.Get(), &IScpEncodedData::get_Leads));
  short value = 0;
  rhythm->get_DataSample(2, 2, &value);
  EXPECT_EQ(2033, value);  // markers come through as they are stored

  Ptr<IScpEncodedData> median(CLSID_ScpEncodedData, IID_IScpEncodedData);
  ASSERT_EQ(S_OK, reader->ReadMedian(file, median.Get()));
  median->get_DataSample(1, 1, &value);
  EXPECT_EQ(-5, value);

  Ptr<IScpLeadData> measurements(CLSID_ScpLeadData, IID_IScpLeadData);
  ASSERT_EQ(S_OK, reader->ReadLeadData(file, measurements.Get()));
  EXPECT_EQ(204, Get(measurements.Get(), &IScpLeadData::get_QRSDuration, 2));

  // Section 1 holds no lead error table, so the read gives an empty one.
  Ptr<IScpLeadErrorInfo> errors(CLSID_ScpLeadErrorInfo, IID_IScpLeadErrorInfo);
  errors->Allocate(3);
  ASSERT_EQ(S_OK, reader->ReadLeadErrors(file, errors.Get()));
  EXPECT_EQ(0, Get(errors.Get(), &IScpLeadErrorInfo::get_Leads));

  short leads = 0;
  EXPECT_EQ(S_OK, reader->ReadLeads(file, &leads));
  EXPECT_EQ(2, leads);
  VARIANT_BOOL answer = 0;
  EXPECT_EQ(S_OK, reader->HasMeasurements(file, &answer));
  EXPECT_EQ(1, answer);  // 1, not -1
}

TEST_F(ReaderTest, AbsentSectionsAnswerNegatively) {
  const Text file(folder.Write("norhythm.scp", NoRhythmRecord()));
  VARIANT_BOOL answer = 5;
  EXPECT_EQ(S_OK, reader->HasMeasurements(file, &answer));
  EXPECT_EQ(0, answer);
  Ptr<IScpEncodedData> rhythm(CLSID_ScpEncodedData, IID_IScpEncodedData);
  EXPECT_EQ(E_FAIL, reader->ReadRhythm(file, rhythm.Get()));
  short leads = 5;
  const Text noLeads(folder.Write("minimal.scp", test::RecordBuilder().Build()));
  EXPECT_EQ(S_OK, reader->ReadLeads(noLeads, &leads));
  EXPECT_EQ(0, leads);
  leads = 5;
  EXPECT_EQ(E_FAIL, reader->ReadLeads(Text(folder.File("missing.scp")), &leads));
  EXPECT_EQ(0, leads);

  short set[] = {1, 61};
  answer = 5;
  EXPECT_EQ(S_OK, reader->ReadLeadSet(file, 2, set, &answer));
  EXPECT_EQ(0, answer);
  EXPECT_EQ(S_OK, reader->ReadLeadSet(file, 1, set, &answer));
  EXPECT_EQ(-1, answer);
  answer = 5;
  EXPECT_EQ(E_FAIL, reader->ReadLeadSet(Text(folder.File("missing.scp")), 1, set, &answer));
  EXPECT_EQ(5, answer);
}

TEST_F(ReaderTest, FailedReadLeavesTheObjectAlone) {
  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  patient->put_LastName(Text("Keep"));
  for (const std::string& name :
       {folder.File("missing.scp"), folder.Write("junk.scp", test::Bytes(64, 0xA5))}) {
    EXPECT_EQ(E_FAIL, reader->ReadPatient(Text(name), patient.Get())) << name;
    EXPECT_EQ("Keep", GetText(patient.Get(), &IScpPatientInfo::get_LastName));
  }
}

TEST_F(ReaderTest, CrcVerdictsOfReaderAndLoader) {
  Ptr<IScpLoader> loader(CLSID_ScpLoader, IID_IScpLoader);
  const Text good(folder.Write("good.scp", LimbRecord(false)));
  const Text damaged(
      folder.Write("damaged.scp", test::RecordBuilder()
                                      .Section(1, test::Bytes{0, 4, 0, 'D', 'o', 'e', 0, 255, 0, 0})
                                      .BadCrc()
                                      .Build()));
  const Text missing(folder.File("missing.scp"));
  struct Case {
    const Text& file;
    HRESULT hr;
    VARIANT_BOOL verdict;
  };
  for (const Case& c : {Case{good, S_OK, -1}, Case{damaged, S_OK, 0}, Case{missing, E_FAIL, 0}}) {
    VARIANT_BOOL verdict = 5;
    EXPECT_EQ(c.hr, reader->ReadCRCCheck(c.file, &verdict));
    EXPECT_EQ(c.verdict, verdict);
    verdict = 5;
    EXPECT_EQ(c.hr, loader->ReadCRCCheck(c.file, &verdict));
    EXPECT_EQ(c.verdict, verdict);
  }
}

TEST_F(ReaderTest, MissingArgumentsAreRefused) {
  const Text file(folder.Write("limb.scp", LimbRecord(true)));
  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  short set[] = {1};
  short leads = 0;
  VARIANT_BOOL answer = 0;
  EXPECT_EQ(E_INVALIDARG, reader->ReadPatient(nullptr, patient.Get()));
  EXPECT_EQ(E_INVALIDARG, reader->ReadPatient(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadRecording(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadGeneral(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadAnalysis(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadLeadErrors(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadLeadData(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadRhythm(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadMedian(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadLeadSet(nullptr, 1, set, &answer));
  EXPECT_EQ(E_INVALIDARG, reader->ReadLeadSet(file, 1, nullptr, &answer));
  EXPECT_EQ(E_INVALIDARG, reader->ReadLeadSet(file, 1, set, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->ReadLeads(nullptr, &leads));
  EXPECT_EQ(E_INVALIDARG, reader->ReadLeads(file, nullptr));
  EXPECT_EQ(E_INVALIDARG, reader->HasMeasurements(nullptr, &answer));
  EXPECT_EQ(E_INVALIDARG, reader->HasMeasurements(file, nullptr));
}

}  // namespace
}  // namespace objects
