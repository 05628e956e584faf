#include "odometer/SetPosition.h"

#include <QShowEvent>
#include <QTimer>
#include <utility>

#include "device/OdometerCommands.h"
#include "device/OdometerWrite.h"
#include "services/WindowServices.h"
#include "ui_SetPosition.h"

namespace {

constexpr const char* kInitialValue = "0.0";
constexpr const char* kInitialGroup = "ATB";
constexpr const char* kPortClosedMessage = "先打开串口在进行其他操作！！";
constexpr const char* kLineEnd = "\r\n";

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

SetPosition::SetPosition(OdometerPort& port, WindowServices& services, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::SetPosition>()),
      m_port(port),
      m_services(services),
      m_refreshTimer(new QTimer(this)) {
  m_ui->setupUi(this);
  m_values = {kInitialValue, kInitialValue, kInitialValue};
  m_tipText = kInitialGroup;
  m_currentGroup = kInitialGroup;

  const std::pair<QPushButton*, const char*> groupButtons[] = {{m_ui->ltcGroupButton, "LTC"},
                                                               {m_ui->ltgGroupButton, "LTG"},
                                                               {m_ui->kwsGroupButton, "KWS"},
                                                               {m_ui->atbGroupButton, "ATB"},
                                                               {m_ui->atgGroupButton, "ATG"}};
  for (const auto& [button, group] : groupButtons) {
    connect(button, &QPushButton::clicked, this,
            [this, button = button, group = std::string(group)] { ChooseGroup(button, group); });
  }
  connect(m_ui->readButton, &QPushButton::clicked, this, &SetPosition::ReadParameters);
  connect(m_ui->writeButton, &QPushButton::clicked, this, &SetPosition::WriteParameters);
  connect(m_ui->exitButton, &QPushButton::clicked, this, &SetPosition::accept);

  m_refreshTimer->setObjectName("refreshTimer");
  m_refreshTimer->setInterval(kRefreshPeriodMs);
  connect(m_refreshTimer, &QTimer::timeout, this, &SetPosition::RefreshControls);
}

SetPosition::~SetPosition() = default;

void SetPosition::OpenFromMainWindow() {
  if (PrepareToOpen()) m_services.RunModal(*this);
}

bool SetPosition::PrepareToOpen() {
  m_values = {kInitialValue, kInitialValue, kInitialValue};
  m_tipText = kInitialGroup;
  m_currentGroup = kInitialGroup;
  if (!m_port.IsPortOpen()) {
    m_services.MessageBox(parentWidget(), QString::fromUtf8(kPortClosedMessage));
    return false;
  }
  m_port.SetReceiveMode(ReceiveMode::Command);
  return true;
}

void SetPosition::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised dialog is not an opening.
  if (event->spontaneous()) return;
  ResetControls();
  PushMembersToControls();
  m_refreshTimer->start();
}

void SetPosition::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous()) m_refreshTimer->stop();
}

// Every opening starts from the same controls: no group chosen yet, so
// nothing can be read or written, and the ATB and ATG buttons stay hidden.
void SetPosition::ResetControls() {
  m_ui->ltcGroupButton->setEnabled(true);
  m_ui->ltgGroupButton->setEnabled(true);
  m_ui->kwsGroupButton->setEnabled(true);
  m_ui->atbGroupButton->setEnabled(false);
  m_ui->atbGroupButton->setVisible(false);
  m_ui->atgGroupButton->setEnabled(true);
  m_ui->atgGroupButton->setVisible(false);
  m_ui->readButton->setEnabled(false);
  m_ui->writeButton->setEnabled(false);
}

void SetPosition::PushMembersToControls() {
  m_ui->leftValueEdit->setText(ToQString(m_values.left));
  m_ui->middleValueEdit->setText(ToQString(m_values.middle));
  m_ui->rightValueEdit->setText(ToQString(m_values.right));
  m_ui->tipText->setText(ToQString(m_tipText));
  m_shownValues = m_values;
}

void SetPosition::TakeMembersFromControls() {
  m_values.left = m_ui->leftValueEdit->text().toStdString();
  m_values.middle = m_ui->middleValueEdit->text().toStdString();
  m_values.right = m_ui->rightValueEdit->text().toStdString();
  m_tipText = m_ui->tipText->text().toStdString();
}

void SetPosition::RefreshControls() {
  if (m_values != m_shownValues) PushMembersToControls();
}

void SetPosition::accept() {
  TakeMembersFromControls();
  QDialog::accept();
}

// The tip names the chosen group at once: a write goes to the group the
// label shows.
void SetPosition::ChooseGroup(QPushButton* pressed, const std::string& group) {
  m_tipText = group;
  m_currentGroup = group;
  m_ui->tipText->setText(ToQString(m_tipText));
  for (QPushButton* button : {m_ui->ltcGroupButton, m_ui->ltgGroupButton, m_ui->kwsGroupButton,
                              m_ui->atbGroupButton, m_ui->atgGroupButton}) {
    button->setEnabled(button != pressed);
  }
  m_ui->writeButton->setEnabled(true);
  m_ui->readButton->setEnabled(true);
}

void SetPosition::ReadParameters() {
  if (auto command = OdometerReadCommand(m_currentGroup)) SendLine(*command);
}

void SetPosition::WriteParameters() {
  TakeMembersFromControls();
  const OdometerWrite write = PrepareOdometerWrite(m_currentGroup, m_values);
  if (!write.refusal.empty()) {
    m_services.MessageBox(this, ToQString(write.refusal));
    return;
  }
  if (!write.command.empty()) SendLine(write.command);
}

// A port closed while the dialog is open makes reading and writing do
// nothing; the user closed it and needs no message for that.
void SetPosition::SendLine(const std::string& command) {
  if (m_port.IsPortOpen()) m_port.QueueWrite(command + kLineEnd);
}
