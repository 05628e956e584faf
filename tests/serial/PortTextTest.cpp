#include <gtest/gtest.h>

#include "serial/PortText.h"

namespace {

TEST(PortTextTest, BaudIsTheNumberAtTheStartOfTheText) {
  EXPECT_EQ(PortText::BaudRate("460800"), 460800);
  EXPECT_EQ(PortText::BaudRate("  9600 baud"), 9600);
  EXPECT_EQ(PortText::BaudRate("921600x"), 921600);
  EXPECT_EQ(PortText::BaudRate("baud 9600"), 0);
  EXPECT_EQ(PortText::BaudRate(""), 0);
  EXPECT_EQ(PortText::BaudRate("-9600"), 0);
  EXPECT_EQ(PortText::BaudRate("99999999999"), 0);
}

TEST(PortTextTest, PortIsTheNameOrPathWithoutSurroundingBlanks) {
  EXPECT_EQ(PortText::PortName("ttyUSB0"), "ttyUSB0");
  EXPECT_EQ(PortText::PortName(" /dev/pts/3 "), "/dev/pts/3");
  EXPECT_EQ(PortText::PortName("/tmp/a unit link"), "/tmp/a unit link");
  EXPECT_EQ(PortText::PortName("   "), "");
}

}  // namespace
