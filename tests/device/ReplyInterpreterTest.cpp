// Each known reply line, fed byte by byte as the serial worker hands it over,
// and what the window sees.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeReplyWindow.h"
#include "device/ReplyInterpreter.h"

namespace {

using Events = std::vector<std::string>;

const char* const kAllVariants[] = {"V3.11", "V5.1", "V7.1", "QELV3.11", "KDV1", "KemRTK", ""};

struct Reply {
  std::string line;
  std::string message;
};

class Unit {
 public:
  explicit Unit(const std::string& variant) : interpreter(window, ParseDeviceVariant(variant)) {}

  void Send(const std::string& bytes) {
    for (char c : bytes) interpreter.OnReplyByte(static_cast<uint8_t>(c));
  }
  void SendLine(const std::string& line) { Send(line + "\r\n"); }

  FakeReplyWindow window;
  ReplyInterpreter interpreter;
};

std::string StatusLine(char rateCode) {
  return std::string("*PA AUTO STATUS 3") + rateCode + " 1";
}

TEST(ReplyInterpreterTest, EveryVariantReportsTheCommonReplies) {
  const std::vector<Reply> replies = {
      {"*PA AUTO STOP 0", "设置停止输出失败\n"},
      {"*PA AUTO BAUD 1 0", "设置波特率112500失败\n"},
      {"*PA AUTO BAUD 1 1", "设置波特率112500成功\n"},
      {"*PA AUTO BAUD 2 0", "设置波特率230400失败\n"},
      {"*PA AUTO BAUD 2 1", "设置波特率230400成功\n"},
      {"*PA AUTO BAUD 3 0", "设置波特率460800失败\n"},
      {"*PA AUTO BAUD 3 1", "设置波特率460800成功\n"},
      {"*PA AUTO ODO RESET 1", "恢复出厂设置成功\n"},
      {"*PA AUTO MDEC 0", "设置磁偏角失败\n"},
      {"*PA AUTO MDEC 1", "设置磁偏角成功\n"},
      {"*PA AUTO FRAME1 0", "设置帧格式1失败\n"},
      {"*PA AUTO FRAME1 1", "设置帧格式1成功\n"},
      {"*PA AUTO FRAME2 0", "设置帧格式2失败\n"},
      {"*PA AUTO FRAME2 1", "设置帧格式2成功\n"},
      {"*PA AUTO FRAME3 0", "设置帧格式3失败\n"},
      {"*PA AUTO FRAME3 1", "设置帧格式3成功\n"},
      {"*PA AUTO FRAME4 0", "设置帧格式4失败\n"},
      {"*PA AUTO FRAME4 1", "设置帧格式4成功\n"},
      {"*PA AUTO FRAME6 0", "设置帧格式6失败\n"},
      {"*PA AUTO FRAME6 1", "设置帧格式6成功\n"},
      {"*PA AUTO SCENES 1 0", "设置工作场景：车载，失败\n"},
      {"*PA AUTO SCENES 2 0", "设置工作场景：室内，失败\n"},
      {"*PA AUTO SCENES 3 0", "设置工作场景：船载，失败\n"},
      {"*PA AUTO SCENES 4 0", "设置工作场景：固定翼，失败\n"},
      {"*PA AUTO SCENES 5 0", "设置工作场景：旋翼，失败\n"},
      {"*PA AUTO SCENES 6 0", "设置工作场景：直升机，失败\n"},
      {"*PA AUTO SN=TK20240117", "产品的SN=TK20240117\n"},
      // Only the pattern is compared: a trailing field does not matter.
      {"*PA AUTO BAUD 2 1 OK", "设置波特率230400成功\n"},
  };
  for (const char* variant : kAllVariants) {
    for (const Reply& reply : replies) {
      Unit unit(variant);
      unit.SendLine(reply.line);
      EXPECT_EQ(unit.window.events, Events{"message " + reply.message})
          << variant << ": " << reply.line;
    }
  }
}

TEST(ReplyInterpreterTest, AcceptedScenesSetTheLabelInTheirOrder) {
  const std::vector<std::pair<std::string, Events>> scenes = {
      {"*PA AUTO SCENES 1 1", {"label 车载", "message 设置工作场景：车载，成功\n"}},
      {"*PA AUTO SCENES 2 1", {"label 室内", "message 设置工作场景：室内，成功\n"}},
      {"*PA AUTO SCENES 3 1", {"message 设置工作场景：船载，成功\n", "label 船载"}},
      {"*PA AUTO SCENES 4 1", {"message 设置工作场景：固定翼，成功\n", "label 固定翼"}},
      {"*PA AUTO SCENES 5 1", {"message 设置工作场景：旋翼，成功\n", "label 旋翼"}},
      {"*PA AUTO SCENES 6 1", {"message 设置工作场景：直升机，成功\n", "label 直升机"}},
  };
  for (const auto& [line, expected] : scenes) {
    Unit unit("V7.1");
    unit.SendLine(line);
    EXPECT_EQ(unit.window.events, expected) << line;
  }
}

TEST(ReplyInterpreterTest, SerialNumberEndsAtTheLinesCr) {
  Unit unit("KemRTK");
  // A longer line first leaves its tail in the buffer behind the next one.
  unit.SendLine("*PA AUTO BAUD 2 0 01234");
  unit.SendLine("*PA AUTO SN=42");
  unit.SendLine("*PA AUTO SN=");
  EXPECT_EQ(unit.window.messages,
            (std::vector<std::string>{"设置波特率230400失败\n", "产品的SN=42\n", "产品的SN=\n"}));
}

TEST(ReplyInterpreterTest, StatusReplyPassesTheRateAndReturnsToLiveFrames) {
  const std::vector<std::pair<char, Events>> statuses = {
      {'1', {"rate 100HZ", "mode 2"}},
      {'2', {"rate 200HZ", "mode 2"}},
      {'3', {"rate 300HZ", "mode 2"}},
      {'6', {"rate 600HZ", "mode 2"}},
      {'4', {"mode 2"}},
      {'5', {"mode 2"}},
  };
  for (const auto& [code, expected] : statuses) {
    Unit unit("KDV1");
    unit.SendLine(StatusLine(code));
    EXPECT_EQ(unit.window.events, expected) << code;
  }
}

TEST(ReplyInterpreterTest, StopConfirmedEnablesTheButtonsOfTheVariant) {
  const Events common = {"message 设置停止输出成功\n", "enable 1060", "enable 1056", "enable 1082"};
  Unit plain("V5.1");
  plain.SendLine("*PA AUTO STOP 1");
  EXPECT_EQ(plain.window.events, common);

  Unit rtk("kemrtk");
  rtk.SendLine("*PA AUTO STOP 1");
  EXPECT_EQ(rtk.window.events, (Events{"message 设置停止输出成功\n", "enable 1060"}));

  Unit qel("QELV3.11");
  qel.SendLine("*PA AUTO STOP 1");
  Events qelExpected = common;
  qelExpected.insert(qelExpected.end(), {"disable 1051", "disable 1053", "disable 1075"});
  EXPECT_EQ(qel.window.events, qelExpected);
}

TEST(ReplyInterpreterTest, Kdv1StopAsksForTheStatusOnlyWithThePortOpen) {
  Unit open("KDV1");
  open.SendLine("*PA AUTO STOP 1");
  open.SendLine(StatusLine('2'));
  Events expected = {"message 设置停止输出成功\n",  "enable 1060", "enable 1056", "enable 1082",
                     "send *PA AUTO STATUS mode 4", "rate 200HZ",  "mode 2"};
  EXPECT_EQ(open.window.events, expected);

  Unit closed("KDV1");
  closed.window.portOpen = false;
  closed.SendLine("*PA AUTO STOP 1");
  expected = {"message 设置停止输出成功\n", "enable 1060", "enable 1056", "enable 1082"};
  EXPECT_EQ(closed.window.events, expected);
}

TEST(ReplyInterpreterTest, RtkOnClearsTheBufferBeforeTheLfIsStored) {
  Unit unit("KemRTK");
  unit.SendLine("*RTK ON");
  EXPECT_EQ(unit.window.events, Events{"message 设置RTK ON成功\n"});
  const ReplyLineBuffer& buffer = unit.interpreter.LineBuffer();
  for (size_t i = 0; i < ReplyLineBuffer::kSize; ++i) {
    EXPECT_EQ(buffer.At(i), i == 8 ? '\n' : 0) << "position " << i;
  }
}

TEST(ReplyInterpreterTest, RateRepliesFollowTheVariantsSpelling) {
  struct VariantReplies {
    std::vector<std::string> variants;
    std::vector<Reply> answered;
    std::vector<std::string> ignored;
  };
  const std::vector<VariantReplies> table = {
      {{"V3.11", "v3.11"},
       {{"*PA AUTO OUT FER 1 1", "设置输出频率10HZ成功\n"},
        {"*PA AUTO OUT FER 2 1", "设置输出频率20HZ成功\n"},
        {"*PA AUTO OUT FER 5 1", "设置输出频率50HZ成功\n"},
        {"*PA AUTO OUT FER A 1", "设置输出频率100HZ成功\n"}},
       {"*PA AUTO OUT FRE 1 1", "*PA AUTO OUT FER 1 0"}},
      {{"V5.1", "V7.1", "QELV3.11"},
       {{"*PA AUTO OUT FRE 1 1", "设置输出频率100HZ成功\n"},
        {"*PA AUTO OUT FRE 2 1", "设置输出频率200HZ成功\n"},
        {"*PA AUTO OUT FRE 4 1", "设置输出频率400HZ成功\n"}},
       {"*PA AUTO OUT FER 1 1", "*PA AUTO OUT FRE 3 1", "*PA AUTO OUT FRE 1 0"}},
      {{"KDV1"},
       {{"*PA AUTO OUT FRE 1 1", "设置输出频率100HZ成功\n"},
        {"*PA AUTO OUT FRE 2 1", "设置输出频率200HZ成功\n"},
        {"*PA AUTO OUT FRE 3 1", "设置输出频率300HZ成功\n"},
        {"*PA AUTO OUT FRE 6 1", "设置输出频率600HZ成功\n"}},
       {"*PA AUTO OUT FER 1 1", "*PA AUTO OUT FRE 4 1"}},
      {{"KemRTK", "V2"}, {}, {"*PA AUTO OUT FRE 1 1", "*PA AUTO OUT FER 1 1"}},
  };
  for (const VariantReplies& entry : table) {
    for (const std::string& variant : entry.variants) {
      for (const Reply& reply : entry.answered) {
        Unit unit(variant);
        unit.SendLine(reply.line);
        EXPECT_EQ(unit.window.events, Events{"message " + reply.message})
            << variant << ": " << reply.line;
      }
      for (const std::string& line : entry.ignored) {
        Unit unit(variant);
        unit.SendLine("*PA AUTO ODO RAD_LTC");  // a completed line lets a sign start the next
        unit.SendLine(line);
        EXPECT_TRUE(unit.window.events.empty()) << variant << ": " << line;
      }
    }
  }
}

TEST(ReplyInterpreterTest, EveryVariantTakesValueLinesAfterTheEcho) {
  for (const char* variant : {"KemRTK", "", "V2", "V3.11", "KDV1", "V7.1"}) {
    Unit unit(variant);
    unit.SendLine("*PA AUTO ODO RAD_LTG");
    unit.SendLine("+01.234 +02.345 -00.123");
    unit.SendLine("*PA AUTO ODO RAD_KWS");
    unit.SendLine("+001.234 +002.345 -000.123");
    const std::vector<OdometerValueTexts> expected = {
        {"+01.234 ", "+02.345 ", "-00.123\r"},
        {"+001.234 ", "+002.345 ", "-000.123\r"},
    };
    EXPECT_EQ(unit.window.values, expected) << variant;
    EXPECT_TRUE(unit.window.messages.empty()) << variant;
  }
}

TEST(ReplyInterpreterTest, EveryVariantReportsOdometerWrites) {
  const std::vector<Reply> acks = {
      {"*PA AUTO ODO SET_ATB 1", "设置SET_ATB成功！\n"},
      {"*PA AUTO ODO SET_ATG 1", "设置SET_ATG成功！\n"},
      {"*PA AUTO ODO SET_LTC 1", "设置SET_LTC成功！\n"},
      {"*PA AUTO ODO SET_LTG 1", "设置SET_LTG成功！\n"},
      {"*PA AUTO ODO SET_KWS 1", "设置SET_KWS成功！\n"},
  };
  for (const char* variant : {"KemRTK", "V3.11", "KDV1", "QELV3.11"}) {
    for (const Reply& ack : acks) {
      Unit unit(variant);
      unit.SendLine(ack.line);
      EXPECT_EQ(unit.window.events, Events{"message " + ack.message}) << variant << ack.line;
    }
  }
  Unit refused("KemRTK");
  refused.SendLine("*PA AUTO ODO SET_KWS 0");
  EXPECT_TRUE(refused.window.events.empty());
}

}  // namespace
