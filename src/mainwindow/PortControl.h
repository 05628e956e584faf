#pragma once

#include <QObject>
#include <atomic>
#include <string>

#include "serial/PortSelector.h"

class ControlMap;
class CSerialPort;
class DeviceSession;
class SerialPortOwner;
class WindowServices;
class QWidget;

// The port and baud selectors and the open/close toggle button.
class PortControl final : public PortSelector {
 public:
  PortControl(QWidget& window, const ControlMap& controls, WindowServices& services,
              CSerialPort& port, SerialPortOwner& receiver, DeviceSession& session);

  // The ports free now, the first selected, then the baud selector's rates.
  void FillPortList();
  // The list made again while the port is closed (the selector opens, a port
  // went away), keeping whatever text the selector holds.
  void RefreshPortList();
  void FillBaudList();

  void OnOpenClose();
  // The device went away: the window goes back to its closed state.
  void OnPortGone();

  // Whether this panel has a port open (the port itself says whether its
  // worker still serves it).
  bool IsOpen() const { return m_open.load(); }
  // Set while a port is open: a running replay must stop when it sees it.
  bool ReplayStopRequested() const { return m_open.load(); }

  // PortSelector
  void AddPortItem(const QString& portName) override;
  void SelectPortItem(int index) override;

 private:
  void Open();
  void Close();
  void ShowClosed();

  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  CSerialPort& m_port;
  SerialPortOwner& m_receiver;
  DeviceSession& m_session;
  std::atomic<bool> m_open{false};
  QObject m_context;
};
