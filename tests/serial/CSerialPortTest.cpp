#include <gtest/gtest.h>
#include <termios.h>

#include <future>
#include <memory>

#include "tools/unitsim/PseudoTerminal.h"
#include "RecordingOwner.h"
#include "RecordingReporter.h"
#include "TerminalIo.h"
#include "serial/CSerialPort.h"

using terminal_io::ReadExactly;
using terminal_io::WriteAll;

namespace {

constexpr qint32 kBaud = 460800;

QByteArray PatternBytes(int count) {
  QByteArray bytes;
  for (int i = 0; i < count; ++i) bytes.append(char((i * 7 + i / 256) & 0xFF));
  return bytes;
}

class CSerialPortTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    m_terminal = PseudoTerminal::Open(&error);
    ASSERT_TRUE(m_terminal) << error;
    m_path = QString::fromStdString(m_terminal->DevicePath());
  }

  // Opens and starts the port on the terminal in `mode`.
  void OpenStarted(ReceiveMode mode) {
    m_owner.SetMode(mode);
    ASSERT_TRUE(m_port.InitialisePort(m_owner, m_path, kBaud));
    ASSERT_TRUE(m_port.StartWorker());
  }

  // Takes the next hand-over, which must start with `expected`.
  RecordingOwner::HandOver ExpectHandOver(char expected) {
    auto handOver = m_owner.NextHandOver();
    EXPECT_TRUE(handOver.has_value());
    if (!handOver) return {};
    EXPECT_TRUE(handOver->bytes.startsWith(expected)) << handOver->bytes.toStdString();
    return *handOver;
  }
  // Takes hand-overs, handling each whole, until `count` bytes have come.
  QByteArray HandOverBytes(int count) {
    QByteArray all;
    while (all.size() < count) {
      auto handOver = m_owner.NextHandOver();
      if (!handOver) break;
      all += handOver->bytes;
      handOver->receipt.Complete();
    }
    return all;
  }

  std::unique_ptr<PseudoTerminal> m_terminal;
  QString m_path;
  RecordingOwner m_owner;
  RecordingReporter m_reporter;
  CSerialPort m_port{m_reporter};
};

TEST_F(CSerialPortTest, OpensAsEightNoneOneAtTheBaudRateWithoutABox) {
  OpenStarted(ReceiveMode::Idle);
  termios settings{};
  ASSERT_TRUE(m_terminal->DeviceSettings(&settings));
  EXPECT_EQ(cfgetospeed(&settings), speed_t(B460800));
  EXPECT_EQ(settings.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
  // A pseudo-terminal has no RTS line; that is no fault worth a box.
  EXPECT_TRUE(m_reporter.Texts().isEmpty());
  EXPECT_TRUE(m_port.IsWorkerAlive());
}

TEST_F(CSerialPortTest, BulkModeDeliversChunksOfAtMostAThousandBytesInOrder) {
  OpenStarted(ReceiveMode::Live);
  const QByteArray sent = PatternBytes(2500);
  WriteAll(*m_terminal, sent);

  ASSERT_TRUE(m_owner.WaitForChunkBytes(2500));
  QByteArray received;
  for (const QByteArray& chunk : m_owner.Chunks()) {
    EXPECT_GE(chunk.size(), 1);
    EXPECT_LE(chunk.size(), 1000);
    received += chunk;
  }
  EXPECT_EQ(received, sent);
}

TEST_F(CSerialPortTest, CommandModeHandsOverTheBytesInOrder) {
  OpenStarted(ReceiveMode::Command);
  WriteAll(*m_terminal, "*PA");
  WriteAll(*m_terminal, " AUTO");
  EXPECT_EQ(HandOverBytes(8), QByteArray("*PA AUTO"));
  EXPECT_TRUE(m_owner.Chunks().empty());
}

TEST_F(CSerialPortTest, BytesTheOwnerLeavesAfterAModeChangeTakeTheBulkRoad) {
  OpenStarted(ReceiveMode::Command);
  WriteAll(*m_terminal, "OK\r\nAABB");
  auto first = ExpectHandOver('O');
  // The owner's handling of the line's end turns the mode to live frames.
  const int handled = std::min<int>(4, int(first.bytes.size()));
  m_owner.SetMode(ReceiveMode::Live);
  first.receipt.Complete(size_t(handled));
  const QByteArray rest = QByteArray("OK\r\nAABB").mid(handled);
  ASSERT_TRUE(m_owner.WaitForChunkBytes(size_t(rest.size())));
  QByteArray received;
  for (const QByteArray& chunk : m_owner.Chunks()) received += chunk;
  EXPECT_EQ(received, rest);
}

TEST_F(CSerialPortTest, AByteReadBeforeTheModeTurnsToBulkIsNotLost) {
  OpenStarted(ReceiveMode::Upgrade);
  WriteAll(*m_terminal, "C");
  OwnerReceipt first = ExpectHandOver('C').receipt;
  m_owner.SetMode(ReceiveMode::Idle);
  first.Complete();
  WriteAll(*m_terminal, "xy");
  ASSERT_TRUE(m_owner.WaitForChunkBytes(2));
  QByteArray received;
  for (const QByteArray& chunk : m_owner.Chunks()) received += chunk;
  EXPECT_EQ(received, QByteArray("xy"));
}

TEST_F(CSerialPortTest, AWriteSendsAllItsBytesAndDropsUnreadInputFirst) {
  OpenStarted(ReceiveMode::Command);
  WriteAll(*m_terminal, "X");
  // The worker holds the batch until this thread completes it; what the
  // unit sends meanwhile stays unread.
  OwnerReceipt held = ExpectHandOver('X').receipt;
  WriteAll(*m_terminal, "YZ");
  const QByteArray command("*PA AUTO SN?\r\n");
  ASSERT_EQ(command.size(), 14);
  ASSERT_TRUE(m_port.QueueWrite(command));
  held.Complete();

  EXPECT_EQ(ReadExactly(*m_terminal, 14), command);
  WriteAll(*m_terminal, "M");
  EXPECT_EQ(HandOverBytes(1), QByteArray("M"));
}

TEST_F(CSerialPortTest, AWriteThatKeepsInputLeavesTheUnitsAnswerToBeRead) {
  OpenStarted(ReceiveMode::Upgrade);
  WriteAll(*m_terminal, "C");
  OwnerReceipt held = ExpectHandOver('C').receipt;
  WriteAll(*m_terminal, "\x06");  // the unit answers before the write went out
  ASSERT_TRUE(m_port.QueueWrite(QByteArray("block"), false));
  held.Complete();
  EXPECT_EQ(ReadExactly(*m_terminal, 5), QByteArray("block"));
  EXPECT_EQ(HandOverBytes(1), QByteArray("\x06"));
}

TEST_F(CSerialPortTest, TwoQuickWritesBothArriveInOrder) {
  OpenStarted(ReceiveMode::Command);
  ASSERT_TRUE(m_port.QueueWrite(QByteArray("*PA AUTO STOP\r\n")));
  ASSERT_TRUE(m_port.QueueWrite(QByteArray("*PA AUTO SN?\r\n")));
  EXPECT_EQ(ReadExactly(*m_terminal, 29), QByteArray("*PA AUTO STOP\r\n*PA AUTO SN?\r\n"));
}

TEST_F(CSerialPortTest, ShutdownCompletesWhileTheWorkerWaitsForItsOwner) {
  OpenStarted(ReceiveMode::Command);
  WriteAll(*m_terminal, "AB");
  OwnerReceipt neverCompleted = ExpectHandOver('A').receipt;

  auto shutdown = std::async(std::launch::async, [this] { m_port.ShutdownPort(); });
  ASSERT_EQ(shutdown.wait_for(RecordingOwner::kPatience), std::future_status::ready);
  EXPECT_FALSE(m_port.IsWorkerAlive());
  EXPECT_FALSE(m_port.QueueWrite(QByteArray("late")));
  neverCompleted.Complete();  // an owner answering late does no harm
  // Closing the port oneself is no loss of the device.
  EXPECT_EQ(m_owner.PortGoneCount(), 0);
  EXPECT_TRUE(m_reporter.Texts().isEmpty());
}

TEST_F(CSerialPortTest, AbsentOrHeldPortsFailToOpenWithoutABox) {
  EXPECT_FALSE(m_port.StartWorker());
  EXPECT_FALSE(m_port.InitialisePort(m_owner, QStringLiteral("/dev/tavrik-no-such-port"), kBaud));

  RecordingOwner otherOwner;
  CSerialPort holder(m_reporter);
  ASSERT_TRUE(holder.InitialisePort(otherOwner, m_path, kBaud));
  EXPECT_FALSE(m_port.InitialisePort(m_owner, m_path, kBaud));
  EXPECT_FALSE(m_port.IsWorkerAlive());
  EXPECT_FALSE(m_port.QueueWrite(QByteArray("x")));
  EXPECT_TRUE(m_reporter.Texts().isEmpty());

  holder.ShutdownPort();
  EXPECT_TRUE(m_port.InitialisePort(m_owner, m_path, kBaud));
}

TEST_F(CSerialPortTest, ALineSettingThatFailsIsReportedAndThePortStaysOpen) {
  ASSERT_TRUE(m_port.InitialisePort(m_owner, m_path, 0));
  ASSERT_EQ(m_reporter.Texts().size(), 1);
  EXPECT_EQ(m_reporter.Titles().front(), QStringLiteral("Application Error"));
  const QString text = m_reporter.Texts().front();
  EXPECT_TRUE(text.startsWith("WARNING:  BuildCommDCB() Failed with the following error: \n"))
      << text.toStdString();
  EXPECT_TRUE(text.endsWith("\nPort: " + m_path + "\n")) << text.toStdString();

  // A write queued before the start goes out once started.
  EXPECT_FALSE(m_port.IsWorkerAlive());
  ASSERT_TRUE(m_port.QueueWrite(QByteArray("ok")));
  ASSERT_TRUE(m_port.StartWorker());
  EXPECT_EQ(ReadExactly(*m_terminal, 2), QByteArray("ok"));
}

TEST_F(CSerialPortTest, AHangUpIsReportedOnceAndTheOwnerToldThePortIsGone) {
  OpenStarted(ReceiveMode::Live);
  m_terminal->CloseMaster();

  ASSERT_TRUE(m_owner.WaitForPortGone());
  EXPECT_FALSE(m_port.IsWorkerAlive());
  EXPECT_FALSE(m_port.StartWorker());
  m_port.ShutdownPort();  // joins the worker: nothing can be reported after this
  ASSERT_EQ(m_reporter.Texts().size(), 1);
  EXPECT_TRUE(m_reporter.Texts().front().startsWith("WARNING:  ReadFile() Failed"));
  EXPECT_EQ(m_owner.PortGoneCount(), 1);
}

}  // namespace
