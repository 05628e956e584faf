#include "mainwindow/LinkStatusPanel.h"

#include <QLabel>

#include "mainwindow/PortControl.h"
#include "protocol/LogReplay.h"
#include "protocol/RawLogRecorder.h"

namespace {

QString Size(uint64_t characters) {
  if (characters < 10 * 1024) return QStringLiteral("%1 字节").arg(characters);
  if (characters < 10 * 1024 * 1024) {
    return QStringLiteral("%1 KB").arg(double(characters) / 1024, 0, 'f', 1);
  }
  return QStringLiteral("%1 MB").arg(double(characters) / (1024 * 1024), 0, 'f', 1);
}

}  // namespace

LinkStatusPanel::LinkStatusPanel(QLabel* line, const ReceivePipeline& pipeline,
                                 const PortControl& port, const RawLogRecorder& recorder,
                                 const LogReplay& replay)
    : m_line(line), m_pipeline(pipeline), m_port(port), m_recorder(recorder), m_replay(replay) {
  m_sinceLast.start();
  m_timer.setInterval(kPeriodMs);
  QObject::connect(&m_timer, &QTimer::timeout, &m_context, [this] { Refresh(); });
  m_timer.start();
}

void LinkStatusPanel::Refresh() {
  if (m_line == nullptr) return;
  const LinkCounters now = m_pipeline.Counters();
  const bool open = m_port.IsOpen();
  if (open && !m_wasOpen) m_atOpen = now;
  m_wasOpen = open;

  // Every checked frame that reached the router, from the line or a replay.
  const uint64_t frames = now.framesRouted + now.framesUnhandled;
  const double seconds = std::max<qint64>(m_sinceLast.restart(), 1) / 1000.0;
  const double perSecond = double(frames - std::min(frames, m_lastFrames)) / seconds;
  m_lastFrames = frames;

  QString text;
  if (m_replay.Running()) {
    text = QStringLiteral("回放  帧/秒 %1  校验失败 %2  跳过字节 %3")
               .arg(perSecond, 0, 'f', 0)
               .arg(m_replay.FramesFailed())
               .arg(m_replay.BytesSkipped());
  } else if (open) {
    text = QStringLiteral("帧/秒 %1  校验失败 %2  跳过字节 %3  溢出 %4")
               .arg(perSecond, 0, 'f', 0)
               .arg(now.framesFailed - m_atOpen.framesFailed)
               .arg(now.bytesSkipped - m_atOpen.bytesSkipped)
               .arg(now.overruns - m_atOpen.overruns);
  }
  if (m_recorder.Active()) {
    if (!text.isEmpty()) text += QStringLiteral("  |  ");
    text += QStringLiteral("记录中 %1").arg(Size(m_recorder.CharactersWritten()));
  }
  m_line->setText(text);
}
