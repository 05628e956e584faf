#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

class ControlMap;
class DisplayPump;
class QPlainTextEdit;
class QWidget;
class RawLogRecorder;
class ReceivePipeline;
class WindowServices;

// "保存数据..." and "停止保存": the raw log of everything the line brings in.
// While the recorder's dialog runs the display ticks rest; afterwards two
// window timers of its own keep the instruments (timer 1) and the boxes
// (timer 2) going.
class RecorderPanel {
 public:
  RecorderPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                ReceivePipeline& pipeline, DisplayPump& pump, QPlainTextEdit& console);
  ~RecorderPanel();

  void OnLogSaveAs();
  void OnStopSave();
  // The program ends: whatever the log holds is written and the file closed.
  void CloseForExit();
  // The buttons as the recorder's state wants them (after a replay).
  void ShowState();

  bool Recording() const;
  // The file being recorded; empty when none.
  std::string RecordingPath() const;
  uint64_t LogCharacters() const;
  RawLogRecorder& Recorder() { return *m_recorder; }
  const QTimer& InstrumentTimer() const { return m_timer1; }
  const QTimer& RefreshTimer() const { return m_timer2; }

 private:
  void StartTimers(int instrumentMs, int refreshMs);
  void OnWriteError(const QString& path, const QString& error);

  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  DisplayPump& m_pump;
  QPlainTextEdit& m_console;
  std::unique_ptr<RawLogRecorder> m_recorder;
  QObject m_context;
  QTimer m_timer1, m_timer2;
};
