#include <gtest/gtest.h>

#include "tools/unitsim/CommandResponder.h"

namespace {

using Lines = std::vector<std::string>;

struct Responder {
  explicit Responder(SimOptions o = {}) : options(std::move(o)), responder(options, settings) {}
  Lines operator()(const std::string& line) { return responder.Answer(line); }
  SimOptions options;
  UnitSettings settings;
  CommandResponder responder;
};

SimOptions ForVariant(DeviceVariant variant) {
  SimOptions options;
  options.variant = variant;
  return options;
}

TEST(CommandResponderTest, SettingsCommandsAnswerWithTheirResultDigit) {
  Responder answer;
  EXPECT_EQ(answer("*PA AUTO STOP"), Lines{"*PA AUTO STOP 1"});
  EXPECT_FALSE(answer.settings.streaming);
  EXPECT_EQ(answer("*PA AUTO BAUD 2"), Lines{"*PA AUTO BAUD 2 1"});
  EXPECT_EQ(answer.settings.baudCode, 2);
  EXPECT_EQ(answer("*PA AUTO BAUD 0"), Lines{"*PA AUTO BAUD 0 0"});
  EXPECT_EQ(answer.settings.baudCode, 2);
  EXPECT_EQ(answer("*PA AUTO SCENES 6"), Lines{"*PA AUTO SCENES 6 1"});
  EXPECT_EQ(answer("*PA AUTO SCENES 7"), Lines{"*PA AUTO SCENES 7 0"});
  EXPECT_EQ(answer("*PA AUTO MDEC -5.5"), Lines{"*PA AUTO MDEC 1"});
  EXPECT_EQ(answer("*PA AUTO ODO RESET"), Lines{"*PA AUTO ODO RESET 1"});
  EXPECT_EQ(answer("*RTK ON"), Lines{"*RTK ON 1"});
  EXPECT_EQ(answer("*PA AUTO SN?"), Lines{"*PA AUTO SN=TVK2024A0001"});
  EXPECT_TRUE(answer("*PA AUTO WHATEVER").empty());
  EXPECT_TRUE(answer("hello").empty());
}

TEST(CommandResponderTest, FrameCommandsSwitchTheFrameKindAndFormatByte) {
  Responder answer;
  EXPECT_EQ(answer("*PA AUTO FRAME3"), Lines{"*PA AUTO FRAME3 1"});
  EXPECT_EQ(answer.settings.format.kind, FrameKind::Frame220);
  EXPECT_EQ(answer("*PA AUTO FRAME6"), Lines{"*PA AUTO FRAME6 1"});
  EXPECT_EQ(answer.settings.format.kind, FrameKind::Frame76);
  EXPECT_EQ(answer("*PA AUTO FRAME2"), Lines{"*PA AUTO FRAME2 1"});
  EXPECT_EQ(answer.settings.format.kind, FrameKind::Frame120);
  EXPECT_EQ(answer.settings.format.formatByte, 1);
  EXPECT_EQ(answer("*PA AUTO FRAME4"), Lines{"*PA AUTO FRAME4 0"});
  EXPECT_EQ(answer.settings.format.formatByte, 1);
}

TEST(CommandResponderTest, RatesOutsideTheVariantsListAreRefused) {
  Responder v311(ForVariant(DeviceVariant::V3_11));
  EXPECT_EQ(v311("*PA AUTO OUT FRE A"), Lines{"*PA AUTO OUT FER A 1"});
  EXPECT_EQ(v311("*PA AUTO OUT FRE 4"), Lines{"*PA AUTO OUT FER 4 0"});
  EXPECT_EQ(v311.settings.rateHz, 100);
  Responder kdv1(ForVariant(DeviceVariant::KDV1));
  EXPECT_EQ(kdv1("*PA AUTO OUT FRE 6"), Lines{"*PA AUTO OUT FRE 6 1"});
  EXPECT_EQ(kdv1.settings.rateHz, 600);
}

TEST(CommandResponderTest, StatusCarriesTheRateCodeAtPosition17) {
  Responder kdv1(ForVariant(DeviceVariant::KDV1));
  kdv1("*PA AUTO OUT FRE 3");
  const Lines status = kdv1("*PA AUTO STATUS");
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].substr(0, 15), "*PA AUTO STATUS");
  ASSERT_GT(status[0].size(), 17u);
  EXPECT_EQ(status[0][17], '3');
  EXPECT_LE(status[0].size(), 29u);  // the program recognises 29 characters at most

  Responder v311(ForVariant(DeviceVariant::V3_11));
  EXPECT_EQ(v311("*PA AUTO STATUS")[0][17], 'A');
}

TEST(CommandResponderTest, OdometerGroupsAreKeptAndReadBackNarrowOrWide) {
  Responder answer;
  EXPECT_EQ(answer("*PA AUTO ODO RAD_KWS"),
            (Lines{"*PA AUTO ODO RAD_KWS", "+01.000 +01.000 +01.000"}));
  EXPECT_EQ(answer("*PA AUTO ODO SET_LTC +01.500 -00.250 +12.000"),
            Lines{"*PA AUTO ODO SET_LTC 1"});
  EXPECT_EQ(answer("*PA AUTO ODO RAD_LTC"),
            (Lines{"*PA AUTO ODO RAD_LTC", "+01.500 -00.250 +12.000"}));
  // KWS is written without signs; a value of 100 or more needs the wide form.
  EXPECT_EQ(answer("*PA AUTO ODO SET_KWS 001.500 002.000 300.000"),
            Lines{"*PA AUTO ODO SET_KWS 1"});
  EXPECT_EQ(answer("*PA AUTO ODO RAD_KWS"),
            (Lines{"*PA AUTO ODO RAD_KWS", "+001.500 +002.000 +300.000"}));
  EXPECT_EQ(answer("*PA AUTO ODO SET_ATG 1 2"), Lines{"*PA AUTO ODO SET_ATG 0"});
  EXPECT_EQ(answer("*PA AUTO ODO RESET"), Lines{"*PA AUTO ODO RESET 1"});
  EXPECT_EQ(answer("*PA AUTO ODO RAD_LTC")[1], "+00.000 +00.000 +00.000");

  SimOptions wide;
  wide.wideValues = true;
  Responder wideAnswer(wide);
  EXPECT_EQ(wideAnswer("*PA AUTO ODO RAD_ATB")[1], "+000.000 +000.000 +000.000");
}

TEST(CommandResponderTest, RefusedCommandsAnswerWithTheirRefusalAndChangeNothing) {
  SimOptions options;
  options.refusedWords = {"baud", "ODO SET_LTC", "STATUS", "STOP"};
  Responder answer(options);
  EXPECT_EQ(answer("*PA AUTO BAUD 1"), Lines{"*PA AUTO BAUD 1 0"});
  EXPECT_EQ(answer.settings.baudCode, 3);
  EXPECT_EQ(answer("*PA AUTO ODO SET_LTC +01.000 +01.000 +01.000"),
            Lines{"*PA AUTO ODO SET_LTC 0"});
  EXPECT_EQ(answer("*PA AUTO ODO RAD_LTC")[1], "+00.000 +00.000 +00.000");
  EXPECT_EQ(answer("*PA AUTO ODO SET_LTG +01.000 +01.000 +01.000"),
            Lines{"*PA AUTO ODO SET_LTG 1"});
  EXPECT_EQ(answer("*PA AUTO STATUS"), Lines{"*PA AUTO STATUS 0"});
  EXPECT_EQ(answer("*PA AUTO STOP"), Lines{"*PA AUTO STOP 0"});
  EXPECT_TRUE(answer.settings.streaming);
}

}  // namespace
