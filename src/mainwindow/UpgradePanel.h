#pragma once

#include <QObject>
#include <QString>

#include "device/UpgradeWindow.h"

class ControlMap;
class DeviceSession;
class DisplayPump;
class QTimer;
class QWidget;
class WindowServices;

// The "在线升级" group: the gate (Ctrl+Shift+U), "打开HEX文件" turning an
// Intel HEX file into the image, "一键升级" handing it to the unit's boot
// loader through the device session, the progress label and the progress
// bar. The display ticks rest while the image goes out.
class UpgradePanel final : public UpgradeWindow {
 public:
  UpgradePanel(QWidget& window, const ControlMap& controls, WindowServices& services,
               DeviceSession& session, DisplayPump& pump);
  ~UpgradePanel() override;

  void OnGate();
  void OnOpenHex();
  void OnUpgrade();

  // UpgradeWindow
  void SetUpgradeLabel(const std::string& text, bool visible) override;
  void ShowUpgradeProgress(const FirmwareProgress& progress) override;
  void UpgradeFinished(const std::string& text, const FirmwareProgress& progress) override;
  void UpgradeFailed(const std::string& text) override;

  static constexpr int kTickPeriodMs = 100;

 private:
  void Ended();

  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  DeviceSession& m_session;
  DisplayPump& m_pump;
  QString m_fileName;  // the HEX file's whole name, announced (shortened) to the unit
  QObject m_context;
  QTimer* m_tick;
};
