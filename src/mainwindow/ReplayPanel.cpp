#include "mainwindow/ReplayPanel.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "mainwindow/ControlMap.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/PortControl.h"
#include "mainwindow/RecorderPanel.h"
#include "mainwindow/TavrikDlgIds.h"
#include "protocol/LogReplay.h"
#include "protocol/ReceivePipeline.h"
#include "services/WindowServices.h"

namespace {

using namespace MainIds;

const std::pair<const char*, LogReplay::Speed> kSpeeds[] = {
    {"1x", LogReplay::Speed::X1},        {"2x", LogReplay::Speed::X2},
    {"5x", LogReplay::Speed::X5},        {"10x", LogReplay::Speed::X10},
    {"最快", LogReplay::Speed::Fastest},
};

}  // namespace

ReplayPanel::ReplayPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                         ReceivePipeline& pipeline, const PortControl& port, DisplayPump& pump,
                         RecorderPanel& recorder, QPlainTextEdit& console)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_port(port),
      m_pump(pump),
      m_recorder(recorder),
      m_console(console),
      m_replay(std::make_unique<LogReplay>([&pipeline](const uint8_t* frame, size_t length) {
        pipeline.RouteReplayedFrame(frame, length);
      })) {
  if (auto* speed = m_controls.As<QComboBox>(kReplaySpeedCombo)) {
    for (const auto& [text, value] : kSpeeds) speed->addItem(QString::fromUtf8(text));
    speed->setCurrentIndex(0);
    speed->setToolTip(QStringLiteral("回放速度"));
    QObject::connect(speed, &QComboBox::currentIndexChanged, &m_context, [this](int index) {
      if (index >= 0 && index < int(std::size(kSpeeds))) {
        m_replay->SetSpeed(kSpeeds[index].second);
      }
    });
  }
  if (auto* replay = m_controls.As<QPushButton>(kReplayButton)) {
    QObject::connect(replay, &QPushButton::clicked, &m_context, [this] { OnReplay(); });
  }
  if (auto* stop = m_controls.As<QPushButton>(kStopReplayButton)) {
    QObject::connect(stop, &QPushButton::clicked, &m_context, [this] { OnStopReplay(); });
  }
  if (auto* bar = m_controls.As<QProgressBar>(kReplayProgressBar)) {
    bar->setRange(0, 1000);
    bar->setValue(0);
    bar->setTextVisible(false);
  }
  m_controls.Enable(kStopReplayButton, false);
  m_progress.setInterval(kProgressPeriodMs);
  QObject::connect(&m_progress, &QTimer::timeout, &m_context, [this] { ShowProgress(); });
}

ReplayPanel::~ReplayPanel() {
  m_replay->Stop();
}

bool ReplayPanel::Running() const {
  return m_replay->Running();
}

void ReplayPanel::OnReplay() {
  if (m_port.IsOpen()) {
    m_services.MessageBox(&m_window, QStringLiteral("请关闭串口，再回放历史数据"));
    return;
  }
  if (Running()) {
    m_services.MessageBox(&m_window, QStringLiteral("正在回放历史数据，请先停止回放"));
    return;
  }
  const FileDialogSpec dialog{QStringLiteral("打开历史数据"), QStringLiteral("txt"),
                              QStringLiteral("1.txt"),
                              QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*||")};
  const std::optional<QString> path = m_services.OpenFileName(&m_window, dialog);
  if (!path) return;
  m_controls.Enable(kLogSaveButton, false);
  m_controls.Enable(kClearButton, false);
  m_controls.Enable(kStopSaveButton, false);
  m_console.clear();
  m_pump.SetDisplayEnabled(true);
  LogReplay::Speed speed = LogReplay::Speed::X1;
  if (auto* combo = m_controls.As<QComboBox>(kReplaySpeedCombo)) {
    const int index = combo->currentIndex();
    if (index >= 0 && index < int(std::size(kSpeeds))) speed = kSpeeds[index].second;
  }
  const bool started = m_replay->Start(
      path->toStdString(), speed, [this] { return m_port.ReplayStopRequested(); },
      [this](LogReplay::End, uint64_t) { m_services.PostToGui([this] { Ended(); }, &m_context); });
  if (!started) {
    m_services.MessageBox(&m_window, QStringLiteral("选择的文件打开失败，请重试"));
    m_recorder.ShowState();
    return;
  }
  m_controls.Enable(kStopReplayButton, true);
  m_progress.start();
  ShowProgress();
}

void ReplayPanel::OnStopReplay() {
  m_replay->Stop();
}

void ReplayPanel::ShowProgress() {
  auto* bar = m_controls.As<QProgressBar>(kReplayProgressBar);
  if (bar == nullptr) return;
  const uint64_t size = m_replay->LogSize();
  bar->setValue(size == 0 ? 0 : int(m_replay->CharactersRead() * 1000 / size));
  bar->setToolTip(QStringLiteral("已回放 %1 帧").arg(m_replay->FramesReplayed()));
}

void ReplayPanel::Ended() {
  if (Running()) return;  // a newer replay has started meanwhile
  m_progress.stop();
  ShowProgress();
  m_controls.Enable(kStopReplayButton, false);
  m_recorder.ShowState();
}
