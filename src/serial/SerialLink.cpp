#include "serial/SerialLink.h"

#include "serial/PortErrorReporter.h"

SerialLink::SerialLink(SerialPortOwner& owner, PortErrorReporter& reporter, QString portName,
                       Opener opener)
    : m_owner(owner),
      m_reporter(reporter),
      m_portName(std::move(portName)),
      m_opener(std::move(opener)) {}

void SerialLink::SetPhase(Phase phase) {
  std::lock_guard guard(m_phaseLock);
  m_phase = phase;
  m_phaseChanged.notify_all();
}

bool SerialLink::RequestStart() {
  std::lock_guard guard(m_phaseLock);
  if (m_phase != Phase::Opened) return false;
  m_phase = Phase::StartRequested;
  // Alive from here, so a command sent right after opening is not refused;
  // set with the phase, so the worker can only clear it afterwards.
  SetAlive(true);
  m_phaseChanged.notify_all();
  return true;
}

SerialLink::Phase SerialLink::AwaitPhaseChange(Phase from) {
  std::unique_lock guard(m_phaseLock);
  m_phaseChanged.wait(guard, [&] { return m_phase != from || StopRequested(); });
  return m_phase;
}

bool SerialLink::AwaitEnded(std::chrono::milliseconds bound) {
  std::unique_lock guard(m_phaseLock);
  return m_phaseChanged.wait_for(guard, bound, [&] { return m_phase == Phase::Ended; });
}

void SerialLink::SetConfigurationFailure(PortFailure failure) {
  std::lock_guard guard(m_phaseLock);
  m_configurationFailure = std::move(failure);
}

std::optional<PortFailure> SerialLink::ConfigurationFailure() const {
  std::lock_guard guard(m_phaseLock);
  return m_configurationFailure;
}

void SerialLink::RequestStop() {
  {
    std::lock_guard guard(m_phaseLock);
    m_stopRequested.store(true, std::memory_order_release);
    m_phaseChanged.notify_all();
  }
  m_ownerWait.Release();
  m_lineWait.Wake();
}

void SerialLink::ReportPortError(const PortFailure& failure, bool waitForUser) {
  OwnerReceipt receipt = m_ownerWait.NewReceipt();
  m_reporter.ShowPortError(ErrorBoxTitle(), ErrorBoxText(failure, m_portName), receipt);
  if (waitForUser) m_ownerWait.WaitFor(std::move(receipt));
}

QString SerialLink::ErrorBoxText(const PortFailure& failure, const QString& portName) {
  return QStringLiteral("WARNING:  %1 Failed with the following error: \n%2\nPort: %3\n")
      .arg(failure.step, failure.systemError, portName);
}
