#include "serial/SerialWorker.h"

#include <QEventLoop>
#include <algorithm>

#include "serial/LineSettings.h"
#include "serial/SerialLink.h"
#include "serial/SerialPortOwner.h"
#include "serial/SerialTrace.h"

namespace {

constexpr int kChunkSize = 1000;
// The most the per-byte road hands over at once: far more than a reply line,
// and what a fast stream brings in while the GUI thread handles one batch.
constexpr qint64 kBatchSize = 8192;
constexpr qint64 kSettleBelowBytes = kChunkSize;
constexpr int kSettleMs = 8;
// A write must be out within this constant plus this much per byte.
constexpr int kWriteTimeoutConstantMs = 1000;
constexpr int kWriteTimeoutPerByteMs = 1000;

const QString kReadStep = QStringLiteral("ReadFile()");
const QString kWriteStep = QStringLiteral("WriteFile()");

QString HangUpText() {
  return QStringLiteral("The device has hung up or was disconnected.");
}

}  // namespace

SerialWorker::SerialWorker(std::shared_ptr<SerialLink> link) : m_link(std::move(link)) {}

SerialWorker::~SerialWorker() = default;

void SerialWorker::Run(qint32 baudRate) {
  // QSerialPort registers socket notifiers, which want an event dispatcher on
  // their thread; an event loop object provides one. It never runs: this
  // thread waits in PortWait instead.
  QEventLoop dispatcherForThePort;
  if (Open(baudRate)) {
    m_link->SetPhase(SerialLink::Phase::Opened);
    const SerialLink::Phase next = m_link->AwaitPhaseChange(SerialLink::Phase::Opened);
    if (next == SerialLink::Phase::StartRequested && !m_link->StopRequested()) {
      m_port->clear(QSerialPort::AllDirections);
      m_link->SetPhase(SerialLink::Phase::Running);
      Serve();
    }
  }
  m_port.reset();
  m_link->SetAlive(false);
  // The last step: the owner may release the thread once it sees this.
  m_link->SetPhase(SerialLink::Phase::Ended);
}

bool SerialWorker::Open(qint32 baudRate) {
  m_port = std::make_unique<QSerialPort>();
  m_port->setPortName(m_link->PortName());
  const PortOpenFailure failure = m_link->Open(*m_port);
  if (failure != PortOpenFailure::None) {
    m_link->SetOpenFailure(failure);
    return false;
  }
  if (auto failure = LineSettings::Apply(*m_port, baudRate)) {
    m_link->SetConfigurationFailure(std::move(*failure));
  }
  m_port->clear(QSerialPort::AllDirections);
  return true;
}

void SerialWorker::Serve() {
  while (m_port && !m_link->StopRequested()) {
    FlushWrite();
    if (!m_port) return;
    const PortWait::Events events =
        m_link->LineWait().Wait(*m_port, m_port->bytesToWrite() > 0, MillisecondsToWriteDeadline());
    if (m_link->StopRequested()) return;
    if (events.hungUp) {
      EndAsGone(HangUpText());
      return;
    }
    if (events.writable) PushOutput();
    if (events.readable && m_port && ReadIntoBuffer()) {
      // A paced stream arrives a few bytes at a time; letting it gather for
      // a moment turns hundreds of tiny reads a second into a few fuller
      // chunks. A fast stream (full reads), replies and boot-loader bytes
      // are not held back, and a queued write or a shutdown still ends the
      // pause at once.
      if (DrainReceived() < kSettleBelowBytes &&
          !IsPerByteMode(m_link->Owner().CurrentReceiveMode())) {
        m_link->LineWait().Settle(kSettleMs);
      }
    }
    if (m_port) CheckWriteDeadline();
  }
}

bool SerialWorker::ReadIntoBuffer() {
  if (m_port->waitForReadyRead(0)) {
    m_readErrorsInARow = 0;
    return true;
  }
  const QSerialPort::SerialPortError error = m_port->error();
  if (error == QSerialPort::ResourceError) {
    EndAsGone(m_port->errorString());
  } else if (error == QSerialPort::ReadError) {
    OnReadError();
  } else {
    m_port->clearError();  // a poll that found nothing after all
  }
  return false;
}

void SerialWorker::OnReadError() {
  const QString text = m_port->errorString();
  // A read error that repeats is a line that is gone; one box for it.
  if (++m_readErrorsInARow > 1) {
    EndAsGone(text);
    return;
  }
  m_port->clearError();
  m_link->ReportPortError(PortFailure{kReadStep, text}, true);
}

qint64 SerialWorker::DrainReceived() {
  SerialPortOwner& owner = m_link->Owner();
  qint64 bulkBytes = 0;
  // A waiting write goes first: it drops the unread input anyway, and the
  // command it carries should not wait behind a stream of frames.
  while (!m_link->StopRequested() && !m_link->Writes().HasPending() &&
         m_port->bytesAvailable() > 0) {
    if (IsPerByteMode(owner.CurrentReceiveMode())) {
      bulkBytes += HandOverBatch();
    } else {
      uint8_t chunk[kChunkSize];
      const qint64 count = m_port->read(reinterpret_cast<char*>(chunk), kChunkSize);
      if (count <= 0) return bulkBytes;
      owner.AcceptChunk(chunk, static_cast<int>(count));
      bulkBytes += count;
    }
  }
  return bulkBytes;
}

qint64 SerialWorker::HandOverBatch() {
  uint8_t batch[kBatchSize];
  const qint64 count = m_port->read(reinterpret_cast<char*>(batch), kBatchSize);
  if (count <= 0) return 0;
  SerialPortOwner& owner = m_link->Owner();
  // The mode may have changed since it was read; the bytes then take the
  // bulk road rather than being lost.
  size_t handled = 0;
  if (IsPerByteMode(owner.CurrentReceiveMode())) {
    OwnerWait& wait = m_link->Wait();
    OwnerReceipt receipt = wait.NewReceipt();
    owner.HandOverBytes(batch, size_t(count), receipt);
    const std::optional<size_t> taken = wait.WaitFor(std::move(receipt));
    if (!taken) return 0;  // the port is shutting down
    handled = std::min(*taken, size_t(count));
  }
  // What the owner left, after its handling changed the mode, goes on as
  // chunks of the bulk road, in order.
  qint64 bulkBytes = 0;
  for (size_t at = handled; at < size_t(count);) {
    const size_t piece = std::min(size_t(count) - at, size_t(kChunkSize));
    owner.AcceptChunk(batch + at, int(piece));
    at += piece;
    bulkBytes += qint64(piece);
  }
  return bulkBytes;
}

void SerialWorker::FlushWrite() {
  if (!m_link->Writes().HasPending()) return;
  for (const WriteQueue::Write& write : m_link->Writes().TakeAll()) {
    if (m_link->StopRequested()) return;
    const QByteArray& bytes = write.bytes;
    // Whatever the unit sent before a command would be taken for its reply.
    if (write.purgeInputFirst) m_port->clear(QSerialPort::Input);
    if (m_port->write(bytes) != bytes.size()) {
      const QString text = m_port->errorString();
      m_port->clearError();
      m_link->ReportPortError(PortFailure{kWriteStep, text}, true);
      continue;
    }
    m_unsentBatchLength += bytes.size();
  }
  // The bytes go out when the line has room (PushOutput); the port class
  // would take a full line for a write error.
  if (m_port->bytesToWrite() > 0 && !m_writeDeadline) {
    m_writeDeadline = Clock::now() + std::chrono::milliseconds(kWriteTimeoutConstantMs) +
                      std::chrono::milliseconds(kWriteTimeoutPerByteMs) * m_port->bytesToWrite();
  }
}

void SerialWorker::PushOutput() {
  const qint64 before = m_port->bytesToWrite();
  if (before == 0) return;
  if (!m_port->flush() && m_port->error() != QSerialPort::NoError) {
    const QSerialPort::SerialPortError error = m_port->error();
    const QString text = m_port->errorString();
    if (error == QSerialPort::ResourceError) {
      EndAsGone(text);
      return;
    }
    m_port->clearError();
    m_link->ReportPortError(PortFailure{kWriteStep, text}, true);
  }
  const qint64 after = m_port->bytesToWrite();
  m_unsentBatchSent += before - after;
  if (after == 0) {
    m_writeDeadline.reset();
    m_unsentBatchLength = 0;
    m_unsentBatchSent = 0;
  }
}

int SerialWorker::MillisecondsToWriteDeadline() const {
  if (!m_writeDeadline) return -1;
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(*m_writeDeadline - Clock::now()).count();
  return int(std::clamp<decltype(left)>(left, 0, 60'000));
}

void SerialWorker::CheckWriteDeadline() {
  if (!m_writeDeadline || Clock::now() < *m_writeDeadline) return;
  TraceSerial(QStringLiteral("WARNING: WriteFile() error.. Bytes Sent: %1; Message Length: %2\n")
                  .arg(m_unsentBatchSent)
                  .arg(m_unsentBatchLength));
  m_port->clear(QSerialPort::Output);
  m_writeDeadline.reset();
  m_unsentBatchLength = 0;
  m_unsentBatchSent = 0;
}

void SerialWorker::EndAsGone(const QString& systemError) {
  m_port.reset();
  m_link->SetAlive(false);
  m_link->ReportPortError(PortFailure{kReadStep, systemError}, true);
  if (!m_link->StopRequested()) m_link->Owner().OnPortGone();
}
