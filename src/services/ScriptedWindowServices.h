#pragma once

#include <QStringList>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "services/GuiDispatcher.h"
#include "services/WindowServices.h"

// Window services for tests: message boxes and file dialogs are never shown;
// every message is recorded and answered from a script, and ticks fire only
// when the test fires them. Cross-thread calls are real.
class ScriptedWindowServices final : public WindowServices {
 public:
  struct Message {
    QString text;
    QString caption;
    MessageButtons buttons;
    MessageIcon icon;
  };

  int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                 MessageButtons buttons, MessageIcon icon) override;
  std::optional<QString> OpenFileName(QWidget* owner, const FileDialogSpec& settings) override;
  std::optional<QString> SaveFileName(QWidget* owner, const FileDialogSpec& settings) override;
  int RunModal(QDialog& dialog) override;
  TickId StartTick(int periodMs, std::function<void()> callback) override;
  void StopTick(TickId id) override;
  void PostToGui(std::function<void()> call, QObject* context) override {
    m_dispatcher.Post(std::move(call), context);
  }
  bool CallOnGui(std::function<void()> call) override;
  void ReleaseWaiters() override { m_dispatcher.Release(); }

  // Script: answers are used in order; without one a box answers OK and a
  // file dialog is cancelled.
  void QueueAnswer(int result);
  void QueueFileName(std::optional<QString> path);
  // Called instead of running a modal dialog; without it RunModal answers Cancel.
  void SetModalHandler(std::function<int(QDialog&)> handler);

  std::vector<Message> Messages() const;
  QStringList MessageTexts() const;
  std::vector<FileDialogSpec> FileDialogs() const;
  void ClearMessages();

  // Fires every running tick of this period once, on the calling thread.
  int FireTicks(int periodMs);
  bool TickRunning(int periodMs) const;

 private:
  struct Tick {
    int periodMs;
    std::function<void()> callback;
  };

  mutable std::mutex m_lock;
  std::vector<Message> m_messages;
  std::vector<FileDialogSpec> m_fileDialogs;
  std::deque<int> m_answers;
  std::deque<std::optional<QString>> m_fileNames;
  std::function<int(QDialog&)> m_modalHandler;
  std::map<TickId, Tick> m_ticks;
  TickId m_nextTick = 1;
  GuiDispatcher m_dispatcher;
};
