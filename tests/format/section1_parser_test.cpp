// The Section 1 parser on hand-assembled Section 1 bodies.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "format/section1.h"
#include "platform/errors.h"
#include "support/last_error.h"
#include "support/section1_bytes.h"
#include "support/section_file.h"

namespace {

using test::Body;
using test::Bytes;
using test::EndTag;
using test::Tag;
using test::TextTag;

// Tag 14 data: the 36-byte fixed part, then the revision and serial bytes as given.
Bytes Device(uint16_t id, const std::string& model, const std::string& revision = "",
             const std::string& serial = "") {
  Bytes data(36, 0);
  test::PutU16(data, 4, id);
  std::copy(model.begin(), model.end(), data.begin() + 8);
  data[35] = static_cast<uint8_t>(revision.size());
  data.insert(data.end(), revision.begin(), revision.end());
  data.insert(data.end(), serial.begin(), serial.end());
  return data;
}

// Everything a parse filled in, as " name=value" items; zeros and null texts are left
// out, characters beyond ASCII written <XXXX>.
struct Targets {
  CPatientInfo patient;
  CRecordInfo recording;
  SLeadErrors errors;
  CGeneralInfo general;
  SUnknownTags unknown;
  uint8_t required = 0xEE;
  std::string Dump() const {
    out.clear();
    const CPatientInfo& p = patient;
    Text("last", p.LastName), Text("first", p.FirstName), Text("id", p.PatientId);
    Date("born", {p.YearOfBirth, p.MonthOfBirth, p.DayOfBirth});
    Number("sex", p.Gender), Number("height", p.Height), Number("weight", p.Weight);
    const CRecordInfo& r = recording;
    Number("device", r.DeviceID), Text("type", r.DeviceType), Text("rev", r.ProgramRevision);
    Text("serial", r.SerialNumber);
    Date("acquired", {r.AcquisitionYear, r.AcquisitionMonth, r.AcquisitionDay, r.AcquisitionHour,
                      r.AcquisitionMinute, r.AcquisitionSecond});
    Number("hp", r.HighPassCutoff), Number("lp", r.LowPassCutoff);
    Number("filters", r.FilterFlags), Number("data-filters", r.DataFilterFlags);
    const CGeneralInfo& g = general;
    Text("text", g.InterpretationText), Number("confirmed", g.InterpretationConfirmed);
    Number("modified", g.InterpretationModified);
    const SDateTime& d = g.Received;
    Date("received", {d.Year, d.Month, d.Day, d.Hour, d.Minute, d.Second});
    // The text tags by number.
    const plat::Bstr texts[] = {
        g.OverreadingPhysician, g.CommentText,       g.RecordingId,       g.ModifierApp,
        g.ModifierVer,          g.CreatorApp,        g.CreatorVer,        g.InterpretationPhysician,
        g.RecordingPhysician,   g.RecordingLocation, g.InterpretationApp, g.InterpretationVer,
        g.RecordingApp,         g.RecordingVer};
    const int tags[] = {21, 202, 205, 208, 209, 210, 211, 213, 214, 215, 216, 217, 218, 219};
    for (int i = 0; i < 14; ++i) Text(("t" + std::to_string(tags[i])).c_str(), texts[i]);
    for (uint8_t i = 0; i < errors.Count; ++i) {
      out += " error" + std::to_string(errors.Errors[i].LeadId) + "=" +
             std::to_string(errors.Errors[i].ErrorBits);
    }
    for (int tag = 0; tag < 256; ++tag) {
      if (unknown.Data[tag] == nullptr) continue;
      out += " u" + std::to_string(tag) + "=";
      for (uint16_t i = 0; i < unknown.Length[tag]; ++i) out += Hex(unknown.Data[tag][i], 2);
    }
    Number("required", required);
    return out;
  }

 private:
  static std::string Hex(unsigned value, int digits) {
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
  }
  void Number(const char* name, unsigned value) const {
    if (value != 0) out += std::string(" ") + name + "=" + std::to_string(value);
  }
  void Text(const char* name, const plat::OleChar* text) const {
    if (text == nullptr) return;
    out += std::string(" ") + name + "=";
    for (uint32_t i = 0; i < plat::SysStringLen(text); ++i) {
      out += text[i] < 0x80 ? std::string(1, char(text[i])) : "<" + Hex(text[i], 4) + ">";
    }
  }
  void Date(const char* name, const std::vector<unsigned>& parts) const {
    std::string text;
    for (unsigned part : parts) text += "." + std::to_string(part);
    if (text.find_first_not_of(".0") != std::string::npos)
      out += " " + (name + ("=" + text.substr(1)));
  }
  mutable std::string out;
};

// Writes `body` as the Section 1 of a record of section version `version` and parses
// it into the targets given.
bool Parse(const Bytes& body, uint8_t version, CPatientInfo* p, CRecordInfo* r, SLeadErrors* e,
           CGeneralInfo* g, SUnknownTags* u, uint8_t* tally) {
  auto section = std::make_unique<test::SectionFile>(1, body);
  EXPECT_TRUE(section->Found());
  uint8_t header[16];
  std::memcpy(header, section->Header(), sizeof header);
  header[8] = version;
  const bool ok = ParseSection1(section->File(), header, p, r, e, g, u, tally);
  const uint32_t error = plat::LastError();
  section.reset();  // removing the folder may change the last error on Windows
  plat::SetLastError(error);
  return ok;
}
bool Parse(const Bytes& body, uint8_t version, Targets& t) {
  return Parse(body, version, &t.patient, &t.recording, &t.errors, &t.general, &t.unknown,
               &t.required);
}

const Bytes kDate = {0xE8, 0x07, 3, 14};  // 2024-03-14
const Bytes kTime = {9, 30, 15};
// Names and ID become empty texts, never null ones; the other texts stay null.
const std::string kNames = " last= first= id=";
const std::string K30 = std::string(30, 'K'), kPadded = K30 + std::string(30, ' ');

struct Case {
  const char* Name;
  Bytes Body;
  std::string Expected;
  uint8_t Version = 11;
};

std::vector<Case> Cases() {
  Bytes shortText = {'A', 'b', ' ', ' '};
  shortText.resize(50, 0);
  const Bytes long10 = Body({TextTag(0, kPadded), TextTag(1, std::string(45, ' ')),
                             TextTag(2, "Id  "), TextTag(21, kPadded), EndTag()});
  Bytes general = Body({Tag(201, {0x01, 'A', 'B', 'C', 0}), Tag(204, {1}),
                        Tag(203, {0xE7, 0x07, 12, 0, 31, 0, 23, 0, 59, 0, 58, 0})});
  std::string generalTexts;
  for (int tag : {21, 202, 205, 208, 209, 210, 211, 213, 214, 215, 216, 217, 218, 219}) {
    const std::string name = "t" + std::to_string(tag);
    const Bytes text = TextTag(uint8_t(tag), name);
    general.insert(general.end(), text.begin(), text.end());
    generalTexts += " " + name + "=" + name;
  }
  general = Body({general, EndTag()});
  const auto hw = [](std::initializer_list<Bytes> tags) {
    Bytes body = Body(tags);
    return Body({body, EndTag()});
  };
  return {
      {"end tag only", EndTag(), kNames},
      {"patient",
       Body({TextTag(0, "M\xFCller"), TextTag(1, "\x80va"), Tag(2, {'I', 'D', '4', '2'}),
             Tag(5, {0xB2, 0x07, 6, 15}), Tag(8, {2}), EndTag()}),
       // A text without NUL loses its last byte.
       " last=M<00FC>ller first=<20AC>va id=ID4 born=1970.6.15 sex=2"},
      // A text ends at its first NUL; a repeated tag replaces the earlier text, an empty
      // one leaves the field null (then empty at the end).
      {"texts",
       Body({Tag(0, {'A', 'b', 0, 'c', 'd', 0}), TextTag(1, "Ann"), TextTag(1, "Bo"),
             TextTag(2, "X"), Tag(2, {}), EndTag()}),
       " last=Ab first=Bo id="},
      // Version 10 cuts texts longer than 40 bytes at their trailing blanks.
      {"version 10", long10, " last=" + K30 + " first= id=Id   t21=" + kPadded, 10},
      {"version 10 short text", Body({Tag(2, shortText), EndTag()}), " last= first= id=Ab", 10},
      {"version 11", long10,
       " last=" + kPadded + " first=" + std::string(45, ' ') + " id=Id   t21=" + kPadded},
      {"cm, then 207", hw({Tag(6, {170, 0, 1}), Tag(207, {0xDB, 0x06})}), kNames + " height=1755"},
      {"207, then cm", hw({Tag(207, {0xDB, 0x06}), Tag(6, {170, 0, 1})}), kNames + " height=1755"},
      {"inches", hw({Tag(6, {70, 0, 2})}), kNames + " height=1778"},
      {"first height", hw({Tag(6, {170, 0, 1}), Tag(6, {180, 0, 1})}), kNames + " height=1700"},
      {"unknown unit, then mm", hw({Tag(6, {170, 0, 9}), Tag(6, {0x72, 0x06, 3})}),
       kNames + " height=1650"},
      {"height too short", hw({Tag(6, {170, 0})}), kNames},
      {"pounds", hw({Tag(7, {150, 0, 3})}), kNames + " weight=68038"},
      {"ounces", hw({Tag(7, {100, 0, 4})}), kNames + " weight=2834"},
      {"first weight", hw({Tag(7, {80, 0, 1}), Tag(7, {90, 0, 1})}), kNames + " weight=80000"},
      {"grams", hw({Tag(7, {0x88, 0x13, 2})}), kNames + " weight=5000"},
      {"kg, then 206", hw({Tag(7, {80, 0, 1}), Tag(206, {0x52, 0x3D, 0x01, 0})}),
       kNames + " weight=81234"},
      {"206, then kg", hw({Tag(206, {0x52, 0x3D, 0x01, 0}), Tag(7, {80, 0, 1})}),
       kNames + " weight=81234"},
      {"general", general,
       kNames + " text=ABC confirmed=1 modified=1 received=2023.12.31.23.59.58" + generalTexts},
      // A one-byte tag 201 holds only the forced NUL; a short tag 203 is ignored.
      {"short 201 and 203", Body({Tag(201, {0x05}), Tag(203, {1, 2, 3}), EndTag()}), kNames},
      // No NUL after the revision: all its bytes; tag 25 longer than needed; both notch
      // bits mean 50 Hz.
      {"recording",
       Body({Tag(14, Device(0x1234, "ECG-1", "2.5", std::string("SN12\0x", 6))),
             Tag(25, {0xE8, 0x07, 3, 14, 0xAA, 0xBB}), Tag(26, kTime), Tag(27, {0x38, 0x00}),
             Tag(28, {40, 0}), Tag(29, {0x03}), Tag(212, {0x0D}), TextTag(0, "Doe"), EndTag()}),
       " last=Doe first= id= device=4660 type=ECG-1 rev=2.5 serial=SN12 acquired=2024.3.14.9.30.15"
       " hp=56 lp=40 filters=13 data-filters=2 required=1"},
      {"recording, unused bits",
       Body({Tag(14, Device(7, "M")), Tag(25, kDate), Tag(26, kTime), Tag(29, {0xF2}),
             Tag(212, {0xF0}), EndTag()}),
       kNames + " device=7 type=M acquired=2024.3.14.9.30.15 data-filters=2 required=1"},
      // A tag 25 or 14 too short is ignored, so the record is reset, but it still counts.
      {"tag 25 too short",
       Body({Tag(14, Device(7, "M")), Tag(25, {0xE8, 0x07}), Tag(26, kTime), Tag(28, {40, 0}),
             EndTag()}),
       kNames + " required=1"},
      {"tag 14 too short", Body({Tag(25, kDate), Tag(26, kTime), Tag(14, Bytes(35, 0)), EndTag()}),
       kNames + " required=1"},
      {"no tag 26", Body({Tag(14, Device(7, "M")), Tag(25, kDate), EndTag()}), kNames},
      // The end tag's own data is kept too; an empty unknown tag is not.
      {"lead errors and unknown tags",
       Body({Tag(200, {2, 1, 0x05, 0x00, 2, 0x00, 0x01}), Tag(30, {1, 2, 3}), Tag(30, {9, 8}),
             Tag(3, {7}), Tag(220, {}), Tag(255, {0xAB})}),
       kNames + " error1=5 error2=256 u3=07 u30=0908 u255=AB"},
      // Only the entries within the tag are read; the next tag is still found.
      {"lead errors cut", Body({Tag(200, {3, 1, 1, 0, 2, 2, 0, 9}), TextTag(0, "Doe"), EndTag()}),
       " last=Doe first= id= error1=1 error2=2"},
      {"no lead error entries", Body({Tag(200, {0}), Tag(200, {2, 1}), EndTag()}), kNames},
  };
}

TEST(Section1, FillsEachTargetFromItsTags) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.Name);
    Targets targets;
    ASSERT_TRUE(Parse(c.Body, c.Version, targets));
    EXPECT_EQ(targets.Dump(), c.Expected);
  }
}

TEST(Section1, ResetsTargetsFilledBefore) {
  Targets targets;
  targets.patient.Gender = 2;
  const plat::OleChar name[] = {'X', 0};
  targets.patient.LastName = plat::SysAllocString(name);
  targets.recording.DeviceID = 7;
  targets.general.InterpretationConfirmed = 1;
  targets.general.CommentText = plat::SysAllocString(name);
  ASSERT_TRUE(targets.errors.Allocate(2));
  ASSERT_TRUE(targets.unknown.Allocate(30, 4));
  ASSERT_TRUE(Parse(EndTag(), 11, targets));
  EXPECT_EQ(targets.Dump(), kNames);
  EXPECT_EQ(targets.errors.Errors, nullptr);
}

TEST(Section1, NullTargetsSkipTheirTags) {
  const Bytes body = Body({Tag(14, Device(7, "M")), Tag(25, kDate), Tag(26, kTime),
                           TextTag(0, "Doe"), Tag(6, {170, 0, 1}), Tag(200, {1, 1, 1, 0}),
                           TextTag(202, "note"), Tag(30, {1}), EndTag()});
  Targets t;
  t.general.InterpretationConfirmed = 3;
  ASSERT_TRUE(Parse(body, 11, &t.patient, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(t.Dump(), " last=Doe first= id= height=1700 confirmed=3 required=238");
  Targets u;
  ASSERT_TRUE(Parse(body, 11, nullptr, &u.recording, &u.errors, &u.general, nullptr, &u.required));
  EXPECT_EQ(u.Dump(), " device=7 type=M acquired=2024.3.14.9.30.15 t202=note error1=1 required=1");
}

TEST(Section1, RefusesBadArgumentsAndOverrunningTags) {
  Targets t;
  uint8_t header[16] = {};
  EXPECT_TRUE(test::FailedWith(ParseSection1(plat::kClosedFile, header, &t.patient, nullptr,
                                             nullptr, nullptr, nullptr, nullptr),
                               plat::kErrInvalidParameter));
  EXPECT_TRUE(test::FailedWith(
      ParseSection1(1, nullptr, &t.patient, nullptr, nullptr, nullptr, nullptr, nullptr),
      plat::kErrInvalidParameter));
  // Unknown tags alone are no target.
  EXPECT_TRUE(test::FailedWith(
      Parse(EndTag(), 11, nullptr, nullptr, nullptr, nullptr, &t.unknown, &t.required),
      plat::kErrInvalidParameter));
  // Revision length byte one beyond the tag; the bytes after it would end the section
  // cleanly for a parser that read past it.
  Bytes device = Device(7, "M", "12");
  device[35] = 3;
  const Bytes failing[] = {
      Body({TextTag(0, "Doe")}),                          // no tag 255
      Body({TextTag(0, "Doe"), Bytes{255, 0}}),           // tag header cut off
      Body({Bytes{30, 40, 0, 'a', 'b', 'c'}, EndTag()}),  // data beyond the section
      Body({Tag(14, device), Bytes{0xFF, 255, 0, 0}}),
  };
  for (const Bytes& body : failing) {
    EXPECT_TRUE(test::FailedWith(Parse(body, 11, t), plat::kErrInvalidData));
  }
}

// Other makers' headers: no tag 255 at the section end, tags 200-219 of their own.
TEST(Section1Tolerant, EndsAtTheSectionEndAndKeepsOtherMakersTags) {
  const Bytes errors = {1, 1, 2, 0};  // one entry: lead I, error bits 2
  const Bytes body = Body({TextTag(0, "Doe"), TextTag(210, "Cart"), Tag(200, errors)});
  const struct {
    bool Ours;
    std::string Expected;
  } cases[] = {{true, " last=Doe first= id= t210=Cart error1=2"},
               {false, " last=Doe first= id= u200=01010200 u210=4361727400"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Ours);
    Targets t;
    // The core parse refuses the missing terminator.
    EXPECT_TRUE(test::FailedWith(Parse(body, 11, t), plat::kErrInvalidData));
    test::SectionFile section(1, body);
    ASSERT_TRUE(section.Found());
    bool terminated = true;
    ASSERT_TRUE(ParseSection1Tolerant(section.File(), section.Header(), &t.patient, &t.recording,
                                      &t.errors, &t.general, &t.unknown, nullptr, c.Ours,
                                      &terminated));
    EXPECT_FALSE(terminated);
    t.required = 0;
    EXPECT_EQ(t.Dump(), c.Expected);
  }
}

}  // namespace
