// Recording and replay from the window against the virtual unit: the log is
// what the unit sent, nothing less, across stops, port closes and failures;
// a replay shows the recorded frames with the port closed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>
#include <system_error>

#include "VirtualUnit.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/RecorderPanel.h"
#include "mainwindow/ReplayPanel.h"
#include "protocol/HexText.h"
#include "protocol/LogReplay.h"
#include "protocol/RawLogRecorder.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"
#include "tests/protocol/TestFrames.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bytes of a raw log; the text must be exact hex groups.
QByteArray Decoded(const QByteArray& text) {
  EXPECT_EQ(text.size() % 3, 0);
  QByteArray bytes(text.size() / 3, '\0');
  const size_t n = DecodeHexText(text.constData(), size_t(text.size()),
                                 reinterpret_cast<uint8_t*>(bytes.data()));
  EXPECT_EQ(n, size_t(bytes.size()));
  return bytes;
}

class RecordReplay : public ::testing::Test {
 protected:
  void TearDown() override {
    f.reset();
    unit.reset();
  }
  QString Path(const char* name) const { return dir.filePath(name); }
  void StartUnit(QStringList args) {
    unit = std::make_unique<VirtualUnit>(QStringList{"--tee", Path("tee.bin")} + args);
    ASSERT_FALSE(unit->Device().isEmpty());
  }
  // The unit's own copy of all it sent, complete once it has ended.
  QByteArray Sent() {
    unit.reset();
    return ReadAll(Path("tee.bin"));
  }
  const ControlMap& c() const { return f->window->Controls(); }
  void Click(int id) { c().As<QPushButton>(id)->click(); }
  void OpenPort() {
    c().As<QComboBox>(1041)->setEditText(unit->Device());
    c().As<QComboBox>(1040)->setCurrentText("921600");
    Click(1008);
    ASSERT_EQ(c().Text(1008), "关闭");
  }
  void Record(const char* name) {
    f->services.QueueFileName(Path(name));
    Click(1068);
    ASSERT_TRUE(f->window->Recorder().Recording());
  }
  void WaitCharacters(uint64_t characters) {
    ASSERT_TRUE(ProcessEventsUntil(
        [&] { return f->window->Recorder().LogCharacters() >= characters; }, 30000));
  }
  void ExpectContiguous(const QByteArray& log, const QByteArray& sent) {
    ASSERT_FALSE(log.isEmpty());
    EXPECT_GE(sent.indexOf(log), 0) << "the log is not one run of what the unit sent";
  }

  QTemporaryDir dir;
  std::unique_ptr<VirtualUnit> unit;
  std::unique_ptr<MainWindowFixture> f = std::make_unique<MainWindowFixture>();
};

TEST_F(RecordReplay, ALogIsOneRunOfWhatTheUnitSentCleanOrNoisy) {
  for (const bool noisy : {false, true}) {
    SCOPED_TRACE(noisy ? "noise" : "static");
    f = std::make_unique<MainWindowFixture>();
    QFile::remove(Path("tee.bin"));
    StartUnit(noisy ? QStringList{"--baud", "921600", "--rate", "0", "--noise", "20", "--seed", "3"}
                    : QStringList{"--static", "--baud", "921600", "--rate", "0"});
    OpenPort();
    Record("drive.txt");
    EXPECT_FALSE(c().Get(1068)->isEnabled());
    EXPECT_FALSE(c().Get(1074)->isEnabled());
    EXPECT_TRUE(c().Get(1069)->isEnabled());
    WaitCharacters(3 * 92160 * 10);  // ten seconds of a full 921600-baud line
    Click(1069);
    EXPECT_EQ(f->services.MessageTexts().back(), "保存成功");
    EXPECT_TRUE(c().Get(1068)->isEnabled());
    Click(1008);
    ExpectContiguous(Decoded(ReadAll(Path("drive.txt"))), Sent());
  }
}

TEST_F(RecordReplay, StopsDuringHeavyTrafficNeverLoseEarlierBytes) {
  StartUnit({"--baud", "921600", "--rate", "0"});
  OpenPort();
  QList<QByteArray> logs;
  for (int i = 0; i < 100; ++i) {
    const QString name = QStringLiteral("log%1.txt").arg(i);
    Record(name.toUtf8().constData());
    WaitCharacters(3 * 100);
    Click(1069);
    logs << ReadAll(Path(name.toUtf8().constData()));
  }
  Click(1008);
  const QByteArray sent = Sent();
  for (const QByteArray& log : logs) ExpectContiguous(Decoded(log), sent);
}

TEST_F(RecordReplay, ARecordingSpansAPortCloseAndLeavesRepliesOut) {
  StartUnit({"--static", "--baud", "921600", "--rate", "200"});
  OpenPort();
  Record("span.txt");
  WaitCharacters(3 * 5000);
  Click(1008);  // closed: nothing is written meanwhile
  const uint64_t atClose = f->window->Recorder().LogCharacters();
  ProcessEventsUntil([] { return false; }, 200);
  EXPECT_EQ(f->window->Recorder().LogCharacters(), atClose);
  OpenPort();
  WaitCharacters(atClose + 3 * 5000);
  Click(1159);  // the serial number: a reply on the per-byte road
  ASSERT_TRUE(ProcessEventsUntil(
      [&] { return f->services.MessageTexts().contains("产品的SN=TVK2024A0001\n"); }));
  Click(1069);
  Click(1008);
  const QByteArray log = Decoded(ReadAll(Path("span.txt")));
  const QByteArray sent = Sent();
  EXPECT_FALSE(log.contains("*PA AUTO SN="));
  EXPECT_TRUE(sent.contains("*PA AUTO SN="));
  // Two runs of the stream, one per opening of the port.
  const qsizetype firstRun = qsizetype(atClose / 3);
  ExpectContiguous(log.left(firstRun), sent);
  ExpectContiguous(log.mid(firstRun).left(3000), sent);
}

TEST_F(RecordReplay, AWriteFailureIsReportedOnceAndKeepsWhatWasWritten) {
  StartUnit({"--static", "--baud", "921600", "--rate", "0"});
  OpenPort();
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = 200000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  Record("full.txt");
  const bool stopped =
      ProcessEventsUntil([&] { return !f->window->Recorder().Recording(); }, 30000);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  ASSERT_TRUE(stopped);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !f->services.MessageTexts().isEmpty(); }));
  ASSERT_EQ(f->services.MessageTexts().size(), 1);
  EXPECT_TRUE(f->services.MessageTexts()[0].startsWith(
      QStringLiteral("保存数据出错，已停止保存：") + Path("full.txt") + "\n"))
      << f->services.MessageTexts()[0].toStdString();
  EXPECT_TRUE(c().Get(1068)->isEnabled());
  EXPECT_FALSE(c().Get(1069)->isEnabled());
  Click(1008);
  const QByteArray log = ReadAll(Path("full.txt"));
  EXPECT_EQ(log.size(), 200000);
  ExpectContiguous(Decoded(log.left(log.size() / 3 * 3)), Sent());
}

// The last of the log is still in the stream's buffer when "停止保存" is
// pressed, and the disk refuses it: the user is told, not "保存成功".
TEST_F(RecordReplay, AFailedLastFlushAtTheStopIsTheOneMessage) {
  StartUnit({"--static", "--baud", "921600", "--rate", "200"});
  OpenPort();
  Record("last.txt");
  WaitCharacters(3 * 30000);
  Click(1008);  // nothing more arrives; the recording stays on
  ASSERT_TRUE(f->window->Recorder().Recording());
  const uint64_t written = f->window->Recorder().LogCharacters();
  const uint64_t onDisk = uint64_t(QFileInfo(Path("last.txt")).size());
  ASSERT_GT(written, onDisk + 1) << "nothing left for the last flush";
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = (onDisk + written) / 2;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  Click(1069);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  ProcessEventsUntil([] { return false; }, 100);  // no second box on its way
  EXPECT_EQ(f->services.MessageTexts(),
            QStringList{QStringLiteral("保存数据出错，已停止保存：%1\n%2")
                            .arg(Path("last.txt"),
                                 QString::fromStdString(std::generic_category().message(EFBIG)))})
      << f->services.MessageTexts().join("|").toStdString();
  EXPECT_TRUE(c().Get(1068)->isEnabled());
  EXPECT_TRUE(c().Get(1074)->isEnabled());
  EXPECT_FALSE(c().Get(1069)->isEnabled());
  const QByteArray log = ReadAll(Path("last.txt"));
  EXPECT_EQ(uint64_t(log.size()), limited.rlim_cur);
  ExpectContiguous(Decoded(log.left(log.size() / 3 * 3)), Sent());
}

TEST_F(RecordReplay, ClosingTheWindowDuringARecordingLeavesACompleteLog) {
  StartUnit({"--static", "--baud", "921600", "--rate", "0"});
  OpenPort();
  Record("closing.txt");
  WaitCharacters(3 * 20000);
  f->window->close();  // the scripted box answers OK
  const QByteArray log = ReadAll(Path("closing.txt"));
  EXPECT_EQ(uint64_t(log.size()), f->window->Recorder().LogCharacters());
  ExpectContiguous(Decoded(log), Sent());
}

TEST_F(RecordReplay, AReplayShowsTheLogWithThePortClosedAndEndsWhenAPortOpens) {
  NavSample s = FullSample();
  s.pitch = 7.25;
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 400; ++i) Append(bytes, BuildFrame120(s));
  QFile log(Path("replay.txt"));
  ASSERT_TRUE(log.open(QIODevice::WriteOnly));
  log.write(QByteArray::fromStdString(ToHexText(bytes.data(), bytes.size())));
  log.close();

  // A port opened and closed leaves the mode Idle: the replay still shows.
  StartUnit({"--stopped"});
  OpenPort();
  Click(1146);  // refused before any file is asked for
  EXPECT_EQ(f->services.MessageTexts().back(), "请关闭串口，再回放历史数据");
  Click(1008);
  ASSERT_EQ(f->window->Session().Mode(), ReceiveMode::Idle);

  f->services.QueueFileName(log.fileName());
  Click(1146);  // 1x: four seconds of frames
  ASSERT_TRUE(f->window->Replay().Running());
  EXPECT_FALSE(c().Get(1068)->isEnabled());
  EXPECT_FALSE(c().Get(1069)->isEnabled());
  Click(1146);  // refused before any file is asked for
  EXPECT_EQ(f->services.MessageTexts().back(), "正在回放历史数据，请先停止回放");
  ASSERT_TRUE(ProcessEventsUntil([&] {
    f->services.FireTicks(150);
    return c().Text(1010) == "7.2500°";
  }));
  // Opening the port ends the replay after the step in progress.
  OpenPort();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !f->window->Replay().Running(); }));
  EXPECT_LT(f->window->Replay().Replay().FramesReplayed(), 400u);
  ASSERT_TRUE(ProcessEventsUntil([&] { return c().Get(1068)->isEnabled(); }));
  EXPECT_TRUE(c().Get(1074)->isEnabled());
  Click(1008);

  // At the fastest speed every frame arrives; the buttons come back after.
  c().As<QComboBox>(1173)->setCurrentText("最快");
  f->services.QueueFileName(log.fileName());
  Click(1146);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !f->window->Replay().Running(); }));
  EXPECT_EQ(f->window->Replay().Replay().FramesReplayed(), 400u);
  ASSERT_TRUE(ProcessEventsUntil([&] { return c().Get(1068)->isEnabled(); }));

  f->services.QueueFileName(Path("missing.txt"));
  Click(1146);
  EXPECT_EQ(f->services.MessageTexts().back(), "选择的文件打开失败，请重试");
}

}  // namespace
