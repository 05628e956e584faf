#include "mainwindow/TavrikDlg.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>

#include "device/DeviceSession.h"
#include "instruments/CMeter.h"
#include "instruments/CRoundSliderCtrl.h"
#include "instruments/LampArray.h"
#include "instruments/MainWindowInstruments.h"
#include "mainwindow/CommandChannel.h"
#include "mainwindow/ConsolePanel.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/ConversionPanel.h"
#include "mainwindow/CurvesPanel.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/GrowingConsole.h"
#include "mainwindow/KeyboardGate.h"
#include "mainwindow/LinkStatusPanel.h"
#include "mainwindow/LiveDisplay.h"
#include "mainwindow/MapPanel.h"
#include "mainwindow/OdometerPanel.h"
#include "mainwindow/PortControl.h"
#include "mainwindow/RecorderPanel.h"
#include "mainwindow/ReplayPanel.h"
#include "mainwindow/SerialDeviceLink.h"
#include "mainwindow/SessionWindow.h"
#include "mainwindow/StartupTexts.h"
#include "mainwindow/TavrikDlgIds.h"
#include "mainwindow/UpdatePanel.h"
#include "mainwindow/UpgradePanel.h"
#include "mainwindow/View3dPanel.h"
#include "protocol/ConfigFile.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/ReceivePipeline.h"
#include "serial/CSerialPort.h"
#include "serial/SerialReceiver.h"
#include "ui_TavrikDlg.h"

namespace {

using namespace MainIds;

// Puts an instrument where the template keeps its placeholder.
template <typename Widget>
Widget* ReplacePlaceholder(QWidget* host, Widget* widget, int controlId) {
  widget->setParent(host->parentWidget());
  widget->setObjectName(host->objectName().replace("Host", ""));
  widget->setProperty("controlId", controlId);
  widget->setGeometry(host->geometry());
  host->hide();
  host->setProperty("controlId", QVariant());
  return widget;
}

}  // namespace

CTavrikDlg::CTavrikDlg(WindowServices& services, QWidget* parent)
    : QDialog(parent), m_services(services), m_ui(std::make_unique<Ui::TavrikDlg>()) {
  m_ui->setupUi(this);
  setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::WindowSystemMenuHint | Qt::WindowTitleHint);
  setFocusPolicy(Qt::StrongFocus);
  PlaceInstruments();
  m_controls = std::make_unique<ControlMap>(*this);
  m_growingConsole = std::make_unique<GrowingConsole>(*m_controls, size());
  m_analyser = GetAnalyser();

  m_display = std::make_unique<LiveDisplay>(*m_controls, m_lamps);
  m_pump = std::make_unique<DisplayPump>(services, *m_analyser, *m_display, *m_gauge, *m_dial);
  m_mode = std::make_unique<ReceiveModeSwitch>();
  m_pipeline = std::make_unique<ReceivePipeline>(*m_analyser, *m_mode);
  m_serial = std::make_unique<CSerialPort>(static_cast<PortErrorReporter&>(*this));
  m_link = std::make_unique<SerialDeviceLink>(*m_serial);
  m_consolePanel = std::make_unique<ConsolePanel>(*m_controls, *m_ui->consoleEdit, services);
  m_pipeline->AddChunkListener(*m_consolePanel);
  m_sessionWindow = std::make_unique<SessionWindow>(*this, *m_controls, services, *m_consolePanel);
  m_session = std::make_unique<DeviceSession>(*m_mode, *m_link, *m_sessionWindow, *m_analyser);
  m_receiver = std::make_unique<SerialReceiver>(
      *m_pipeline, *m_session,
      [&services](std::function<void()> call, QObject* context) {
        services.PostToGui(std::move(call), context);
      },
      [this] { m_portControl->OnPortGone(); });
  m_portControl = std::make_unique<PortControl>(*this, *m_controls, services, *m_serial,
                                                *m_receiver, *m_session);
  m_commands = std::make_unique<CommandChannel>(*this, *m_controls, services, *m_session, *m_pump);
  m_odometer = std::make_unique<OdometerPanel>(*this, *m_controls, services, *m_session,
                                               *m_sessionWindow, *m_display);
  m_recorder = std::make_unique<RecorderPanel>(*this, *m_controls, services, *m_pipeline, *m_pump,
                                               *m_ui->consoleEdit);
  m_replay =
      std::make_unique<ReplayPanel>(*this, *m_controls, services, *m_pipeline, *m_portControl,
                                    *m_pump, *m_recorder, *m_ui->consoleEdit);
  m_linkStatus =
      std::make_unique<LinkStatusPanel>(m_ui->linkStatusLabel, *m_pipeline, *m_portControl,
                                        m_recorder->Recorder(), m_replay->Replay());
  AddClosingStep([this] { m_recorder->CloseForExit(); });
  m_curves =
      std::make_unique<CurvesPanel>(*this, *m_controls, services, *m_session, *m_pump, Samples());
  m_map = std::make_unique<MapPanel>(*this, *m_controls, services, *m_analyser);
  m_view3d =
      std::make_unique<View3dPanel>(*this, *m_controls, services, *m_analyser, *m_session, *m_pump);
  m_update = std::make_unique<UpdatePanel>(services, m_ui->updateStatusLabel);
  m_upgrade = std::make_unique<UpgradePanel>(*this, *m_controls, services, *m_session, *m_pump);
  m_conversion = std::make_unique<ConversionPanel>(
      *this, *m_controls, services, [this] { return m_portControl->IsOpen(); }, *m_analyser,
      [this] { return m_recorder->RecordingPath(); });
  m_commands->SetStopUpdateCheck([this] { m_update->StopForOutput(); });
}

CTavrikDlg::~CTavrikDlg() {
  Shutdown();
}

SampleHub& CTavrikDlg::Samples() const {
  return *m_analyser->Samples();
}

void CTavrikDlg::PlaceInstruments() {
  m_gauge =
      ReplacePlaceholder(m_ui->gaugeHost, new CMeter(this), MainWindowInstruments::kGaugeControlId);
  m_dial = ReplacePlaceholder(m_ui->dialHost, new CRoundSliderCtrl(this),
                              MainWindowInstruments::kDialControlId);
  // The lamp strip sits inside the "状态指示" group box.
  m_lamps = new LampArray(this);
  m_lamps->setObjectName("lampStrip");
  m_lamps->setGeometry(QRect(m_ui->lampHost->pos(), MainWindowInstruments::kLampStripSize));
  m_ui->lampHost->hide();
  m_lamps->hide();
}

bool CTavrikDlg::Initialise() {
  auto* about = new QAction(QStringLiteral("关于 Tavrik(&A)..."), this);
  connect(about, &QAction::triggered, this, [this] { ShowAbout(); });
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  ApplyStartupTexts();
  m_display->WriteControls();  // the controls start from the zeroed values
  MainWindowInstruments::ConfigureGauge(*m_gauge);
  MainWindowInstruments::ConfigureDial(*m_dial);
  m_update->Start();
  ReadConfiguration();

  m_portControl->FillBaudList();
  m_commands->FillSelectors();
  m_portControl->FillPortList();

  m_controls->Enable(kStopSaveButton, false);
  m_controls->Show(kGraphHost, false);

  m_keyboardGate = new KeyboardGate(
      *this, {[this] { m_commands->AppendFrameFormat6(); },
              [this] { m_consolePanel->OpenDebugConsole(); }, [this] { m_upgrade->OnGate(); }});

  if (!m_pipeline->Start()) return false;
  m_pump->Start();

  MainWindowInstruments::ConfigureLampStrip(*m_lamps);
  m_lamps->show();
  m_lamps->RedrawLamps();
  return true;
}

void CTavrikDlg::ApplyStartupTexts() {
  for (const auto& [id, text] : kStartupTexts) m_controls->SetText(id, QString::fromUtf8(text));
}

void CTavrikDlg::ReadConfiguration() {
  std::optional<ConfigLines> lines = ReadConfigFile();
  if (!lines) {
    // Without the file the program still runs, with default behaviour and
    // the template's title and labels.
    m_services.MessageBox(this, QStringLiteral("程序文件不完整。"));
    ApplyConfig(*m_analyser, ConfigLines{});
    m_session->SetProfile(DeviceProfile());
    return;
  }
  setWindowTitle(QStringLiteral("自动驾驶V2.0"));
  m_controls->Show(kHeadTypeEdit, true);
  m_controls->Show(kHeadTypeLabel, true);
  m_controls->SetText(kHeadTypeLabel, "Head-type");
  m_controls->SetText(kPosTypeLabel, "Pos-type");
  ApplyConfig(*m_analyser, *lines);
  m_session->SetProfile(DeviceProfile(lines->deviceVariant));
}

void CTavrikDlg::ShowAbout() {
  m_services.MessageBox(this, QStringLiteral("Tavrik 惯性导航单元调试工具\n版本 2.0"),
                        QStringLiteral("关于 Tavrik"));
}

void CTavrikDlg::ShowPortError(const QString& title, const QString& text, OwnerReceipt receipt) {
  // The worker waits for the receipt, not for this thread: the box runs
  // later on the GUI thread, and closing the port releases the worker.
  m_services.PostToGui(
      [this, title, text, receipt] {
        m_services.MessageBox(this, text, title, MessageButtons::Ok, MessageIcon::Stop);
        receipt.Complete();
      },
      this);
}

void CTavrikDlg::AddClosingStep(std::function<void()> step) {
  m_closingSteps.push_back(std::move(step));
}

void CTavrikDlg::Shutdown() {
  if (m_serial->IsWorkerAlive()) m_serial->ShutdownPort();
  m_replay->OnStopReplay();
  m_update->StopAtClose();
  m_pump->Stop();
  for (auto& step : m_closingSteps) step();
  m_closingSteps.clear();
  m_services.ReleaseWaiters();
  m_serial->ShutdownPort();
  m_pipeline->Stop();
  m_consolePanel->CloseDebugConsole();
}

void CTavrikDlg::closeEvent(QCloseEvent* event) {
  const int answer =
      m_services.MessageBox(this, QStringLiteral("点击确定退出程序，误操作请点击取消！！"), {},
                            MessageButtons::OkCancel, MessageIcon::Exclamation);
  if (answer != kResultOk) {
    event->ignore();
    return;
  }
  Shutdown();
  event->accept();
  done(QDialog::Accepted);
}

void CTavrikDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (m_growingConsole) m_growingConsole->Fit(size());
}

void CTavrikDlg::reject() {
  // Esc must never close the main window; closing goes through closeEvent.
}

void CTavrikDlg::keyPressEvent(QKeyEvent* event) {
  // A key that reaches the window itself (it holds the focus, as after Esc)
  // is shown as the character of its key code.
  const int key = event->key();
  if (key > 0 && key < 0x80 && (focusWidget() == nullptr || focusWidget() == this)) {
    m_services.MessageBox(this, QString(QChar(key)));
    return;
  }
  QDialog::keyPressEvent(event);
}
