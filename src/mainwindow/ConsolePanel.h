#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>

#include "protocol/ChunkListener.h"

class ControlMap;
class DebugConsole;
class QPlainTextEdit;
class WindowServices;

// The console text box with its "开始显示", "HEX显示" and "Clear" controls,
// and the debug console (Ctrl+Shift+H). Every twentieth received chunk is
// echoed into the box while showing is on; the debug console prints every
// byte the per-byte road handles.
class ConsolePanel final : public ChunkListener {
 public:
  ConsolePanel(const ControlMap& controls, QPlainTextEdit& console, WindowServices& services);
  ~ConsolePanel();

  // The serial worker's thread, after each chunk's ring write.
  void OnChunk(const Chunk& chunk) override;

  void OpenDebugConsole();
  DebugConsole* Console() const { return m_debugConsole; }
  void CloseDebugConsole();
  // A byte the per-byte road handled (GUI thread).
  void PrintHandledByte(uint8_t byte);

  void SetShowData(bool on) { m_showData.store(on); }
  void SetHexDisplay(bool on) { m_hexDisplay.store(on); }

 private:
  QPlainTextEdit& m_console;
  WindowServices& m_services;
  DebugConsole* m_debugConsole = nullptr;
  std::atomic<bool> m_showData{false};
  std::atomic<bool> m_hexDisplay{true};
  uint64_t m_echoCounter = 0;  // serial worker only
  QObject m_context;           // queued echoes die with the panel
};
