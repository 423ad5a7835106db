// Sections 7 and 9 as built, against bytes laid out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/section7.h"
#include "format/section9.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(SectionBuilds, Section7HoldsOneBeatTypeSpikesTypesAndRates) {
  SSection7Content c;
  c.Global.QRSTypes = 1;
  c.Global.PossiblePacemakerSpikes = 1;
  c.Global.AvRRms = 800;
  c.Global.POnsetms = c.Global.POffsetms = 29999;
  c.Global.QRSOnsetms = 100;
  c.Global.QRSOffsetms = 196;
  c.Global.TOffsetms = 500;
  c.Global.PAxis = 29999;
  c.Global.QRSAxis = -30;
  c.Global.TAxis = 45;
  const uint16_t spikes[] = {1000};
  const uint8_t types[] = {0, 1};
  c.SpikeTimes = spikes;
  c.QrsTypes = types;
  c.QrsCount = 2;
  c.VentricularRate = 75;
  c.QTc = 410;
  c.QTcFormula = 1;
  // clang-format off
  const Bytes expected = {
      1, 1, 0x20, 0x03, 0, 0,                            // types, spikes, RR, PP
      0x2F, 0x75, 0x2F, 0x75, 0x64, 0, 0xC4, 0, 0xF4, 1,  // fiducial points
      0x2F, 0x75, 0xE2, 0xFF, 45, 0,                     // axes
      0xE8, 0x03, 0, 0,                                  // spike time and amplitude
      255, 0, 0, 0, 0, 0,                                // spike details
      2, 0, 0, 1,                                        // QRS types
      75, 0, 0, 0, 0x9A, 1, 1, 0, 0};                    // rates, QTc, formula
  // clang-format on
  ASSERT_EQ(Section7BodySize(c), expected.size());
  Bytes body(expected.size(), 0);
  BuildSection7(c, body.data());
  EXPECT_EQ(body, expected);
}

TEST(SectionBuilds, Section9RightAlignsThreeDigitsAndBlanksMissingCodes) {
  const uint16_t rhythm[] = {21, 1234, 7, 8};  // beyond three rhythm codes: left out
  const uint16_t morphology[] = {10, 100, 999, 0};
  Bytes body(kSection9BodySize, 0xEE);
  BuildSection9(rhythm, 4, morphology, 4, body.data());
  const std::string expected =
      " 21234  7"
      " 10100999  0         ";
  EXPECT_EQ(std::string(body.begin(), body.end()), expected);
}

}  // namespace
