#pragma once

#include <QSerialPort>
#include <chrono>
#include <memory>
#include <optional>

class SerialLink;

// The half of CSerialPort that runs on the worker thread: it creates the
// QSerialPort there, opens and configures it, waits for the start and then
// serves the line (reads, writes, reports) until the port shuts down or the
// device goes away. No Qt event loop is involved; the thread waits only in
// PortWait and OwnerWait, both of which the shutdown path releases.
class SerialWorker {
 public:
  explicit SerialWorker(std::shared_ptr<SerialLink> link);
  ~SerialWorker();
  SerialWorker(const SerialWorker&) = delete;
  SerialWorker& operator=(const SerialWorker&) = delete;

  // The whole life of the worker thread.
  void Run(qint32 baudRate);

 private:
  using Clock = std::chrono::steady_clock;

  bool Open(qint32 baudRate);
  void Serve();
  bool ReadIntoBuffer();
  // Returns the bytes that took the bulk road.
  qint64 DrainReceived();
  // Returns the bytes that took the bulk road after all.
  qint64 HandOverBatch();
  void FlushWrite();
  void PushOutput();
  int MillisecondsToWriteDeadline() const;
  void CheckWriteDeadline();
  void OnReadError();
  void EndAsGone(const QString& systemError);

  std::shared_ptr<SerialLink> m_link;
  std::unique_ptr<QSerialPort> m_port;
  int m_readErrorsInARow = 0;
  // Bytes handed to the port since its output was last empty, how many of
  // them went out, and when the rest must be out by.
  std::optional<Clock::time_point> m_writeDeadline;
  qint64 m_unsentBatchLength = 0;
  qint64 m_unsentBatchSent = 0;
};
