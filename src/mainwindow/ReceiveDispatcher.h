#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

#include "ChunkReceiver.h"
#include "FrameHandlers.h"
#include "PorotocalAnalyse.h"
#include "ReceiveMode.h"
#include "RingParser.h"
#include "SerialPortOwner.h"

class LiveDisplay;
class WindowServices;

// The road of every received byte. Bulk chunks go through the receive ring
// to the frame parser and on to the live display; in Command and Upgrade
// modes each byte is carried to the GUI thread for the reply interpreter or
// the firmware loader, while the serial worker waits.
class ReceiveDispatcher final : public SerialPortOwner, public FrameHandlers {
 public:
  // Everything runs on the GUI thread.
  struct Hooks {
    std::function<void(uint8_t)> replyByte;
    std::function<void(uint8_t)> upgradeByte;
    std::function<void(uint8_t)> consoleByte;  // the debug console, while it is open
    std::function<void(const QString&)> echo;  // the console text box
    std::function<void()> portGone;
  };

  ReceiveDispatcher(CPorotocalAnalyse& analyser, LiveDisplay& display, WindowServices& services);
  ~ReceiveDispatcher();

  void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }
  bool StartParser();
  void StopParser();

  ReceiveMode Mode() const { return m_mode.load(); }
  void SetMode(ReceiveMode mode) { m_mode.store(mode); }

  // The 150 ms tick.
  void SetRefreshDue() { m_refreshDue.store(true); }
  bool RefreshDue() const { return m_refreshDue.load(); }
  void SetDisplayEnabled(bool on) { m_displayEnabled.store(on); }
  bool DisplayEnabled() const { return m_displayEnabled.load(); }
  void SetReplayRunning(bool on) { m_replayRunning.store(on); }
  // The echo check boxes "开始显示" and "HEX显示".
  void SetShowData(bool on) { m_showData.store(on); }
  void SetHexDisplay(bool on) { m_hexDisplay.store(on); }
  void SetConsoleEcho(bool on) { m_consoleEcho.store(on); }
  bool ConsoleEcho() const { return m_consoleEcho.load(); }

  const RingParser& Parser() const { return m_parser; }

  // SerialPortOwner, on the serial worker's thread.
  ReceiveMode CurrentReceiveMode() const override { return Mode(); }
  void AcceptChunk(const uint8_t* bytes, int count) override;
  void HandOverByte(uint8_t byte, OwnerReceipt receipt) override;
  void OnPortGone() override;

  // FrameHandlers, on the parser or replay thread (or the GUI thread for
  // frames found byte by byte).
  void OnLiveFrame() override;
  void OnCurveFrame() override;

  // One byte of the per-byte road, on the GUI thread.
  void HandleSerialByte(uint8_t byte);

 private:
  void Echo(const uint8_t* bytes, int count, std::string_view hexText);
  void RefreshControls();

  CPorotocalAnalyse& m_analyser;
  LiveDisplay& m_display;
  WindowServices& m_services;
  Hooks m_hooks;
  // Calls carried to the GUI thread die with this object, never run on it dead.
  QObject m_guiContext;

  std::atomic<ReceiveMode> m_mode{ReceiveMode::Idle};
  std::atomic<bool> m_refreshDue{false};
  std::atomic<bool> m_displayEnabled{false};
  std::atomic<bool> m_replayRunning{false};
  std::atomic<bool> m_showData{false};
  std::atomic<bool> m_hexDisplay{true};
  std::atomic<bool> m_consoleEcho{false};
  std::atomic<bool> m_refreshPosted{false};

  ReceiveRing m_ring;
  ChunkReceiver m_receiver{m_ring};
  RingParser m_parser;
  uint64_t m_echoCounter = 0;  // serial worker only
};
