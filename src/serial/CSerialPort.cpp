#include "serial/CSerialPort.h"

#include <system_error>

#include "serial/SerialLink.h"
#include "serial/SerialTrace.h"
#include "serial/SerialWorker.h"

namespace {

// How long a shutdown waits for the worker to leave its loop.
constexpr std::chrono::milliseconds kShutdownBound{3000};

}  // namespace

CSerialPort::CSerialPort(PortErrorReporter& reporter)
    : m_reporter(reporter), m_opener([](QSerialPort& port) {
        if (port.open(QIODevice::ReadWrite)) return PortOpenFailure::None;
        return OpenFailureOf(port.error(), UserMayUseDevice(port.portName()));
      }) {}

CSerialPort::~CSerialPort() {
  ShutdownPort();
}

bool CSerialPort::InitialisePort(SerialPortOwner& owner, const QString& portName, qint32 baudRate) {
  if (StopWorker()) TraceSerial(QStringLiteral("Thread ended\n"));

  // The port is created, used and closed on the worker thread alone.
  auto link = std::make_shared<SerialLink>(owner, m_reporter, portName, m_opener);
  std::thread thread;
  try {
    thread = std::thread([link, baudRate] { SerialWorker(link).Run(baudRate); });
  } catch (const std::system_error&) {
    m_lastOpenFailure.store(PortOpenFailure::NotFoundOrBusy);
    return false;  // no thread to serve the port: as good as a port that cannot be opened
  }

  if (link->AwaitPhaseChange(SerialLink::Phase::Opening) != SerialLink::Phase::Opened) {
    thread.join();
    m_lastOpenFailure.store(link->OpenFailure());
    return false;
  }
  m_lastOpenFailure.store(PortOpenFailure::None);
  {
    std::lock_guard guard(m_lock);
    m_link = link;
    m_thread = std::move(thread);
  }
  if (auto failure = link->ConfigurationFailure()) link->ReportPortError(*failure, false);
  TraceSerial(QStringLiteral("Initialisation for communicationport %1 completed.\n"
                             "Use Startmonitor to communicate.\n")
                  .arg(portName));
  return true;
}

bool CSerialPort::StartWorker() {
  std::shared_ptr<SerialLink> link;
  {
    std::lock_guard guard(m_lock);
    link = m_link;
  }
  if (!link) return false;
  if (!link->RequestStart()) return link->IsAlive();  // started before, or ended
  if (link->AwaitPhaseChange(SerialLink::Phase::StartRequested) != SerialLink::Phase::Running) {
    return false;
  }
  TraceSerial(QStringLiteral("Thread started\n"));
  return true;
}

bool CSerialPort::QueueWrite(const uint8_t* bytes, size_t count, bool purgeInputFirst) {
  return QueueWrite(QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(count)),
                    purgeInputFirst);
}

bool CSerialPort::QueueWrite(const QByteArray& bytes, bool purgeInputFirst) {
  std::lock_guard guard(m_lock);
  if (!m_link) return false;
  m_link->Writes().Push(WriteQueue::Write{bytes, purgeInputFirst});
  m_link->LineWait().Wake();
  return true;
}

void CSerialPort::ShutdownPort() {
  if (StopWorker()) TraceSerial(QStringLiteral("Threadended\n"));
}

bool CSerialPort::IsWorkerAlive() const {
  std::lock_guard guard(m_lock);
  return m_link && m_link->IsAlive();
}

bool CSerialPort::StopWorker() {
  std::shared_ptr<SerialLink> link;
  std::thread thread;
  {
    std::lock_guard guard(m_lock);
    link = std::move(m_link);
    thread = std::move(m_thread);
  }
  if (!thread.joinable()) return false;

  // Releases a worker that waits for this thread (a byte hand-over or an
  // error box) or for the line, then lets it close the port. Every wait of
  // the worker ends on the stop and the owner's AcceptChunk never blocks, so
  // the join is bounded; the worker never outlives the owner and reporter it
  // refers to.
  link->SetAlive(false);
  link->RequestStop();
  if (!link->AwaitEnded(kShutdownBound)) {
    TraceSerial(QStringLiteral("WARNING: the worker is slow to end; waiting for it\n"));
  }
  thread.join();
  return true;
}
