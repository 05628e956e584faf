#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "device/OdometerPort.h"
#include "device/OdometerValueTexts.h"

class QPushButton;
class QTimer;
class WindowServices;

namespace Ui {
class SetPosition;
}

// "参数设置": reads and writes the unit's five odometer parameter groups. The
// dialog only sends; the main window's reply interpreter writes the values
// the unit returns into this dialog with SetValueTexts, and a one-second
// refresh shows them, so the replies need no path of their own into the
// dialog. The main window owns one instance for its whole life.
class SetPosition : public QDialog {
  Q_OBJECT

 public:
  SetPosition(OdometerPort& port, WindowServices& services, QWidget* parent = nullptr);
  ~SetPosition() override;

  // The main window's "参数设置..." button: texts back to "0.0" and group
  // "ATB", then, with the port open, the receive mode that routes the unit's
  // replies to the interpreter and the modal run. With the port closed only
  // a message.
  void OpenFromMainWindow();

  // The values the unit returned; shown at the next refresh.
  void SetValueTexts(const OdometerValueTexts& texts) { m_values = texts; }
  const OdometerValueTexts& ValueTexts() const { return m_values; }
  const std::string& CurrentGroup() const { return m_currentGroup; }

  static constexpr int kRefreshPeriodMs = 1000;

 public slots:
  // "退出" keeps what the controls show, then closes.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool PrepareToOpen();
  // Runs once a second while the dialog is shown: new values reach the
  // controls, and nothing else is touched, so the user's typing survives
  // until the unit answers.
  void RefreshControls();
  void ResetControls();
  void PushMembersToControls();
  void TakeMembersFromControls();
  void ChooseGroup(QPushButton* pressed, const std::string& group);
  void ReadParameters();
  void WriteParameters();
  void SendLine(const std::string& command);

  std::unique_ptr<Ui::SetPosition> m_ui;
  OdometerPort& m_port;
  WindowServices& m_services;
  OdometerValueTexts m_values;
  OdometerValueTexts m_shownValues;
  std::string m_tipText;
  std::string m_currentGroup;
  QTimer* m_refreshTimer;
};
