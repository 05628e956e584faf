#include "TavrikDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "CMeter.h"
#include "CRoundSliderCtrl.h"
#include "CSerialPort.h"
#include "CommandChannel.h"
#include "ConfigFile.h"
#include "ControlMap.h"
#include "DebugConsole.h"
#include "DeviceDialogue.h"
#include "KeyboardGate.h"
#include "LampArray.h"
#include "LiveDisplay.h"
#include "MainWindowInstruments.h"
#include "PorotocalRtkAnalyse.h"
#include "PortControl.h"
#include "ReceiveDispatcher.h"
#include "ui_TavrikDlg.h"

namespace {

// Captions the window takes at start, replacing the template's.
const std::pair<int, const char*> kStartupTexts[] = {
    {1085, "端口设置"}, {1088, "波特率"},     {1089, "端口"},     {1008, "打开"},
    {1086, "导航数据"}, {1090, "俯仰"},       {1091, "横滚"},     {1092, "航向"},
    {1093, "东向速度"}, {1094, "北向速度"},   {1095, "天向速度"}, {1096, "经度"},
    {1097, "纬度"},     {1098, "高度"},       {1099, "模式"},     {1100, "帧格式"},
    {1101, "气压"},     {1087, "传感器数据"}, {1105, "加速度X"},  {1106, "加速度Y"},
    {1107, "加速度Z"},  {1102, "陀螺X"},      {1103, "陀螺Y"},    {1104, "陀螺Z"},
    {1112, "输出频率"}, {1113, "温度Z"},      {1125, "卫星数"},   {1114, "GPS数据"},
    {1115, "模式"},     {1116, "航向"},       {1117, "经度"},     {1119, "纬度"},
    {1121, "高度"},     {1118, "东向速度"},   {1120, "北向速度"}, {1122, "天向速度"},
    {1123, "地平仪"},   {1124, "航向"},       {1074, "清除数据"}, {1068, "保存数据..."},
    {1039, "发送"},
};

constexpr int kRefreshPeriodMs = 150;
constexpr int kInstrumentPeriodMs = 500;

const char* kUpgradeWarning =
    "    在一键升级过程中，不要关闭串口或者关闭应用程序，否则可能会 "
    "导致下载中断，产生不可预料的结果！";

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
  m_display = std::make_unique<LiveDisplay>(*m_controls, m_lamps);
  // The analyser is created by the configuration step; until then the
  // receive path is not started.
  m_analyser = GetAnalyser();
  m_receive = std::make_unique<ReceiveDispatcher>(*m_analyser, *m_display, m_services);
  m_serial = std::make_unique<CSerialPort>(static_cast<PortErrorReporter&>(*this));
  m_portControl =
      std::make_unique<PortControl>(*this, *m_controls, m_services, *m_serial, *m_receive);
  m_commands =
      std::make_unique<CommandChannel>(*this, *m_controls, m_services, *m_serial, *m_receive);
  m_device = std::make_unique<DeviceDialogue>(*this, *m_controls, m_services, *m_serial, *m_receive,
                                              *m_commands, *m_analyser);
}

CTavrikDlg::~CTavrikDlg() {
  StopTicks();
  m_services.ReleaseWaiters();
  m_serial->ShutdownPort();
  m_receive->StopParser();
  if (m_console) m_console->close();
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
  ReadConfiguration();

  m_portControl->FillBaudList();
  m_commands->SetDeviceVariant(m_deviceVariant);
  m_device->SetDeviceVariant(m_deviceVariant);
  m_commands->FillSelectors();
  m_portControl->FillPortList();

  for (int id : {1066, 1067, 1069}) m_controls->Enable(id, false);
  m_controls->Show(1127, false);
  m_controls->Enable(1060, false);
  m_controls->Enable(1061, false);
  if (auto* hex = m_controls->As<QCheckBox>(1064)) hex->setChecked(true);
  m_receive->SetHexDisplay(true);
  QFont consoleFont("Courier New");
  consoleFont.setStyleHint(QFont::Monospace);
  consoleFont.setPixelSize(16);
  m_ui->consoleEdit->setFont(consoleFont);

  m_keyboardGate =
      new KeyboardGate(*this, {[this] { m_commands->AppendFrameFormat6(); },
                               [this] { OpenDebugConsole(); }, [this] { EnterUpgradeMode(); }});
  ConnectControls();

  if (!m_receive->StartParser()) return false;
  StartTicks();

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
    // Without the file the program still runs, with default behaviour.
    m_services.MessageBox(this, QStringLiteral("程序文件不完整。"));
    lines = ConfigLines{};
  }
  m_deviceVariant = lines->deviceVariant;
  setWindowTitle(QStringLiteral("自动驾驶V2.0"));
  m_controls->Show(1062, true);
  m_controls->Show(1113, true);
  m_controls->SetText(1113, "Head-type");
  m_controls->SetText(1126, "Pos-type");
  ApplyConfig(*m_analyser, *lines);
}

void CTavrikDlg::ConnectControls() {
  auto onClick = [this](int id, std::function<void()> handler) {
    if (auto* button = m_controls->As<QPushButton>(id)) {
      connect(button, &QPushButton::clicked, this, [handler = std::move(handler)] { handler(); });
    }
  };
  onClick(1008, [this] { m_portControl->OnOpenClose(m_deviceVariant); });
  onClick(1060, [this] { m_commands->OnStartOutput(); });
  onClick(1061, [this] { m_commands->OnStopOutput(); });
  onClick(1056, [this] { m_commands->OnFactoryReset(); });
  onClick(1051, [this] { m_commands->OnSetFrameFormat(); });
  onClick(1053, [this] { m_commands->OnSetBaud(); });
  onClick(1075, [this] { m_commands->OnSetScene(); });
  onClick(1084, [this] { m_commands->OnSetRate(); });
  onClick(1159, [this] { m_commands->OnQuerySerialNumber(); });
  onClick(1039, [this] { m_commands->OnSend(); });
  onClick(1074, [this] { m_ui->consoleEdit->clear(); });
  onClick(1082, [this] {
    // The dialog starts from what the window shows, checked first.
    if (m_display->ReadControls(m_services, this)) m_device->OpenOdometerDialog();
  });
  connect(m_ui->showDataCheck, &QCheckBox::toggled, this,
          [this](bool on) { m_receive->SetShowData(on); });
  connect(m_ui->hexDisplayCheck, &QCheckBox::toggled, this,
          [this](bool on) { m_receive->SetHexDisplay(on); });

  ReceiveDispatcher::Hooks hooks;
  hooks.echo = [this](const QString& text) { m_ui->consoleEdit->setPlainText(text); };
  hooks.consoleByte = [this](uint8_t byte) {
    if (m_console) m_console->PrintByte(byte);
  };
  hooks.replyByte = [this](uint8_t byte) { m_device->OnReplyByte(byte); };
  hooks.portGone = [this] { m_portControl->OnPortGone(); };
  m_receive->SetHooks(std::move(hooks));
}

void CTavrikDlg::StartTicks() {
  m_refreshTick = m_services.StartTick(kRefreshPeriodMs, [this] { m_receive->SetRefreshDue(); });
  m_instrumentTick = m_services.StartTick(kInstrumentPeriodMs, [this] { InstrumentTick(); });
}

void CTavrikDlg::StopTicks() {
  if (m_refreshTick) m_services.StopTick(m_refreshTick);
  if (m_instrumentTick) m_services.StopTick(m_instrumentTick);
  m_refreshTick = m_instrumentTick = 0;
}

void CTavrikDlg::InstrumentTick() {
  const bool signedHeading = m_analyser->GetConfigLine2() == kSignedHeadingConvention;
  m_dial->SetHeadingConverted(m_analyser->GetYaw(), signedHeading ? 1 : 0);
  m_gauge->UpdateNeedle(m_analyser->GetRoll());
  m_gauge->SetPitchValue(m_analyser->GetPitch());
}

void CTavrikDlg::OpenDebugConsole() {
  if (m_console == nullptr) {
    m_console = new DebugConsole([this] {
      m_receive->SetConsoleEcho(false);
      m_console = nullptr;
    });
  }
  m_receive->SetConsoleEcho(true);
  m_console->show();
  m_console->raise();
}

void CTavrikDlg::EnterUpgradeMode() {
  m_receive->SetMode(ReceiveMode::Upgrade);
  m_controls->Enable(1066, true);
  m_controls->SetText(1072, QString::fromUtf8(kUpgradeWarning));
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

void CTavrikDlg::closeEvent(QCloseEvent* event) {
  const int answer =
      m_services.MessageBox(this, QStringLiteral("点击确定退出程序，误操作请点击取消！！"), {},
                            MessageButtons::OkCancel, MessageIcon::Exclamation);
  if (answer != kResultOk) {
    event->ignore();
    return;
  }
  if (m_serial->IsWorkerAlive()) m_serial->ShutdownPort();
  StopTicks();
  for (auto& step : m_closingSteps) step();
  m_closingSteps.clear();
  m_services.ReleaseWaiters();
  m_receive->StopParser();
  if (m_console) m_console->close();
  event->accept();
  done(QDialog::Accepted);
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
