// Arbitrary reply bytes through the line assembler and interpreter, for every
// variant. Random bytes rarely spell a reply, so an escape byte followed by an
// index inserts a known reply fragment; everything else goes in as it is.
#include <array>
#include <cstdlib>
#include <string>

#include "device/ReplyInterpreter.h"

namespace {

// A window that checks what the interpreter hands it.
class CheckingWindow : public ReplyWindow {
 public:
  void ShowMessage(const std::string& text) override {
    if (text.empty() || text.back() != '\n') std::abort();
  }
  void EnableControl(int, bool) override {}
  void SetSceneLabel(const std::string& text) override {
    if (text.empty()) std::abort();
  }
  void SetOdometerValueTexts(const OdometerValueTexts& texts) override {
    for (const std::string* text : {&texts.left, &texts.middle, &texts.right}) {
      if (text->empty() || text->size() > 9) std::abort();
      if (text->front() != '+' && text->front() != '-') std::abort();
    }
  }
  void SetOdometerText(const std::string& text) override {
    if (text.size() != 5) std::abort();
  }
  bool IsPortOpen() const override { return portOpen; }
  bool SendDeviceCommand(const std::string& command, ReceiveMode mode) override {
    if (command != "*PA AUTO STATUS" || mode != ReceiveMode::Command) std::abort();
    return true;
  }
  void SetReceiveMode(ReceiveMode mode) override {
    if (mode != ReceiveMode::Live) std::abort();
  }

  bool portOpen = true;
};

constexpr uint8_t kEscape = 0xFF;

constexpr std::array<const char*, 16> kFragments{
    "*PA AUTO ",   "STOP 1",      "STATUS 32 1", "SN=",           "BAUD 2 1", "SCENES 3 1",
    "OUT FRE 6 1", "OUT FER A 1", "*RTK ON",     "ODO SET_KWS 1", "\r\n",     "+01.234 ",
    "-000.123 ",   "+00.000\r\n", "FRAME6 0",    "ODO RESET 1",
};

constexpr std::array<const char*, 7> kVariants{"V3.11", "V5.1",   "V7.1", "QELV3.11",
                                               "KDV1",  "KemRTK", "other"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  CheckingWindow window;
  window.portOpen = (data[0] & 0x80) != 0;
  ReplyInterpreter interpreter(window, ParseDeviceVariant(kVariants[data[0] % kVariants.size()]));

  for (size_t i = 1; i < size; ++i) {
    if (data[i] == kEscape && i + 1 < size) {
      ++i;
      for (const char* c = kFragments[data[i] % kFragments.size()]; *c != '\0'; ++c) {
        interpreter.OnReplyByte(static_cast<uint8_t>(*c));
      }
    } else {
      interpreter.OnReplyByte(data[i]);
    }
  }
  return 0;
}
