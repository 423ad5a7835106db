// ScpWriter by vtable: creations from every acquisition kind, each field edit seen by a
// read, and failures that leave files as they were.
#include <filesystem>
#include <functional>

#include "objects_client.h"
#include "objects_records.h"
#include "support/temp_folder.h"

namespace objects {
namespace {

class WriterTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    Make(CLSID_ScpWriter, IID_IScpWriter, &writer);
    Make(CLSID_ScpReader, IID_IScpReader, &reader);
  }
  void TearDown() override {
    writer.Reset();
    reader.Reset();
    ModuleTest::TearDown();
  }
  // A record created from the 8-lead raw example, without patient data.
  std::string Created(const std::string& name) {
    const std::string path = folder.File(name);
    EXPECT_EQ(S_OK,
              writer->CreateFromRaw12LFile(Text(path), Text(Raw12()), nullptr, 5000.0, 500.0, 8));
    return path;
  }
  static std::string Raw12() { return ExampleFile("acquisition/raw12_8lead.raw"); }
  std::string GeneralText(const std::string& path,
                          HRESULT (STDMETHODCALLTYPE IScpGeneralInfo::*get)(BSTR*)) {
    Ptr<IScpGeneralInfo> general;
    Make(CLSID_ScpGeneralInfo, IID_IScpGeneralInfo, &general);
    EXPECT_EQ(S_OK, reader->ReadGeneral(Text(path), general.Get()));
    BSTR text = nullptr;
    (general.Get()->*get)(&text);
    return Narrow(text);
  }
  std::vector<short> Lead1(const std::string& path) {
    Ptr<IScpEncodedData> rhythm;
    Make(CLSID_ScpEncodedData, IID_IScpEncodedData, &rhythm);
    EXPECT_EQ(S_OK, reader->ReadRhythm(Text(path), rhythm.Get()));
    short count = 0;
    rhythm->get_Samples(1, &count);
    std::vector<short> samples(static_cast<size_t>(count));
    if (count > 0) rhythm->GetDataSamples(1, 1, count, samples.data());
    return samples;
  }
  test::TempFolder folder;
  Ptr<IScpWriter> writer;
  Ptr<IScpReader> reader;
};

TEST_F(WriterTest, CreationCarriesPatientAndNamesThisModule) {
  Ptr<IScpPatientInfo> patient;
  Make(CLSID_ScpPatientInfo, IID_IScpPatientInfo, &patient);
  patient->put_LastName(Text("Martin"));
  patient->put_FirstName(Text("Eve"));
  patient->put_Gender(2);
  patient->put_Height(1.8);
  patient->put_Weight(72.5);
  const std::string path = folder.File("road.scp");
  ASSERT_EQ(S_OK, writer->CreateFromRaw12LFile(Text(path), Text(Raw12()), patient.Get(), 5000.0,
                                               500.0, 8));
  Ptr<IScpPatientInfo> back;
  Make(CLSID_ScpPatientInfo, IID_IScpPatientInfo, &back);
  ASSERT_EQ(S_OK, reader->ReadPatient(Text(path), back.Get()));
  BSTR text = nullptr;
  back->get_LastName(&text);
  EXPECT_EQ("Martin", Narrow(text));
  short gender = 0;
  double height = 0;
  double weight = 0;
  back->get_Gender(&gender);
  back->get_Height(&height);
  back->get_Weight(&weight);
  EXPECT_EQ(2, gender);
  EXPECT_DOUBLE_EQ(1.8, height);
  EXPECT_DOUBLE_EQ(72.5, weight);
  EXPECT_EQ("KTXSCP32.DLL", GeneralText(path, &IScpGeneralInfo::get_CreatorApp));
  EXPECT_EQ("1.6", GeneralText(path, &IScpGeneralInfo::get_CreatorVer));
  short leads = 0;
  reader->ReadLeads(Text(path), &leads);
  EXPECT_EQ(8, leads);

  ASSERT_EQ(S_OK, writer->UpdateCalculatedLeads(Text(path)));
  reader->ReadLeads(Text(path), &leads);
  EXPECT_EQ(12, leads);
  EXPECT_EQ("KTXSCP32.DLL", GeneralText(path, &IScpGeneralInfo::get_ModifierApp));
  EXPECT_EQ("1.6", GeneralText(path, &IScpGeneralInfo::get_ModifierVer));
}

TEST_F(WriterTest, EveryAcquisitionKindFromFileAndMemory) {
  struct Case {
    const char* source;
    std::function<HRESULT(BSTR, BSTR)> fromFile;
    std::function<HRESULT(BSTR, unsigned char*, LONG)> fromMemory;
  };
  IScpWriter* w = writer.Get();
  const Case cases[] = {
      {"acquisition/raw12_8lead.raw",
       [w](BSTR scp, BSTR raw) { return w->CreateFromRaw12LFile(scp, raw, nullptr, 5000, 500, 8); },
       [w](BSTR scp, unsigned char* data, LONG size) {
         return w->CreateFromRaw12LMem(scp, data, size, nullptr, 5000, 500, 8);
       }},
      {"acquisition/stream8.bin",
       [w](BSTR scp, BSTR raw) {
         return w->CreateFromRaw8bitFile(scp, raw, nullptr, -1, 5000, 500);
       },
       [w](BSTR scp, unsigned char* data, LONG size) {
         return w->CreateFromRaw8bitMem(scp, data, size, nullptr, -1, 5000, 500);
       }},
      {"acquisition/stream16.bin",
       [w](BSTR scp, BSTR raw) {
         return w->CreateFromRaw16bitFile(scp, raw, nullptr, 0, 1000, 500);
       },
       [w](BSTR scp, unsigned char* data, LONG size) {
         return w->CreateFromRaw16bitMem(scp, data, size, nullptr, 0, 1000, 500);
       }},
  };
  for (const Case& c : cases) {
    const std::string fromFile = folder.File("file.scp");
    const std::string fromMemory = folder.File("memory.scp");
    test::Bytes bytes = test::ReadWholeFile(ExampleFile(c.source));
    ASSERT_EQ(S_OK, c.fromFile(Text(fromFile), Text(ExampleFile(c.source)))) << c.source;
    ASSERT_EQ(S_OK, c.fromMemory(Text(fromMemory), bytes.data(), static_cast<LONG>(bytes.size())))
        << c.source;
    EXPECT_FALSE(Lead1(fromFile).empty()) << c.source;
    EXPECT_EQ(Lead1(fromFile), Lead1(fromMemory)) << c.source;
    // A missing source creates nothing.
    const std::string none = folder.File("none.scp");
    EXPECT_EQ(E_FAIL, c.fromFile(Text(none), Text(folder.File("missing.raw")))) << c.source;
    EXPECT_FALSE(std::filesystem::exists(none));
  }

  const std::string bio = folder.File("bio.scp");
  ASSERT_EQ(S_OK, writer->CreateFromBioFile(
                      Text(bio), Text(ExampleFile("acquisition/two_events.bio")), nullptr));
  VARIANT_BOOL good = 0;
  EXPECT_EQ(S_OK, reader->ReadCRCCheck(Text(folder.File("bio.a.scp")), &good));
  EXPECT_EQ(-1, good);
  EXPECT_EQ(S_OK, reader->ReadCRCCheck(Text(folder.File("bio.b.scp")), &good));
  EXPECT_EQ(-1, good);

  const std::string empty = folder.File("empty.scp");
  ASSERT_EQ(S_OK, writer->CreateEmpty(Text(empty)));
  EXPECT_EQ(142u, test::ReadWholeFile(empty).size());
}

TEST_F(WriterTest, TextEditsAreReadBack) {
  using Update = HRESULT (STDMETHODCALLTYPE IScpWriter::*)(BSTR, BSTR);
  using Get = HRESULT (STDMETHODCALLTYPE IScpGeneralInfo::*)(BSTR*);
  struct Case {
    Update update;
    Get get;
    const char* text;
  };
  const Case cases[] = {
      {&IScpWriter::UpdateOverreadingPhysician, &IScpGeneralInfo::get_OverreadingPhysician,
       "Dr Over"},
      {&IScpWriter::UpdateInterpretationPhysician, &IScpGeneralInfo::get_InterpretationPhysician,
       "Dr Inter"},
      {&IScpWriter::UpdateRecordingPhysician, &IScpGeneralInfo::get_RecordingPhysician, "Dr Rec"},
      {&IScpWriter::UpdateInterpretationText, &IScpGeneralInfo::get_InterpretationText, "Sinus"},
      {&IScpWriter::UpdateCommentText, &IScpGeneralInfo::get_CommentText, "after exercise"},
      {&IScpWriter::UpdateRecordingId, &IScpGeneralInfo::get_RecordingId, "ID-42"},
      {&IScpWriter::UpdateRecordingLocation, &IScpGeneralInfo::get_RecordingLocation, "Ward 3"},
      {&IScpWriter::UpdateRecordingApp, &IScpGeneralInfo::get_RecordingApp, "Cart"},
      {&IScpWriter::UpdateRecordingVer, &IScpGeneralInfo::get_RecordingVer, "2.1"},
      {&IScpWriter::UpdateInterpretationApp, &IScpGeneralInfo::get_InterpretationApp, "Reader"},
      {&IScpWriter::UpdateInterpretationVer, &IScpGeneralInfo::get_InterpretationVer, "3.4"},
  };
  const std::string path = Created("edit.scp");
  for (const Case& c : cases) {
    ASSERT_EQ(S_OK, (writer.Get()->*c.update)(Text(path), Text(c.text))) << c.text;
    EXPECT_EQ(c.text, GeneralText(path, c.get));
  }
  // The edits pile up: the first one is still there.
  EXPECT_EQ("Dr Over", GeneralText(path, &IScpGeneralInfo::get_OverreadingPhysician));
}

TEST_F(WriterTest, ValueEditsAreReadBack) {
  const std::string path = Created("values.scp");
  ASSERT_EQ(S_OK, writer->UpdateReceived(Text(path), 7, 3, 2025, 14, 5, 9));
  ASSERT_EQ(S_OK, writer->UpdateInterpretationConfirmed(Text(path), 5));
  Ptr<IScpGeneralInfo> general;
  Make(CLSID_ScpGeneralInfo, IID_IScpGeneralInfo, &general);
  ASSERT_EQ(S_OK, reader->ReadGeneral(Text(path), general.Get()));
  short value = 0;
  general->get_ReceivedDay(&value);
  EXPECT_EQ(7, value);
  general->get_ReceivedMonth(&value);
  EXPECT_EQ(3, value);
  general->get_ReceivedYear(&value);
  EXPECT_EQ(2025, value);
  general->get_ReceivedHour(&value);
  EXPECT_EQ(14, value);
  general->get_ReceivedSecond(&value);
  EXPECT_EQ(9, value);
  VARIANT_BOOL flag = 0;
  general->get_InterpretationConfirmed(&flag);
  EXPECT_EQ(1, flag);

  // 50 and 60 name a power-line filter; 55 switches it off as 0 does.
  struct Power {
    short setting;
    VARIANT_BOOL on;
    double cutoff;
  };
  Ptr<IScpRecordingInfo> recording;
  Make(CLSID_ScpRecordingInfo, IID_IScpRecordingInfo, &recording);
  for (const Power& p : {Power{50, 1, 50.0}, Power{60, 1, 60.0}, Power{55, 0, 50.0}}) {
    ASSERT_EQ(S_OK, writer->UpdatePowerFilter(Text(path), p.setting));
    ASSERT_EQ(S_OK, reader->ReadRecording(Text(path), recording.Get()));
    recording->get_FilterPower(&flag);
    EXPECT_EQ(p.on, flag) << p.setting;
    double cutoff = 0;
    recording->get_FilterPowerCutoff(&cutoff);
    EXPECT_EQ(p.cutoff, cutoff) << p.setting;
  }
  ASSERT_EQ(S_OK, writer->UpdateBaselineFilter(Text(path), -1));
  ASSERT_EQ(S_OK, writer->UpdateMuscleFilter(Text(path), 1));
  ASSERT_EQ(S_OK, reader->ReadRecording(Text(path), recording.Get()));
  recording->get_FilterBaseline(&flag);
  EXPECT_EQ(1, flag);
  recording->get_FilterMuscle(&flag);
  EXPECT_EQ(1, flag);
  ASSERT_EQ(S_OK, writer->UpdateLeadErrors(Text(path)));
}

TEST_F(WriterTest, FailuresLeaveFilesByteIdentical) {
  const std::string good = Created("good.scp");
  const std::string junk = folder.Write("junk.scp", test::Bytes(200, 0x33));
  for (const std::string& path : {good, junk}) {
    const test::Bytes before = test::ReadWholeFile(path);
    EXPECT_EQ(E_FAIL, writer->UpdatePatient(Text(path), nullptr));
    EXPECT_EQ(E_FAIL, writer->UpdateRecording(Text(path), nullptr));
    EXPECT_EQ(before, test::ReadWholeFile(path));
  }
  const test::Bytes before = test::ReadWholeFile(junk);
  IScpWriter* w = writer.Get();
  const Text file(junk);
  const std::function<HRESULT()> edits[] = {
      [&] { return w->UpdateCommentText(file, Text("x")); },
      [&] { return w->UpdateReceived(file, 1, 2, 2020, 3, 4, 5); },
      [&] { return w->UpdatePowerFilter(file, 50); },
      [&] { return w->UpdateInterpretationConfirmed(file, -1); },
      [&] { return w->UpdateCalculatedLeads(file); },
      [&] { return w->UpdateLeadErrors(file); },
  };
  for (const auto& edit : edits) {
    EXPECT_EQ(E_FAIL, edit());
    EXPECT_EQ(before, test::ReadWholeFile(junk));
  }
  const std::string missing = folder.File("missing.scp");
  EXPECT_EQ(E_FAIL, writer->UpdateCommentText(Text(missing), Text("x")));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(WriterTest, MissingNamesAreRefused) {
  IScpWriter* w = writer.Get();
  const Text name("x.scp");
  unsigned char byte = 0;
  const std::function<HRESULT()> calls[] = {
      [&] { return w->CreateFromBioFile(nullptr, name, nullptr); },
      [&] { return w->CreateFromBioFile(name, nullptr, nullptr); },
      [&] { return w->CreateFromRaw12LFile(nullptr, name, nullptr, 1, 1, 8); },
      [&] { return w->CreateFromRaw12LFile(name, nullptr, nullptr, 1, 1, 8); },
      [&] { return w->CreateFromRaw8bitFile(nullptr, name, nullptr, 0, 1, 1); },
      [&] { return w->CreateFromRaw8bitFile(name, nullptr, nullptr, 0, 1, 1); },
      [&] { return w->CreateFromRaw16bitFile(nullptr, name, nullptr, 0, 1, 1); },
      [&] { return w->CreateFromRaw16bitFile(name, nullptr, nullptr, 0, 1, 1); },
      [&] { return w->CreateFromRaw12LMem(nullptr, &byte, 1, nullptr, 1, 1, 8); },
      [&] { return w->CreateFromRaw8bitMem(nullptr, &byte, 1, nullptr, 0, 1, 1); },
      [&] { return w->CreateFromRaw16bitMem(nullptr, &byte, 1, nullptr, 0, 1, 1); },
      [&] { return w->CreateEmpty(nullptr); },
      [&] { return w->UpdatePatient(nullptr, nullptr); },
      [&] { return w->UpdateRecording(nullptr, nullptr); },
      [&] { return w->UpdateLeadErrors(nullptr); },
      [&] { return w->UpdateCalculatedLeads(nullptr); },
      [&] { return w->UpdateOverreadingPhysician(nullptr, name); },
      [&] { return w->UpdateInterpretationPhysician(nullptr, name); },
      [&] { return w->UpdateRecordingPhysician(nullptr, name); },
      [&] { return w->UpdateInterpretationText(nullptr, name); },
      [&] { return w->UpdateCommentText(nullptr, name); },
      [&] { return w->UpdateRecordingId(nullptr, name); },
      [&] { return w->UpdateRecordingLocation(nullptr, name); },
      [&] { return w->UpdateRecordingApp(nullptr, name); },
      [&] { return w->UpdateRecordingVer(nullptr, name); },
      [&] { return w->UpdateInterpretationApp(nullptr, name); },
      [&] { return w->UpdateInterpretationVer(nullptr, name); },
      [&] { return w->UpdateReceived(nullptr, 1, 1, 2000, 0, 0, 0); },
      [&] { return w->UpdateInterpretationConfirmed(nullptr, 0); },
      [&] { return w->UpdateBaselineFilter(nullptr, 0); },
      [&] { return w->UpdateMuscleFilter(nullptr, 0); },
      [&] { return w->UpdatePowerFilter(nullptr, 50); },
  };
  size_t index = 0;
  for (const auto& call : calls) EXPECT_EQ(E_INVALIDARG, call()) << "call " << index++;
}

}  // namespace
}  // namespace objects
