#include "mainwindow/RecorderPanel.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

#include "mainwindow/ControlMap.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/TavrikDlgIds.h"
#include "protocol/RawLogRecorder.h"
#include "protocol/ReceivePipeline.h"
#include "services/WindowServices.h"

namespace {

using namespace MainIds;

constexpr int kInstrumentMs = 300, kRefreshMs = 350;
constexpr int kInstrumentAfterCancelMs = 200, kRefreshAfterCancelMs = 250;

}  // namespace

RecorderPanel::RecorderPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                             ReceivePipeline& pipeline, DisplayPump& pump, QPlainTextEdit& console)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_pump(pump),
      m_console(console),
      m_recorder(std::make_unique<RawLogRecorder>(
          [this](const std::string& path, const std::string& error) {
            const QString file = QString::fromStdString(path);
            const QString text = QString::fromStdString(error);
            m_services.PostToGui([this, file, text] { OnWriteError(file, text); }, &m_context);
          })) {
  pipeline.AddChunkListener(*m_recorder);
  QObject::connect(&m_timer1, &QTimer::timeout, &m_context,
                   [this] { m_pump.FeedInstrumentsFromDisplay(); });
  QObject::connect(&m_timer2, &QTimer::timeout, &m_context, [this] { m_pump.RefreshDisplay(); });
  if (auto* save = m_controls.As<QPushButton>(kLogSaveButton)) {
    QObject::connect(save, &QPushButton::clicked, &m_context, [this] { OnLogSaveAs(); });
  }
  if (auto* stop = m_controls.As<QPushButton>(kStopSaveButton)) {
    QObject::connect(stop, &QPushButton::clicked, &m_context, [this] { OnStopSave(); });
  }
}

RecorderPanel::~RecorderPanel() = default;

bool RecorderPanel::Recording() const {
  return m_recorder->Active();
}

std::string RecorderPanel::RecordingPath() const {
  return Recording() ? m_recorder->Path() : std::string();
}

uint64_t RecorderPanel::LogCharacters() const {
  return m_recorder->CharactersWritten();
}

void RecorderPanel::StartTimers(int instrumentMs, int refreshMs) {
  m_timer1.start(instrumentMs);
  m_timer2.start(refreshMs);
}

void RecorderPanel::OnLogSaveAs() {
  m_pump.Stop();
  // The ticks' last calls land before the dialog opens.
  QThread::msleep(100);
  const FileDialogSpec dialog{QStringLiteral("Log Save As..."), QStringLiteral("txt"),
                              QStringLiteral("1.txt"),
                              QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*||")};
  const std::optional<QString> path = m_services.SaveFileName(&m_window, dialog);
  if (!path) {
    StartTimers(kInstrumentAfterCancelMs, kRefreshAfterCancelMs);
    return;
  }
  if (!m_recorder->Start(path->toStdString())) {
    m_services.MessageBox(&m_window, QStringLiteral("选择文件失败，请重试"));
    // The display keeps a periodic refresh even so.
    StartTimers(kInstrumentAfterCancelMs, kRefreshAfterCancelMs);
    return;
  }
  m_controls.Enable(kLogSaveButton, false);
  m_controls.Enable(kClearButton, false);
  m_controls.Enable(kStopSaveButton, true);
  m_console.clear();
  StartTimers(kInstrumentMs, kRefreshMs);
}

void RecorderPanel::OnStopSave() {
  using Outcome = RawLogRecorder::StopResult::Outcome;
  const RawLogRecorder::StopResult result = m_recorder->Stop();
  switch (result.outcome) {
    case Outcome::NotRecording:
      m_services.MessageBox(&m_window, QStringLiteral("先选择路径，再保存"));
      return;
    case Outcome::EndedByError:
      // The worker's error box is on its way; it is the one message.
      ShowState();
      return;
    case Outcome::Failed:
      OnWriteError(QString::fromStdString(result.path), QString::fromStdString(result.error));
      return;
    case Outcome::Saved:
      ShowState();
      m_services.MessageBox(&m_window, QStringLiteral("保存成功"));
      return;
  }
}

void RecorderPanel::ShowState() {
  const bool recording = Recording();
  m_controls.Enable(kLogSaveButton, !recording);
  m_controls.Enable(kClearButton, !recording);
  m_controls.Enable(kStopSaveButton, recording);
}

void RecorderPanel::OnWriteError(const QString& path, const QString& error) {
  ShowState();
  m_services.MessageBox(&m_window,
                        QStringLiteral("保存数据出错，已停止保存：%1\n%2").arg(path, error));
}

void RecorderPanel::CloseForExit() {
  m_timer1.stop();
  m_timer2.stop();
  m_recorder->Stop();
}
