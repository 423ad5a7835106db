// ScpWriter by vtable: creations from every acquisition kind, each field edit seen by a
// read, and failures that leave files as they were.
#include <filesystem>
#include <functional>

#include "objects_client.h"
#include "support/temp_folder.h"

namespace objects {
namespace {

class WriterTest : public ModuleTest {
 protected:
  // A record created from the 8-lead raw example.
  std::string Created(const std::string& name, IScpPatientInfo* patient = nullptr) {
    const std::string path = folder.File(name);
    EXPECT_EQ(S_OK, writer->CreateFromRaw12LFile(Text(path), Text(ExampleFile(kRaw12)), patient,
                                                 5000.0, 500.0, 8));
    return path;
  }
  // The file's general information, read afresh.
  IScpGeneralInfo* General(const std::string& path) {
    Make(CLSID_ScpGeneralInfo, IID_IScpGeneralInfo, &general);
    EXPECT_EQ(S_OK, reader->ReadGeneral(Text(path), general.Get()));
    return general.Get();
  }
  short Leads(const std::string& path) {
    short leads = 0;
    EXPECT_EQ(S_OK, reader->ReadLeads(Text(path), &leads));
    return leads;
  }
  std::vector<short> Lead1(const std::string& path) {
    Ptr<IScpEncodedData> rhythm(CLSID_ScpEncodedData, IID_IScpEncodedData);
    EXPECT_EQ(S_OK, reader->ReadRhythm(Text(path), rhythm.Get()));
    return LeadSamples(rhythm.Get(), 1);
  }
  static constexpr const char* kRaw12 = "acquisition/raw12_8lead.raw";
  test::TempFolder folder;
  Ptr<IScpWriter> writer{CLSID_ScpWriter, IID_IScpWriter};
  Ptr<IScpReader> reader{CLSID_ScpReader, IID_IScpReader};
  Ptr<IScpGeneralInfo> general;
};

TEST_F(WriterTest, CreationCarriesPatientAndNamesThisModule) {
  Ptr<IScpPatientInfo> patient(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  patient->put_LastName(Text("Martin"));
  patient->put_Gender(2);
  patient->put_Height(1.8);
  patient->put_Weight(72.5);
  const std::string path = Created("road.scp", patient.Get());
  Ptr<IScpPatientInfo> back(CLSID_ScpPatientInfo, IID_IScpPatientInfo);
  ASSERT_EQ(S_OK, reader->ReadPatient(Text(path), back.Get()));
  EXPECT_EQ("Martin", GetText(back.Get(), &IScpPatientInfo::get_LastName));
  EXPECT_EQ(2, Get(back.Get(), &IScpPatientInfo::get_Gender));
  EXPECT_DOUBLE_EQ(1.8, Get(back.Get(), &IScpPatientInfo::get_Height));
  EXPECT_DOUBLE_EQ(72.5, Get(back.Get(), &IScpPatientInfo::get_Weight));
  EXPECT_EQ("KTXSCP32.DLL", GetText(General(path), &IScpGeneralInfo::get_CreatorApp));
  EXPECT_EQ("1.6", GetText(General(path), &IScpGeneralInfo::get_CreatorVer));
  EXPECT_EQ(8, Leads(path));

  ASSERT_EQ(S_OK, writer->UpdateCalculatedLeads(Text(path)));
  EXPECT_EQ(12, Leads(path));
  EXPECT_EQ("KTXSCP32.DLL", GetText(General(path), &IScpGeneralInfo::get_ModifierApp));
  EXPECT_EQ("1.6", GetText(General(path), &IScpGeneralInfo::get_ModifierVer));
}

TEST_F(WriterTest, EveryAcquisitionKindFromFileAndMemory) {
  struct Case {
    const char* source;
    std::function<HRESULT(BSTR, BSTR)> fromFile;
    std::function<HRESULT(BSTR, unsigned char*, LONG)> fromMemory;
  };
  IScpWriter* w = writer.Get();
  const Case cases[] = {
      {kRaw12, [w](BSTR s, BSTR r) { return w->CreateFromRaw12LFile(s, r, nullptr, 5000, 500, 8); },
       [w](BSTR s, unsigned char* d, LONG n) {
         return w->CreateFromRaw12LMem(s, d, n, nullptr, 5000, 500, 8);
       }},
      {"acquisition/stream8.bin",
       [w](BSTR s, BSTR r) { return w->CreateFromRaw8bitFile(s, r, nullptr, -1, 5000, 500); },
       [w](BSTR s, unsigned char* d, LONG n) {
         return w->CreateFromRaw8bitMem(s, d, n, nullptr, -1, 5000, 500);
       }},
      {"acquisition/stream16.bin",
       [w](BSTR s, BSTR r) { return w->CreateFromRaw16bitFile(s, r, nullptr, 0, 1000, 500); },
       [w](BSTR s, unsigned char* d, LONG n) {
         return w->CreateFromRaw16bitMem(s, d, n, nullptr, 0, 1000, 500);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    const std::string fromFile = folder.File("file.scp");
    const std::string fromMemory = folder.File("memory.scp");
    test::Bytes bytes = test::ReadWholeFile(ExampleFile(c.source));
    const LONG size = static_cast<LONG>(bytes.size());
    EXPECT_EQ(E_INVALIDARG, c.fromFile(nullptr, Text(ExampleFile(c.source))));
    EXPECT_EQ(E_INVALIDARG, c.fromFile(Text(fromFile), nullptr));
    EXPECT_EQ(E_INVALIDARG, c.fromMemory(nullptr, bytes.data(), size));
    ASSERT_EQ(S_OK, c.fromFile(Text(fromFile), Text(ExampleFile(c.source))));
    ASSERT_EQ(S_OK, c.fromMemory(Text(fromMemory), bytes.data(), size));
    EXPECT_FALSE(Lead1(fromFile).empty());
    EXPECT_EQ(Lead1(fromFile), Lead1(fromMemory));
    // A missing source creates nothing.
    const std::string none = folder.File("none.scp");
    EXPECT_EQ(E_FAIL, c.fromFile(Text(none), Text(folder.File("missing.raw"))));
    EXPECT_FALSE(std::filesystem::exists(none));
  }

  ASSERT_EQ(S_OK,
            writer->CreateFromBioFile(Text(folder.File("bio.scp")),
                                      Text(ExampleFile("acquisition/two_events.bio")), nullptr));
  for (const char* event : {"bio.a.scp", "bio.b.scp"}) {
    VARIANT_BOOL good = 0;
    EXPECT_EQ(S_OK, reader->ReadCRCCheck(Text(folder.File(event)), &good));
    EXPECT_EQ(-1, good) << event;
  }
  const std::string empty = folder.File("empty.scp");
  ASSERT_EQ(S_OK, writer->CreateEmpty(Text(empty)));
  EXPECT_EQ(142u, test::ReadWholeFile(empty).size());
}

TEST_F(WriterTest, TextEditsAreReadBack) {
  struct Case {
    HRESULT (STDMETHODCALLTYPE IScpWriter::*update)(BSTR, BSTR);
    HRESULT (STDMETHODCALLTYPE IScpGeneralInfo::*get)(BSTR*);
    const char* text;
  };
#define EDIT(Name, text) \
  { &IScpWriter::Update##Name, &IScpGeneralInfo::get_##Name, text }
  const Case cases[] = {
      EDIT(OverreadingPhysician, "Dr Over"),
      EDIT(InterpretationPhysician, "Dr Inter"),
      EDIT(RecordingPhysician, "Dr Rec"),
      EDIT(InterpretationText, "Sinus"),
      EDIT(CommentText, "after exercise"),
      EDIT(RecordingId, "ID-42"),
      EDIT(RecordingLocation, "Ward 3"),
      EDIT(RecordingApp, "Cart"),
      EDIT(RecordingVer, "2.1"),
      EDIT(InterpretationApp, "Reader"),
      EDIT(InterpretationVer, "3.4"),
  };
#undef EDIT
  const std::string path = Created("edit.scp");
  for (const Case& c : cases) {
    EXPECT_EQ(E_INVALIDARG, (writer.Get()->*c.update)(nullptr, Text(c.text))) << c.text;
    ASSERT_EQ(S_OK, (writer.Get()->*c.update)(Text(path), Text(c.text))) << c.text;
    EXPECT_EQ(c.text, GetText(General(path), c.get));
  }
  // The edits pile up: the first one is still there.
  EXPECT_EQ("Dr Over", GetText(General(path), &IScpGeneralInfo::get_OverreadingPhysician));
}

TEST_F(WriterTest, ValueEditsAreReadBack) {
  const std::string path = Created("values.scp");
  ASSERT_EQ(S_OK, writer->UpdateReceived(Text(path), 7, 3, 2025, 14, 5, 9));
  ASSERT_EQ(S_OK, writer->UpdateInterpretationConfirmed(Text(path), 5));
  IScpGeneralInfo* g = General(path);
  const short received[] = {
      Get(g, &IScpGeneralInfo::get_ReceivedDay),    Get(g, &IScpGeneralInfo::get_ReceivedMonth),
      Get(g, &IScpGeneralInfo::get_ReceivedYear),   Get(g, &IScpGeneralInfo::get_ReceivedHour),
      Get(g, &IScpGeneralInfo::get_ReceivedMinute), Get(g, &IScpGeneralInfo::get_ReceivedSecond)};
  EXPECT_EQ((std::vector<short>{7, 3, 2025, 14, 5, 9}),
            std::vector<short>(std::begin(received), std::end(received)));
  EXPECT_EQ(1, Get(g, &IScpGeneralInfo::get_InterpretationConfirmed));

  // 50 and 60 name a power-line filter; 55 switches it off as 0 does.
  Ptr<IScpRecordingInfo> recording(CLSID_ScpRecordingInfo, IID_IScpRecordingInfo);
  IScpRecordingInfo* r = recording.Get();
  struct Power {
    short setting;
    VARIANT_BOOL on;
    double cutoff;
  };
  for (const Power& p : {Power{50, 1, 50.0}, Power{60, 1, 60.0}, Power{55, 0, 50.0}}) {
    ASSERT_EQ(S_OK, writer->UpdatePowerFilter(Text(path), p.setting));
    ASSERT_EQ(S_OK, reader->ReadRecording(Text(path), r));
    EXPECT_EQ(p.on, Get(r, &IScpRecordingInfo::get_FilterPower)) << p.setting;
    EXPECT_EQ(p.cutoff, Get(r, &IScpRecordingInfo::get_FilterPowerCutoff)) << p.setting;
  }
  ASSERT_EQ(S_OK, writer->UpdateBaselineFilter(Text(path), -1));
  ASSERT_EQ(S_OK, writer->UpdateMuscleFilter(Text(path), 1));
  ASSERT_EQ(S_OK, reader->ReadRecording(Text(path), r));
  EXPECT_EQ(1, Get(r, &IScpRecordingInfo::get_FilterBaseline));
  EXPECT_EQ(1, Get(r, &IScpRecordingInfo::get_FilterMuscle));
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
  const Text n("x.scp");
  EXPECT_EQ(E_INVALIDARG, w->CreateFromBioFile(nullptr, n, nullptr));
  EXPECT_EQ(E_INVALIDARG, w->CreateFromBioFile(n, nullptr, nullptr));
  EXPECT_EQ(E_INVALIDARG, w->UpdatePatient(nullptr, nullptr));
  EXPECT_EQ(E_INVALIDARG, w->UpdateRecording(nullptr, nullptr));
  EXPECT_EQ(E_INVALIDARG, w->UpdateReceived(nullptr, 1, 1, 2000, 0, 0, 0));
  EXPECT_EQ(E_INVALIDARG, w->UpdatePowerFilter(nullptr, 50));
  for (auto call : {&IScpWriter::CreateEmpty, &IScpWriter::UpdateLeadErrors,
                    &IScpWriter::UpdateCalculatedLeads}) {
    EXPECT_EQ(E_INVALIDARG, (w->*call)(nullptr));
  }
  for (auto call : {&IScpWriter::UpdateInterpretationConfirmed, &IScpWriter::UpdateBaselineFilter,
                    &IScpWriter::UpdateMuscleFilter}) {
    EXPECT_EQ(E_INVALIDARG, (w->*call)(nullptr, 0));
  }
}

}  // namespace
}  // namespace objects
