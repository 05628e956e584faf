#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "device/DeviceProfile.h"
#include "device/OdometerPort.h"
#include "device/ReplyInterpreter.h"
#include "device/ReplyWindow.h"
#include "protocol/PerByteSink.h"
#include "protocol/ReceiveMode.h"

class CPorotocalAnalyse;
class DeviceLink;
class DeviceWindow;
class ReceiveModeSwitch;

// The conversation with the unit: the one writer of the receive mode, the
// only way commands reach the line, and the handler of every byte the
// per-byte road carries (reply lines, boot-loader answers). It reaches the
// main window only through DeviceWindow.
class DeviceSession final : public PerByteSink, public OdometerPort, private ReplyWindow {
 public:
  DeviceSession(ReceiveModeSwitch& mode, DeviceLink& link, DeviceWindow& window,
                CPorotocalAnalyse& analyser);
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  void SetProfile(DeviceProfile profile);
  const DeviceProfile& Profile() const { return m_profile; }
  ReceiveMode Mode() const;

  // Appends CR LF, switches to newMode and queues the line, dropping unread
  // input first as the unit expects. With the port closed: the message and
  // false. The mode changes before the line leaves, so a quick reply is
  // never read in the old mode.
  bool SendDeviceCommand(const std::string& command, ReceiveMode newMode) override;
  // Bytes exactly as given (the "Send" box), in whatever mode holds.
  bool SendBytes(const uint8_t* bytes, size_t count);

  // Mode changes the windows ask for.
  void OnPortOpened();      // the port was opened: Idle until told more
  void EnterUpgradeMode();  // the keyboard gate
  void EnterLive();         // a curve or 3D window closed
  void EnterSensorCurve();  // the sensor curve window opened
  void EnterEnvCurve();     // the environment curve window opened
  void EnterIdle();         // an upgrade ended

  // Upgrade-mode bytes go here until the firmware loader lives in the session.
  void SetUpgradeHandler(std::function<void(uint8_t)> handler) {
    m_upgradeByte = std::move(handler);
  }

  // PerByteSink, on the GUI thread.
  size_t OnSerialBytes(const uint8_t* bytes, size_t count) override;
  void OnReplyByte(uint8_t byte) { m_interpreter.OnReplyByte(byte); }

  // OdometerPort (the odometer dialog), which shares IsPortOpen and
  // SetReceiveMode with the interpreter's view.
  bool IsPortOpen() const override;
  void QueueWrite(const std::string& bytes) override;
  void SetReceiveMode(ReceiveMode mode) override;

  static constexpr const char* kPortClosedMessage = "先打开串口在进行其他操作！！";

 private:
  // ReplyWindow: the interpreter's effects, forwarded to the window or kept
  // in the session.
  void ShowMessage(const std::string& text) override;
  void EnableControl(int controlId, bool enabled) override;
  void SetSceneLabel(const std::string& text) override;
  void SetOdometerValueTexts(const OdometerValueTexts& texts) override;
  void SetOdometerText(const std::string& text) override;

  void Switch(ReceiveMode mode);

  ReceiveModeSwitch& m_mode;
  DeviceLink& m_link;
  DeviceWindow& m_window;
  CPorotocalAnalyse& m_analyser;
  DeviceProfile m_profile;
  ReplyInterpreter m_interpreter;
  std::function<void(uint8_t)> m_upgradeByte;
};
