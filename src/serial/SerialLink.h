#pragma once

#include <QSerialPort>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include "serial/OwnerWait.h"
#include "serial/PortFailure.h"
#include "serial/PortOpenFailure.h"
#include "serial/PortWait.h"
#include "serial/WriteQueue.h"

class PortErrorReporter;
class SerialPortOwner;

// What a CSerialPort and its worker thread share for one opening of a port.
// Both hold it, so it outlives a worker that a bounded shutdown had to leave
// behind. Everything here is safe to use from both threads.
class SerialLink {
 public:
  // Opening → Opened → StartRequested → Running → Ended; a port that cannot
  // be opened goes from Opening straight to Ended.
  enum class Phase { Opening, Opened, StartRequested, Running, Ended };

  // Opens a port for reading and writing; the error QSerialPort reports.
  // Opens the port and says why it could not.
  using Opener = std::function<PortOpenFailure(QSerialPort&)>;

  SerialLink(SerialPortOwner& owner, PortErrorReporter& reporter, QString portName, Opener opener);

  PortOpenFailure Open(QSerialPort& port) const { return m_opener(port); }

  SerialPortOwner& Owner() const { return m_owner; }
  const QString& PortName() const { return m_portName; }
  OwnerWait& Wait() { return m_ownerWait; }
  PortWait& LineWait() { return m_lineWait; }
  WriteQueue& Writes() { return m_writes; }

  void SetPhase(Phase phase);
  // Opened → StartRequested, and the port counts as alive; false in any
  // other phase.
  bool RequestStart();
  // Blocks until the phase is no longer `from` or a stop was requested.
  Phase AwaitPhaseChange(Phase from);
  bool AwaitEnded(std::chrono::milliseconds bound);

  // The first line-setting step that failed while opening; set before Opened.
  void SetConfigurationFailure(PortFailure failure);
  // Why opening failed; set before the phase goes from Opening to Ended.
  void SetOpenFailure(PortOpenFailure failure) { m_openFailure.store(failure); }
  PortOpenFailure OpenFailure() const { return m_openFailure.load(); }
  std::optional<PortFailure> ConfigurationFailure() const;

  // Set by the shutdown path; ends every wait of the worker.
  void RequestStop();
  bool StopRequested() const { return m_stopRequested.load(std::memory_order_acquire); }

  // True while the worker runs and the port is usable for sending.
  void SetAlive(bool alive) { m_alive.store(alive, std::memory_order_release); }
  bool IsAlive() const { return m_alive.load(std::memory_order_acquire); }

  // Builds the "Application Error" box for a failed step and shows it. With
  // waitForUser (the worker thread) this returns once the box was closed or
  // the port shuts down, so a report holds the worker as a modal box would.
  void ReportPortError(const PortFailure& failure, bool waitForUser);

  static QString ErrorBoxText(const PortFailure& failure, const QString& portName);
  static QString ErrorBoxTitle() { return QStringLiteral("Application Error"); }

 private:
  SerialPortOwner& m_owner;
  PortErrorReporter& m_reporter;
  const QString m_portName;
  const Opener m_opener;
  OwnerWait m_ownerWait;
  PortWait m_lineWait;
  WriteQueue m_writes;
  std::atomic<bool> m_stopRequested{false};
  std::atomic<bool> m_alive{false};
  std::atomic<PortOpenFailure> m_openFailure{PortOpenFailure::None};

  mutable std::mutex m_phaseLock;
  std::condition_variable m_phaseChanged;
  Phase m_phase = Phase::Opening;
  std::optional<PortFailure> m_configurationFailure;
};
