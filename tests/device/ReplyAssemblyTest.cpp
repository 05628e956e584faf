// How reply bytes are gathered into lines: where a line starts and ends, the
// length limit, and what the line buffer keeps.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeReplyWindow.h"
#include "device/ReplyInterpreter.h"

namespace {

const std::string kBaud230400Ok = "设置波特率230400成功\n";

class ReplyAssemblyTest : public ::testing::Test {
 protected:
  void Send(const std::string& bytes) {
    for (char c : bytes) interpreter.OnReplyByte(static_cast<uint8_t>(c));
  }

  FakeReplyWindow window;
  ReplyInterpreter interpreter{window, DeviceVariant::KemRTK};
};

TEST_F(ReplyAssemblyTest, LfAloneEndsNoLineAndTheNextBytesJoinIt) {
  Send("*PA AUTO BAUD 2 1\n");
  EXPECT_TRUE(window.events.empty());

  // A value line is no new line here: its signs land inside the running one.
  Send("+1 -2\r\n");
  EXPECT_EQ(window.messages, std::vector<std::string>{kBaud230400Ok});
  EXPECT_TRUE(window.values.empty());

  // A new '*' always starts over.
  Send("*PA AUTO BAUD 2 1\r\n");
  EXPECT_EQ(window.messages, (std::vector<std::string>{kBaud230400Ok, kBaud230400Ok}));
}

TEST_F(ReplyAssemblyTest, BytesOutsideALineAreDropped) {
  Send("PA AUTO BAUD 2 1\r\nOK\r\n");
  EXPECT_TRUE(window.events.empty());
  EXPECT_EQ(interpreter.LineBuffer().At(0), 0);
}

TEST_F(ReplyAssemblyTest, ALineKeepsAtMost29CharactersBeforeItsCr) {
  Send("*PA AUTO BAUD 2 1" + std::string(12, ' ') + "\r\n");
  EXPECT_EQ(window.messages.size(), 1u);

  window.messages.clear();
  Send("*PA AUTO BAUD 2 1" + std::string(13, ' ') + "\r\n");
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(ReplyAssemblyTest, CollectionRunsOnPastTheLineEndUntil31Bytes) {
  // 18 bytes up to the CR, the LF and 10 more stay within the 30 stored
  // bytes, so the second CR LF ends a line again and its prefix matches again.
  Send("*PA AUTO BAUD 2 1\r\n" + std::string(10, 'x') + "\r\n");
  EXPECT_EQ(window.messages, (std::vector<std::string>{kBaud230400Ok, kBaud230400Ok}));

  // One byte more and the CR is the 31st byte: reset, nothing more is read.
  window.messages.clear();
  Send("*PA AUTO BAUD 2 1\r\n" + std::string(11, 'x') + "\r\n");
  EXPECT_EQ(window.messages, std::vector<std::string>{kBaud230400Ok});
  for (size_t i = 0; i < ReplyLineBuffer::kSize; ++i) {
    ASSERT_EQ(interpreter.LineBuffer().At(i), 0) << "position " << i;
  }
}

TEST_F(ReplyAssemblyTest, AStarAsThe31stByteStartsANewLineAtOnce) {
  Send("*PA AUTO BAUD 3 0\r\n" + std::string(11, 'x') + "*PA AUTO BAUD 2 1\r\n");
  EXPECT_EQ(window.messages, (std::vector<std::string>{"设置波特率460800失败\n", kBaud230400Ok}));
}

TEST_F(ReplyAssemblyTest, AnOverflowResetLetsASignStartTheNextLine) {
  Send("*" + std::string(30, 'x') + "+01.234 +02.345 -00.123\r\n");
  ASSERT_EQ(window.values.size(), 1u);
  EXPECT_EQ(window.values[0].left, "+01.234 ");
}

TEST_F(ReplyAssemblyTest, ValueLineRightAfterAnUnfinishedLineIsPartOfIt) {
  Send("*X");
  Send("+01.234 +02.345 -00.123\r\n");
  EXPECT_TRUE(window.values.empty());
  EXPECT_TRUE(interpreter.LineBuffer().StartsWith("*X+01.234 +02.345 -00.123\r\n"));

  // Once that line is complete, the next value line is taken.
  Send("+03.000 +04.000 +05.000\r\n");
  ASSERT_EQ(window.values.size(), 1u);
  EXPECT_EQ(window.values[0], (OdometerValueTexts{"+03.000 ", "+04.000 ", "+05.000\r"}));
}

}  // namespace
