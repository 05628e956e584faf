#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "device/DeviceProfile.h"
#include "device/FirmwareLoader.h"
#include "device/OdometerPort.h"
#include "device/ReplyInterpreter.h"
#include "device/ReplyWindow.h"
#include "protocol/PerByteSink.h"
#include "protocol/ReceiveMode.h"

class CPorotocalAnalyse;
class DeviceLink;
class DeviceWindow;
class UpgradeWindow;
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
  // input first as the unit expects. With the port closed, or while an
  // upgrade runs: the message and false. The mode changes before the line leaves, so a quick reply
  // is never read in the old mode.
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

  // The firmware upgrade: the boot-loader exchange runs here, on the bytes
  // of the per-byte road; what it shows goes to the window. False, with the
  // mode unchanged, when the port is closed ("先打开串口在进行其他操作！！") or
  // the image cannot be read ("读取HEX文件失败！请尝试管理员权限打开").
  void SetUpgradeWindow(UpgradeWindow* window) { m_upgradeWindow = window; }
  bool StartUpgrade(const std::filesystem::path& imagePath, const std::string& announcedName);
  // Time-outs of a running upgrade; the panel calls it a few times a second.
  void TickUpgrade();
  bool UpgradeRunning() const { return m_loader.Running(); }
  const FirmwareLoader& Loader() const { return m_loader; }
  // The port closed or went away: a running upgrade fails.
  void OnPortClosed();

  // PerByteSink, on the GUI thread.
  size_t OnSerialBytes(const uint8_t* bytes, size_t count) override;
  void OnReplyByte(uint8_t byte) { m_interpreter.OnReplyByte(byte); }

  // OdometerPort (the odometer dialog), which shares IsPortOpen and
  // SetReceiveMode with the interpreter's view.
  bool IsPortOpen() const override;
  void QueueWrite(const std::string& bytes) override;
  void SetReceiveMode(ReceiveMode mode) override;

  static constexpr const char* kPortClosedMessage = "先打开串口在进行其他操作！！";
  // Commands, the "Send" box and a second upgrade while one runs.
  static constexpr const char* kUpgradeRunningMessage = "正在升级固件，请等升级结束后再操作！";

 private:
  // ReplyWindow: the interpreter's effects, forwarded to the window or kept
  // in the session.
  void ShowMessage(const std::string& text) override;
  void EnableControl(int controlId, bool enabled) override;
  void SetSceneLabel(const std::string& text) override;
  void SetOdometerValueTexts(const OdometerValueTexts& texts) override;
  void SetOdometerText(const std::string& text) override;

  void Switch(ReceiveMode mode);
  // Mode changes the windows ask for wait while an upgrade has the line.
  void SwitchUnlessUpgrading(ReceiveMode mode);
  // True, with the message shown, while an upgrade runs.
  bool RefuseDuringUpgrade();
  void CarryOut(const FirmwareLoaderActions& actions);

  ReceiveModeSwitch& m_mode;
  DeviceLink& m_link;
  DeviceWindow& m_window;
  CPorotocalAnalyse& m_analyser;
  DeviceProfile m_profile;
  ReplyInterpreter m_interpreter;
  FirmwareLoader m_loader;
  UpgradeWindow* m_upgradeWindow = nullptr;
};
