#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "protocol/ReceivePipeline.h"

class LogReplay;
class PortControl;
class QLabel;
class RawLogRecorder;

// The line's health in one line of the window: frames a second, frames that
// failed their check, bytes skipped and ring overruns since the port was
// opened (or, during a replay, those of the log), and the raw log's size
// while recording.
class LinkStatusPanel {
 public:
  LinkStatusPanel(QLabel* line, const ReceivePipeline& pipeline, const PortControl& port,
                  const RawLogRecorder& recorder, const LogReplay& replay);

  void Refresh();
  static constexpr int kPeriodMs = 500;

 private:
  QLabel* m_line;
  const ReceivePipeline& m_pipeline;
  const PortControl& m_port;
  const RawLogRecorder& m_recorder;
  const LogReplay& m_replay;
  bool m_wasOpen = false;
  LinkCounters m_atOpen;
  uint64_t m_lastFrames = 0;
  QElapsedTimer m_sinceLast;
  QObject m_context;
  QTimer m_timer;
};
