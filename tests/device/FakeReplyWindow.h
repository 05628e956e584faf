#pragma once

#include <string>
#include <vector>

#include "device/ReplyWindow.h"

// Records every effect on the window as one line of text, in call order, so
// a test can check what happened and in which order.
class FakeReplyWindow : public ReplyWindow {
 public:
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    events.push_back("message " + text);
  }
  void EnableControl(int controlId, bool enabled) override {
    events.push_back((enabled ? "enable " : "disable ") + std::to_string(controlId));
  }
  void SetSceneLabel(const std::string& text) override { events.push_back("label " + text); }
  void SetOdometerValueTexts(const OdometerValueTexts& texts) override {
    values.push_back(texts);
    events.push_back("values");
  }
  void SetOdometerText(const std::string& text) override { events.push_back("rate " + text); }
  bool IsPortOpen() const override { return portOpen; }
  bool SendDeviceCommand(const std::string& command, ReceiveMode newMode) override {
    events.push_back("send " + command + " mode " + std::to_string(static_cast<int>(newMode)));
    return true;
  }
  void SetReceiveMode(ReceiveMode mode) override {
    events.push_back("mode " + std::to_string(static_cast<int>(mode)));
  }

  bool portOpen = true;
  std::vector<std::string> events;
  std::vector<std::string> messages;
  std::vector<OdometerValueTexts> values;
};
