#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "serial/PortOpenFailure.h"
#include "serial/SerialLink.h"

class PortErrorReporter;
class SerialPortOwner;

// The serial port with its own worker thread. The owner's thread opens
// (InitialisePort), starts (StartWorker) and closes (ShutdownPort) it; the
// worker thread does all reading and writing and hands received bytes to the
// SerialPortOwner. System errors are shown through the PortErrorReporter.
class CSerialPort {
 public:
  explicit CSerialPort(PortErrorReporter& reporter);
  ~CSerialPort();
  CSerialPort(const CSerialPort&) = delete;
  CSerialPort& operator=(const CSerialPort&) = delete;

  // Opens `portName` (a device name such as ttyUSB0, or any path) exclusively
  // at `baudRate`, 8N1, RTS asserted, and discards everything pending. A port
  // that is absent or in use gives false without a box. A line setting that
  // fails is reported in a box and the port stays open (true). Stops a running
  // worker first.
  bool InitialisePort(SerialPortOwner& owner, const QString& portName, qint32 baudRate);
  // Why the last InitialisePort gave false.
  PortOpenFailure LastOpenFailure() const { return m_lastOpenFailure.load(); }
  // How ports are opened, for tests that need a failure the system would
  // not give them (a refused permission, when the tests run as root).
  void SetOpener(SerialLink::Opener opener) { m_opener = std::move(opener); }
  // Starts reading; returns once the worker has discarded what was pending,
  // so every byte that arrives afterwards is delivered. The port counts as
  // open for sending from here on.
  bool StartWorker();
  // Any thread. Queues bytes for the worker, behind any earlier write. With
  // purgeInputFirst the write first discards unread input, so a command's
  // reply is never mixed with older bytes; the caller decides per write.
  // False when no port is open.
  bool QueueWrite(const uint8_t* bytes, size_t count, bool purgeInputFirst = true);
  bool QueueWrite(const QByteArray& bytes, bool purgeInputFirst = true);
  // Stops the worker, also one waiting for its owner, closes the port and
  // joins the worker thread.
  void ShutdownPort();
  // True from StartWorker until ShutdownPort or until the device went away.
  bool IsWorkerAlive() const;

 private:
  bool StopWorker();

  PortErrorReporter& m_reporter;
  SerialLink::Opener m_opener;
  std::atomic<PortOpenFailure> m_lastOpenFailure{PortOpenFailure::None};
  // Guards the members below against QueueWrite and IsWorkerAlive from other
  // threads.
  mutable std::mutex m_lock;
  std::shared_ptr<SerialLink> m_link;
  std::thread m_thread;
};
