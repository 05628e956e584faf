#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

class ControlMap;
class DisplayPump;
class LogReplay;
class PortControl;
class QPlainTextEdit;
class QWidget;
class ReceivePipeline;
class RecorderPanel;
class WindowServices;

// "数据回放": a raw log played back into the live display (or the curves),
// with the port closed, at a chosen speed, its progress shown and a button
// that ends it at once.
class ReplayPanel {
 public:
  ReplayPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
              ReceivePipeline& pipeline, const PortControl& port, DisplayPump& pump,
              RecorderPanel& recorder, QPlainTextEdit& console);
  ~ReplayPanel();

  void OnReplay();
  void OnStopReplay();
  bool Running() const;
  LogReplay& Replay() { return *m_replay; }

  static constexpr int kProgressPeriodMs = 200;

 private:
  void ShowProgress();
  void Ended();

  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  const PortControl& m_port;
  DisplayPump& m_pump;
  RecorderPanel& m_recorder;
  QPlainTextEdit& m_console;
  std::unique_ptr<LogReplay> m_replay;
  QObject m_context;
  QTimer m_progress;
};
