#include "mainwindow/UpgradePanel.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "device/DeviceSession.h"
#include "device/FirmwareImageFile.h"
#include "device/HexImageConverter.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/TavrikDlgIds.h"
#include "services/WindowServices.h"

namespace {

using namespace MainIds;

const char* kUpgradeWarning =
    "    在一键升级过程中，不要关闭串口或者关闭应用程序，否则可能会 "
    "导致下载中断，产生不可预料的结果！";

// The bar's figures, most detailed first; the first one that fits is shown,
// so the percent and the seconds are never cut off, whatever the image size.
QStringList ProgressTexts(const FirmwareProgress& p) {
  const QString blocks = QStringLiteral("%1/%2").arg(p.blocksConfirmed).arg(p.blocksTotal);
  const QString seconds = QStringLiteral("%1 秒").arg(p.elapsedSeconds, 0, 'f', 1);
  return {
      QStringLiteral("块 %1  %2/%3 字节  %p%  %4")
          .arg(blocks)
          .arg(p.bytesConfirmed)
          .arg(p.imageBytes)
          .arg(seconds),
      QStringLiteral("块 %1  %2 字节  %p%  %3").arg(blocks).arg(p.bytesConfirmed).arg(seconds),
      QStringLiteral("%1  %p%  %2").arg(blocks, seconds),
      QStringLiteral("%p%  %1").arg(seconds),
  };
}

void ShowProgressText(QProgressBar& bar, const FirmwareProgress& progress) {
  // The style draws the text inside the bar's frame.
  const int room =
      bar.contentsRect().width() - 2 * bar.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  const QStringList texts = ProgressTexts(progress);
  for (const QString& text : texts) {
    bar.setFormat(text);
    if (bar.fontMetrics().horizontalAdvance(bar.text()) <= room) return;
  }
}

}  // namespace

UpgradePanel::UpgradePanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                           DeviceSession& session, DisplayPump& pump)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_session(session),
      m_pump(pump),
      m_tick(new QTimer(&m_context)) {
  m_session.SetUpgradeWindow(this);
  m_tick->setInterval(kTickPeriodMs);
  QObject::connect(m_tick, &QTimer::timeout, &m_context, [this] { m_session.TickUpgrade(); });
  if (auto* open = m_controls.As<QPushButton>(kOpenHexButton)) {
    QObject::connect(open, &QPushButton::clicked, &m_context, [this] { OnOpenHex(); });
  }
  if (auto* upgrade = m_controls.As<QPushButton>(kUpgradeButton)) {
    QObject::connect(upgrade, &QPushButton::clicked, &m_context, [this] { OnUpgrade(); });
  }
  if (auto* bar = m_controls.As<QProgressBar>(kUpgradeProgressBar)) {
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(true);
    bar->setFormat(QString());
  }
  // The warning of the gate takes three lines of the group's small space.
  if (QWidget* help = m_controls.Get(kUpgradeHelpLabel)) {
    QFont font = help->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    help->setFont(font);
  }
  m_controls.Show(kUpgradeProgressLabel, false);
  m_controls.Enable(kOpenHexButton, false);
  m_controls.Enable(kUpgradeButton, false);
}

UpgradePanel::~UpgradePanel() {
  m_session.SetUpgradeWindow(nullptr);
}

void UpgradePanel::OnGate() {
  m_session.EnterUpgradeMode();
  m_controls.Enable(kOpenHexButton, true);
  m_controls.SetText(kUpgradeHelpLabel, QString::fromUtf8(kUpgradeWarning));
}

void UpgradePanel::OnOpenHex() {
  const FileDialogSpec dialog{QString(), QStringLiteral("hex"), QString(),
                              QStringLiteral("All Files (*.hex)|*.hex||")};
  const std::optional<QString> path = m_services.OpenFileName(&m_window, dialog);
  if (!path) return;
  m_fileName = QFileInfo(*path).fileName();
  const HexImageConverter::Result result = HexImageConverter::Convert(
      std::filesystem::path(path->toStdString()), FirmwareImageFile::DefaultPath());
  if (!result.message.empty()) {
    const bool error = result.outcome == HexImageConverter::Outcome::NoImageDirectory;
    m_services.MessageBox(&m_window, QString::fromStdString(result.message), {}, MessageButtons::Ok,
                          error ? MessageIcon::Stop : MessageIcon::None);
  }
  // A file that failed to open leaves the buttons as they were.
  if (result.outcome == HexImageConverter::Outcome::HexNotOpened) return;
  const bool ready = result.ReadyToLoad();
  m_controls.Enable(kUpgradeButton, ready);
  m_controls.Enable(kOpenHexButton, !ready);
  if (ready) {
    if (QWidget* upgrade = m_controls.Get(kUpgradeButton)) upgrade->setFocus();
  }
}

void UpgradePanel::OnUpgrade() {
  m_pump.Stop();
  const std::string announced = m_fileName.toStdString();
  if (!m_session.StartUpgrade(FirmwareImageFile::DefaultPath(), announced)) {
    // Nothing went out: everything is as before the button.
    m_pump.Start();
    return;
  }
  m_controls.Enable(kUpgradeButton, false);
  if (auto* name = m_controls.As<QLabel>(kUpgradeFileLabel)) {
    // A long name keeps its beginning and its extension.
    name->setText(name->fontMetrics().elidedText(m_fileName, Qt::ElideMiddle, name->width()));
    name->setToolTip(m_fileName);
  }
  if (auto* bar = m_controls.As<QProgressBar>(kUpgradeProgressBar)) bar->setToolTip(m_fileName);
  ShowUpgradeProgress(m_session.Loader().Progress());
  m_tick->start();
}

void UpgradePanel::SetUpgradeLabel(const std::string& text, bool visible) {
  m_controls.SetText(kUpgradeProgressLabel, QString::fromStdString(text));
  m_controls.Show(kUpgradeProgressLabel, visible);
}

void UpgradePanel::ShowUpgradeProgress(const FirmwareProgress& progress) {
  if (auto* bar = m_controls.As<QProgressBar>(kUpgradeProgressBar)) {
    bar->setValue(progress.Percent());
    ShowProgressText(*bar, progress);
  }
}

void UpgradePanel::Ended() {
  m_tick->stop();
}

void UpgradePanel::UpgradeFinished(const std::string& text, const FirmwareProgress& progress) {
  Ended();
  ShowUpgradeProgress(progress);
  m_controls.Enable(kOpenHexButton, false);
  m_controls.Enable(kUpgradeButton, false);
  // The box opens once the byte handler has returned, so the worker is not
  // held while it stands.
  const QString message = QString::fromStdString(text);
  m_services.PostToGui(
      [this, message] {
        m_services.MessageBox(&m_window, message);
        m_pump.Start();
      },
      &m_context);
}

void UpgradePanel::UpgradeFailed(const std::string& text) {
  Ended();
  // Ready to try again without a restart: convert and upgrade anew.
  m_controls.Enable(kOpenHexButton, true);
  m_controls.Enable(kUpgradeButton, false);
  const QString message = QString::fromStdString(text);
  m_services.PostToGui(
      [this, message] {
        m_services.MessageBox(&m_window, message);
        m_pump.Start();
      },
      &m_context);
}
