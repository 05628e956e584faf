#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QDialog;
class QObject;
class QWidget;

// Buttons and results of message boxes and modal dialogs, as every window of
// the program expects them.
enum class MessageButtons { Ok, OkCancel };
enum class MessageIcon { None, Exclamation, Stop, Information };
inline constexpr int kResultNone = 0;  // the box could not be shown (shutdown)
inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;

// A file dialog's settings. The filter is "description|pattern|...||".
struct FileDialogSpec {
  QString title;
  QString defaultExtension;
  QString initialName;
  QString filter;
};

using TickId = uint64_t;

// What windows need of the platform: modal boxes and dialogs, file dialogs,
// periodic ticks on a timer thread, and calls carried onto the GUI thread.
// The program runs on QtWindowServices; tests run on ScriptedWindowServices,
// which records every text and answers as told.
class WindowServices {
 public:
  virtual ~WindowServices() = default;

  // Modal. From a thread other than the GUI thread the box is carried to the
  // GUI thread and the caller waits; ReleaseWaiters() lets it go with
  // kResultNone. An empty caption means the application's name.
  virtual int MessageBox(QWidget* owner, const QString& text, const QString& caption = {},
                         MessageButtons buttons = MessageButtons::Ok,
                         MessageIcon icon = MessageIcon::None) = 0;
  virtual std::optional<QString> OpenFileName(QWidget* owner, const FileDialogSpec& settings) = 0;
  virtual std::optional<QString> SaveFileName(QWidget* owner, const FileDialogSpec& settings) = 0;
  virtual int RunModal(QDialog& dialog) = 0;

  // A periodic tick whose callback runs on a timer thread, not the GUI thread.
  virtual TickId StartTick(int periodMs, std::function<void()> callback) = 0;
  virtual void StopTick(TickId id) = 0;

  // Queued onto the GUI thread. With a context object the call is dropped
  // if the context is destroyed first, so it never runs on a dead owner.
  virtual void PostToGui(std::function<void()> call, QObject* context = nullptr) = 0;
  // Runs call on the GUI thread and waits for it; false if released first.
  virtual bool CallOnGui(std::function<void()> call) = 0;
  // Releases every thread waiting in CallOnGui or MessageBox, now and later;
  // part of shutdown, so no worker can hang on a GUI thread that is waiting
  // for it.
  virtual void ReleaseWaiters() = 0;

  static QString ApplicationName();
};
