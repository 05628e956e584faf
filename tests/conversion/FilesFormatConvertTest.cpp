// The conversion dialog on screen: its controls, the file choices and their
// refusals, a conversion on its own thread with progress and cancel, and the
// converted file checked against the tavrik-convert command.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <array>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <system_error>

#include "ConversionFiles.h"
#include "convert/ConvertedTextFormat.h"
#include "mainwindow/FilesFormatConvert.h"
#include "mainwindow/FilesFormatConvertIds.h"
#include "protocol/ConfigFile.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "services/ScriptedWindowServices.h"
#include "tests/common/EventLoop.h"

namespace fs = std::filesystem;
using namespace FilesFormatConvertIds;

namespace {

constexpr int kConversionBoundMs = 120000;  // only keeps a broken build from hanging

// Holds the conversion thread at its first block until the test lets it go,
// so the test sees a conversion that is surely still running.
class FirstBlockGate {
 public:
  ~FirstBlockGate() { Open(); }

  void operator()(const LogConverter::Step& step) {
    std::unique_lock lock(m_lock);
    if (m_reached) return;
    m_reached = true;
    m_step = step;
    m_changed.wait(lock, [this] { return m_open; });
  }
  bool Reached() {
    std::lock_guard lock(m_lock);
    return m_reached;
  }
  LogConverter::Step Step() {
    std::lock_guard lock(m_lock);
    return m_step;
  }
  void Open() {
    std::lock_guard lock(m_lock);
    m_open = true;
    m_changed.notify_all();
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  bool m_reached = false;
  bool m_open = false;
  LogConverter::Step m_step;
};

// The command's name of each check box's group.
const std::map<int, std::string> kGroupNames = {
    {kVelocityCheck, "vel"},   {kPositionCheck, "pos"},      {kAttitudeCheck, "att"},
    {kGyroCheck, "gyro"},      {kAccelerometerCheck, "acc"}, {kMagnetometerCheck, "mag"},
    {kBarometerCheck, "baro"}, {kTemperatureCheck, "temp"},  {kTimeStampCheck, "time"}};

// What tavrik-convert makes of the log with these groups and configuration.
std::string ConvertWithTool(const fs::path& log, const fs::path& config,
                            const std::vector<int>& checks, const fs::path& out) {
  std::string list;
  for (int id : checks) list += (list.empty() ? "" : ",") + kGroupNames.at(id);
  const std::string command = "'" TAVRIK_CONVERT_BIN "' --config '" + config.string() + "' -c " +
                              list + " '" + log.string() + "' '" + out.string() + "' 2>/dev/null";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  return ReadWholeFile(out);
}

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

class FilesFormatConvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services.SetModalHandler([this](QDialog& shown) {
      ++modalRuns;
      shown.show();
      return kResultOk;
    });
  }
  void TearDown() override {
    gate.Open();
    ProcessEventsUntil([this] { return !dialog.IsConverting(); }, kConversionBoundMs);
    dialog.hide();
  }

  template <typename Widget>
  Widget* Control(int id) {
    for (Widget* widget : dialog.findChildren<Widget*>()) {
      if (widget->property("controlId").toInt() == id) return widget;
    }
    ADD_FAILURE() << "no control " << id;
    return nullptr;
  }
  QPushButton* Button(int id) { return Control<QPushButton>(id); }
  QCheckBox* Check(int id) { return Control<QCheckBox>(id); }
  QString Label(int id) { return Control<QLabel>(id)->text(); }
  QProgressBar* Progress() { return Control<QProgressBar>(kConversionProgress); }
  // A long path is shortened in its middle; the tooltip holds it whole.
  void ExpectShowsPath(int id, const fs::path& path) {
    const QLabel* label = Control<QLabel>(id);
    EXPECT_EQ(label->toolTip(), QString::fromStdString(path.string())) << id;
    EXPECT_TRUE(label->text().endsWith(QString::fromStdString(path.filename().string())))
        << label->text().toStdString();
  }

  void Open() {
    dialog.ShowModal();
    ASSERT_TRUE(dialog.isVisible());
  }
  void Choose(const fs::path& source, const fs::path& target) {
    services.QueueFileName(QString::fromStdString(source.string()));
    Button(kSourceButton)->click();
    services.QueueFileName(QString::fromStdString(target.string()));
    Button(kTargetButton)->click();
  }
  void Tick(const std::vector<int>& checks) {
    for (int id : checks) Check(id)->setChecked(true);
  }
  bool ConvertAndWait() {
    Button(kConvertButton)->click();
    return ProcessEventsUntil([this] { return !dialog.IsConverting(); }, kConversionBoundMs);
  }
  // The program's configuration, given to the live analyser as start-up does.
  void Configure(const std::string& content) {
    WriteWholeFile(config, content);
    ApplyConfig(live, *ReadConfigFile(config.string()));
  }
  void ExpectIdle() {
    for (int id : {kSourceButton, kTargetButton, kConvertButton, kExitButton})
      EXPECT_TRUE(Button(id)->isEnabled()) << id;
    EXPECT_FALSE(Button(kCancelButton)->isEnabled());
  }

  ScratchFolder folder;
  const fs::path log = folder / "log.txt";
  const fs::path target = folder / "converted.txt";
  const fs::path config = folder / "config";
  CPorotocalRtkAnalyse live;  // stands in for the program's analyser
  ScriptedWindowServices services;
  int modalRuns = 0;
  std::string recording;  // the file the program records into, empty when none
  FilesFormatConvert dialog{services, live, [this] { return recording; }};
  FirstBlockGate gate;  // destroyed first: a held conversion goes on before the dialog ends
};

TEST_F(FilesFormatConvertTest, EveryControlCarriesItsNumberAndCaption) {
  Open();
  std::set<int> ids;
  for (QWidget* widget : dialog.findChildren<QWidget*>()) {
    const QVariant id = widget->property("controlId");
    if (id.isValid()) ids.insert(id.toInt());
  }
  EXPECT_EQ(ids, (std::set<int>{1, 1129, 1134, 1135, 1136, 1137, 1138, 1139, 1140, 1141, 1144, 1146,
                                1147, 1149, 1150, 1162, 1163, 1164}));
  EXPECT_EQ(dialog.property("controlId").toInt(), 147);
  EXPECT_EQ(dialog.windowTitle(), Text("文件转换"));

  const std::map<int, const char*> buttons = {
      {1146, "选择源文件"}, {1147, "选择保存文件"}, {1129, "转换"}, {1, "退出"}, {1164, "取消"}};
  for (const auto& [id, caption] : buttons) EXPECT_EQ(Button(id)->text(), Text(caption)) << id;
  EXPECT_EQ(Label(1149), Text("请选择需要转换的文件"));
  EXPECT_EQ(Label(1150), Text("请选择保存文件的路径"));
  const std::map<int, const char*> checks = {{1134, "速度"}, {1135, "位置"}, {1136, "欧拉角"},
                                             {1137, "陀螺"}, {1138, "加计"}, {1139, "磁力计"},
                                             {1140, "气压"}, {1141, "温度"}, {1144, "时间戳"}};
  for (const auto& [id, caption] : checks) {
    EXPECT_EQ(Check(id)->text(), Text(caption)) << id;
    EXPECT_FALSE(Check(id)->isChecked()) << id;
  }
  QStringList groupTitles;
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) groupTitles << group->title();
  EXPECT_EQ(groupTitles, QStringList{Text("选择导出数据")});
  ExpectIdle();
  EXPECT_EQ(Progress()->value(), 0);
}

TEST_F(FilesFormatConvertTest, FileDialogsAskForTheLogAndTheTarget) {
  Open();
  Choose(log, target);
  const std::vector<FileDialogSpec> dialogs = services.FileDialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  const QString filter = "Text files(*.txt)|*.txt|All files(*.*)|*.*||";
  EXPECT_EQ(dialogs[0].title, Text("打开历史数据"));
  EXPECT_EQ(dialogs[0].initialName, "1.txt");
  EXPECT_EQ(dialogs[1].title, Text("保存转换数据"));
  EXPECT_EQ(dialogs[1].initialName, "2.txt");
  for (const FileDialogSpec& dialog : dialogs) {
    EXPECT_EQ(dialog.defaultExtension, "txt");
    EXPECT_EQ(dialog.filter, filter);
  }
  ExpectShowsPath(kSourceLabel, log);
  ExpectShowsPath(kTargetLabel, target);

  // A dialog left with Cancel keeps the choice before it.
  services.QueueFileName(std::nullopt);
  Button(kSourceButton)->click();
  EXPECT_EQ(dialog.SourcePath(), QString::fromStdString(log.string()));
  ExpectShowsPath(kSourceLabel, log);
}

TEST_F(FilesFormatConvertTest, GroupsAreUncheckedAtEveryShowingWhileThePathsStay) {
  Open();
  Choose(log, target);
  Tick({kVelocityCheck, kTemperatureCheck, kTimeStampCheck});
  Button(kExitButton)->click();
  EXPECT_FALSE(dialog.isVisible());
  Open();
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) EXPECT_FALSE(box->isChecked());
  ExpectShowsPath(kSourceLabel, log);
  ExpectShowsPath(kTargetLabel, target);
  EXPECT_EQ(modalRuns, 2);
}

TEST_F(FilesFormatConvertTest, MissingFilesAreReportedAndOnlyAnOpenTargetIsFinished) {
  Open();
  // Nothing chosen: nothing to write to.
  EXPECT_TRUE(ConvertAndWait());
  EXPECT_EQ(services.MessageTexts(), QStringList{Text("选择后文件后再进行转换，请重试")});
  EXPECT_EQ(Label(kSourceLabel), Text("请选择需要转换的文件"));
  EXPECT_EQ(Label(kTargetLabel), Text("请选择保存文件的路径"));

  // A source that is gone: the target still gets its header and is done.
  services.ClearMessages();
  Choose(folder / "gone.txt", target);
  Tick({kTimeStampCheck});
  EXPECT_TRUE(ConvertAndWait());
  EXPECT_EQ(services.MessageTexts(), QStringList{Text("选择后文件后再进行转换，请重试")});
  EXPECT_EQ(ReadWholeFile(target), "TimeStamp\r\n");
  EXPECT_EQ(Label(kSourceLabel), Text("转换完成"));
  EXPECT_EQ(Label(kTargetLabel), Text("转换完成"));
  EXPECT_TRUE(dialog.SourcePath().isEmpty());
  EXPECT_TRUE(dialog.TargetPath().isEmpty());

  // A target that cannot be created.
  services.ClearMessages();
  WriteDemoLogFile(log, 10);
  Choose(log, folder / "no-folder" / "out.txt");
  EXPECT_TRUE(ConvertAndWait());
  EXPECT_EQ(services.MessageTexts(), QStringList{Text("选择后文件后再进行转换，请重试")});
  ExpectShowsPath(kTargetLabel, folder / "no-folder/out.txt");
  ExpectIdle();
}

TEST_F(FilesFormatConvertTest, TheLogIsNeverChosenAsItsOwnTarget) {
  WriteDemoLogFile(log, 50);
  const std::string original = ReadWholeFile(log);
  fs::create_symlink(log, folder / "link.txt");
  Open();
  Tick({kVelocityCheck});
  for (const fs::path& same : {log, folder / "link.txt"}) {
    services.ClearMessages();
    Choose(log, same);
    EXPECT_TRUE(ConvertAndWait());
    EXPECT_EQ(services.MessageTexts(), QStringList{Text("源文件与保存文件相同，请重新选择")});
    EXPECT_EQ(ReadWholeFile(log), original);
    // Only the target needs choosing again.
    ExpectShowsPath(kSourceLabel, log);
    EXPECT_EQ(dialog.SourcePath(), QString::fromStdString(log.string()));
  }
}

TEST_F(FilesFormatConvertTest, TheLogBeingRecordedIsNeverChosenAsTarget) {
  WriteDemoLogFile(log, 50);
  const fs::path running = folder / "running.txt";
  WriteWholeFile(running, "AA 55 ");
  fs::create_symlink(running, folder / "link.txt");
  recording = running.string();
  Open();
  Tick({kVelocityCheck});
  for (const fs::path& busy : {running, folder / "link.txt"}) {
    services.ClearMessages();
    Choose(log, busy);
    EXPECT_TRUE(ConvertAndWait());
    EXPECT_EQ(services.MessageTexts(), QStringList{Text("保存文件正在记录数据，请重新选择")});
    EXPECT_EQ(ReadWholeFile(running), "AA 55 ");
    ExpectShowsPath(kSourceLabel, log);
    ExpectShowsPath(kTargetLabel, busy);
    ExpectIdle();
  }
  // Once the recording has stopped the file is an ordinary target.
  recording.clear();
  services.ClearMessages();
  EXPECT_TRUE(ConvertAndWait());
  EXPECT_TRUE(services.MessageTexts().isEmpty());
  EXPECT_EQ(Label(kTargetLabel), Text("转换完成"));
  EXPECT_NE(ReadWholeFile(running), "AA 55 ");
}

TEST_F(FilesFormatConvertTest, TheFileIsTheOneTheCommandMakes) {
  WriteDemoLogFile(log, 3000);
  Open();
  // Configured after the dialog was made, as at start-up: signed headings.
  Configure("V3.11\r\nzhengfu180");
  const std::vector<std::vector<int>> selections = {
      {kVelocityCheck, kPositionCheck, kAttitudeCheck, kGyroCheck, kAccelerometerCheck},
      {kVelocityCheck, kPositionCheck, kAttitudeCheck, kGyroCheck, kAccelerometerCheck,
       kMagnetometerCheck, kBarometerCheck, kTemperatureCheck, kTimeStampCheck},
      {kAttitudeCheck, kTimeStampCheck}};
  for (const std::vector<int>& checks : selections) {
    const std::string expected = ConvertWithTool(log, config, checks, folder / "tool.txt");
    ASSERT_GT(SplitLines(expected).size(), 2000u);
    Choose(log, target);
    Tick(checks);
    ASSERT_TRUE(ConvertAndWait());
    EXPECT_TRUE(ReadWholeFile(target) == expected) << "differs for " << checks.size() << " groups";
    EXPECT_EQ(Label(kSourceLabel), Text("转换完成"));
    EXPECT_EQ(Label(kTargetLabel), Text("转换完成"));
    EXPECT_EQ(Label(kRowsLabel), Text("已写入 %1 行").arg(SplitLines(expected).size() - 1));
    EXPECT_EQ(Progress()->value(), 100);
    ExpectIdle();
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(false);
  }
  EXPECT_TRUE(services.MessageTexts().isEmpty());
  // The live analyser decoded nothing: the conversion used its own.
  NavSample untouched;
  EXPECT_FALSE(live.Snapshot(untouched));
  EXPECT_EQ(live.GetFrameLength(), CPorotocalRtkAnalyse::kInitialFrameLength);
}

TEST_F(FilesFormatConvertTest, ARunningConversionShowsProgressAndCancelKeepsWholeRows) {
  // Four blocks of log, so the first one ends well inside it.
  WriteDemoLogFile(log, 8000);
  const uint64_t size = fs::file_size(log);
  ASSERT_GT(size, 3 * FilesFormatConvert::kBlockChars);
  Configure("V3.11\r\nx\r\n");
  const std::vector<int> checks = {kAttitudeCheck, kPositionCheck, kTimeStampCheck};
  const std::vector<std::string> full =
      SplitLines(ConvertWithTool(log, config, checks, folder / "tool.txt"));

  dialog.SetBlockHook([this](const LogConverter::Step& step) { gate(step); });
  Open();
  Choose(log, target);
  Tick(checks);
  Button(kConvertButton)->click();
  ASSERT_TRUE(ProcessEventsUntil([this] { return gate.Reached(); }, kConversionBoundMs));
  const LogConverter::Step step = gate.Step();
  EXPECT_EQ(step.done, FilesFormatConvert::kBlockChars);
  EXPECT_EQ(step.total, size);
  ASSERT_GT(step.rows, 0u);
  const QString rowsText = Text("已写入 %1 行").arg(step.rows);
  ASSERT_TRUE(ProcessEventsUntil([&] { return Label(kRowsLabel) == rowsText; }));

  EXPECT_TRUE(dialog.IsConverting());
  EXPECT_EQ(Progress()->value(), int(step.done * 100 / size));
  for (int id : {kSourceButton, kTargetButton, kConvertButton, kExitButton})
    EXPECT_FALSE(Button(id)->isEnabled()) << id;
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) EXPECT_FALSE(box->isEnabled());
  EXPECT_TRUE(Button(kCancelButton)->isEnabled());

  QDir().mkpath(TAVRIK_SCREENSHOT_DIR);
  EXPECT_TRUE(dialog.grab().save(TAVRIK_SCREENSHOT_DIR "/conversion.png"));

  Button(kCancelButton)->click();
  EXPECT_FALSE(Button(kCancelButton)->isEnabled());
  gate.Open();
  ASSERT_TRUE(ProcessEventsUntil([this] { return !dialog.IsConverting(); }, kConversionBoundMs));

  EXPECT_EQ(Label(kSourceLabel), Text("转换已取消"));
  EXPECT_EQ(Label(kTargetLabel), Text("转换已取消"));
  EXPECT_EQ(Label(kRowsLabel), rowsText);
  EXPECT_TRUE(services.MessageTexts().isEmpty());
  ExpectIdle();
  // The header and the rows of the first block, each whole, as the command
  // writes them.
  const std::vector<std::string> kept = SplitLines(ReadWholeFile(target));
  ASSERT_EQ(kept.size(), step.rows + 1);
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), full.begin()));
  EXPECT_TRUE(kept.back().ends_with("\r\n"));
}

TEST_F(FilesFormatConvertTest, ClosingDuringAConversionStopsItFirst) {
  WriteDemoLogFile(log, 5000);
  dialog.SetBlockHook([this](const LogConverter::Step& step) { gate(step); });
  Open();
  Choose(log, target);
  Tick({kVelocityCheck});
  Button(kConvertButton)->click();
  ASSERT_TRUE(ProcessEventsUntil([this] { return gate.Reached(); }, kConversionBoundMs));
  dialog.reject();  // Esc or the title bar's close button
  EXPECT_TRUE(dialog.isVisible());
  gate.Open();
  ASSERT_TRUE(ProcessEventsUntil([this] { return !dialog.IsConverting(); }, kConversionBoundMs));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Label(kTargetLabel), Text("转换已取消"));
  dialog.reject();
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FilesFormatConvertTest, AWriteErrorIsReportedInsteadOfFinished) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  WriteDemoLogFile(log, 200);
  Open();
  Choose(log, "/dev/full");
  Tick({kVelocityCheck, kPositionCheck});
  ASSERT_TRUE(ConvertAndWait());
  const QString reason = QString::fromStdString(std::generic_category().message(ENOSPC));
  EXPECT_EQ(services.MessageTexts(), QStringList{Text("写入转换文件失败：%1").arg(reason)});
  ExpectShowsPath(kSourceLabel, log);
  EXPECT_EQ(Label(kTargetLabel), "/dev/full");
  EXPECT_EQ(dialog.TargetPath(), "/dev/full");
  ExpectIdle();
}

}  // namespace
