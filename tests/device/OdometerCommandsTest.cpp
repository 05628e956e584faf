// Odometer parameter commands: number reading, write formats of the groups
// and the refusal of texts that are no numbers.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "device/OdometerCommands.h"
#include "device/OdometerNumber.h"
#include "device/OdometerWrite.h"

namespace {

TEST(OdometerNumberTest, TakesTheLongestLeadingDecimalNumber) {
  const std::vector<std::pair<std::string, double>> numbers = {
      {"  -0.25", -0.25}, {"+3", 3.0},     {".5", 0.5},      {"5.", 5.0},   {"1.5 m", 1.5},
      {"2e", 2.0},        {"1E-2x", 0.01}, {"-4e+1", -40.0}, {"0x1A", 0.0}, {"1,5", 1.0},
  };
  for (const auto& [text, expected] : numbers) {
    const std::optional<double> value = ParseLeadingNumber(text);
    ASSERT_TRUE(value.has_value()) << text;
    EXPECT_DOUBLE_EQ(*value, expected) << text;
  }
}

TEST(OdometerNumberTest, TextsWithoutALeadingNumberGiveNothing) {
  for (const char* text : {"", " ", "abc", "-", ".", "+-1", "-.e5", "inf", "1e999", "1e-999"}) {
    EXPECT_FALSE(ParseLeadingNumber(text).has_value()) << text;
  }
}

TEST(OdometerCommandsTest, ReadCommandsNameTheGroupExactly) {
  for (const char* group : {"ATB", "ATG", "LTC", "LTG", "KWS"}) {
    EXPECT_EQ(OdometerReadCommand(group), std::string("*PA AUTO ODO RAD_") + group);
  }
  EXPECT_FALSE(OdometerReadCommand("ltc"));
  EXPECT_FALSE(OdometerReadCommand(""));
}

TEST(OdometerCommandsTest, SignedGroupsWriteSignAndSixCharacters) {
  EXPECT_EQ(OdometerWriteCommand("LTC", {1.5, -0.25, 12}),
            "*PA AUTO ODO SET_LTC +01.500 -00.250 +12.000");
  EXPECT_EQ(OdometerWriteCommand("ATB", {0.0, -0.0, 9.9996}),
            "*PA AUTO ODO SET_ATB +00.000 +00.000 +10.000");
  EXPECT_EQ(OdometerWriteCommand("ATG", {1.2344, -1.2346, 0.0004}),
            "*PA AUTO ODO SET_ATG +01.234 -01.235 +00.000");
  // Too large for the field: printed wider, never cut.
  EXPECT_EQ(OdometerWriteCommand("LTG", {123.4567, -1000, 1e6}),
            "*PA AUTO ODO SET_LTG +123.457 -1000.000 +1000000.000");
}

TEST(OdometerCommandsTest, KwsWritesSevenCharactersWithoutSigns) {
  EXPECT_EQ(OdometerWriteCommand("KWS", {1.5, 2, 300}),
            "*PA AUTO ODO SET_KWS 001.500 002.000 300.000");
  EXPECT_EQ(OdometerWriteCommand("KWS", {0, 1234.5, 0.001}),
            "*PA AUTO ODO SET_KWS 000.000 1234.500 000.001");
  // No room for a sign: a negative value gives no command rather than a wrong one.
  EXPECT_FALSE(OdometerWriteCommand("KWS", {-1.5, 2, 300}));
  EXPECT_FALSE(OdometerWriteCommand("KWS", {0, 0, -0.001}));
  EXPECT_FALSE(OdometerWriteCommand("kws", {1, 2, 3}));
}

TEST(OdometerWriteTest, NumbersAreWrittenAndOtherTextsRefused) {
  OdometerWrite write = PrepareOdometerWrite("LTC", {"0", " 1.5 m", "-2e1"});
  EXPECT_EQ(write.command, "*PA AUTO ODO SET_LTC +00.000 +01.500 -20.000");
  EXPECT_TRUE(write.refusal.empty());

  write = PrepareOdometerWrite("LTC", {"0", "abc", "1"});
  EXPECT_TRUE(write.command.empty());
  EXPECT_EQ(write.refusal, "参数“abc”不是有效的数值，未写入！\n");

  write = PrepareOdometerWrite("KWS", {"1", "2", ""});
  EXPECT_TRUE(write.command.empty());
  EXPECT_EQ(write.refusal, "参数“”不是有效的数值，未写入！\n");
}

}  // namespace
