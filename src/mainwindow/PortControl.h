#pragma once

#include <atomic>
#include <string>

#include "ControlMap.h"
#include "PortSelector.h"

class CSerialPort;
class ReceiveDispatcher;
class WindowServices;

// The port and baud selectors and the open/close toggle button.
class PortControl final : public PortSelector {
 public:
  PortControl(QWidget& window, const ControlMap& controls, WindowServices& services,
              CSerialPort& port, ReceiveDispatcher& receive);

  // The ports free at start, then the baud selector's rates.
  void FillPortList();
  void FillBaudList();

  void OnOpenClose(const std::string& deviceVariant);
  // The device went away: the window goes back to its closed state.
  void OnPortGone();

  bool IsOpen() const;
  // Set while a port is open; a running replay stops when it sees it.
  bool ReplayStop() const { return m_replayStop.load(); }

  // PortSelector
  void AddPortItem(const QString& portName) override;
  void SelectPortItem(int index) override;

 private:
  void Open(const std::string& deviceVariant);
  void ShowClosed();

  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  CSerialPort& m_port;
  ReceiveDispatcher& m_receive;
  std::atomic<bool> m_replayStop{false};
};
