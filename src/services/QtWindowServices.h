#pragma once

#include "services/GuiDispatcher.h"
#include "services/PeriodicTicks.h"
#include "services/WindowServices.h"

// The program's window services, on Qt's dialogs and message boxes.
class QtWindowServices final : public WindowServices {
 public:
  int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                 MessageButtons buttons, MessageIcon icon) override;
  std::optional<QString> OpenFileName(QWidget* owner, const FileDialogSpec& settings) override;
  std::optional<QString> SaveFileName(QWidget* owner, const FileDialogSpec& settings) override;
  int RunModal(QDialog& dialog) override;
  TickId StartTick(int periodMs, std::function<void()> callback) override;
  void StopTick(TickId id) override;
  void PostToGui(std::function<void()> call, QObject* context) override;
  bool CallOnGui(std::function<void()> call) override;
  void ReleaseWaiters() override;

 private:
  GuiDispatcher m_dispatcher;
  PeriodicTicks m_ticks;
};

class QMessageBox;

// Widens a box, when it must be, so its whole caption fits the title bar.
void FitCaption(QMessageBox& box, const QString& caption);

// "Text files(*.txt)|*.txt|All files(*.*)|*.*||" as Qt's name filters.
QString QtNameFilters(const QString& filter);
