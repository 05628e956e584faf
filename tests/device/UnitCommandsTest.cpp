#include <gtest/gtest.h>

#include "device/UnitCommands.h"

using namespace UnitCommands;

// The unit reads the byte after "帧格式" in its two-byte code page, so a
// typed text gives whatever plain character stands there.
TEST(UnitCommands, TheFrameFormatDigitIsTheSeventhCodePageByte) {
  EXPECT_EQ(FrameFormat("帧格式1"), "*PA AUTO FRAME1");
  EXPECT_EQ(FrameFormat("帧格式6"), "*PA AUTO FRAME6");
  EXPECT_EQ(FrameFormat("abcdef4"), "*PA AUTO FRAME4");
  EXPECT_EQ(FrameFormat("ab帧格7"), "*PA AUTO FRAME7");
  EXPECT_EQ(FrameFormat("帧格式"), std::nullopt);
  EXPECT_EQ(FrameFormat("a帧格式1"), std::nullopt);  // the byte falls inside a character
  EXPECT_EQ(FrameFormat("帧格😀1"), std::nullopt);    // four bytes beyond the basic plane
  EXPECT_EQ(FrameFormat("帧😀1"), "*PA AUTO FRAME1");
}

TEST(UnitCommands, SelectorsNumberTheirChoicesFromOne) {
  EXPECT_EQ(Baud("115200"), "*PA AUTO BAUD 1");
  EXPECT_EQ(Baud("460800"), "*PA AUTO BAUD 3");
  EXPECT_EQ(Baud("9999"), std::nullopt);
  EXPECT_EQ(Baud(" 115200"), std::nullopt);
  EXPECT_EQ(Scene("车载"), "*PA AUTO SCENES 1");
  EXPECT_EQ(Scene("直升机"), "*PA AUTO SCENES 6");
  EXPECT_EQ(Scene("潜艇"), "*PA AUTO SCENES 0");
  EXPECT_EQ(OutputRate('A'), "*PA AUTO OUT FRE A");
}
