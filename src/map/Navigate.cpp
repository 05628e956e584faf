#include "map/Navigate.h"

#include <QDateTime>
#include <QDir>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>

#include "map/CExplorer_map.h"
#include "map/GpxWriter.h"
#include "services/WindowServices.h"
#include "ui_Navigate.h"

namespace {

constexpr const char* kSetStart = "setStartMarkfun";
constexpr const char* kMark = "justmarkfun";
constexpr const char* kClear = "clearMapfun";

constexpr const char* kSaveTitle = "保存轨迹";
constexpr const char* kSaveFilter = "GPX 轨迹文件 (*.gpx)|*.gpx|所有文件 (*.*)|*.*||";
constexpr const char* kNothingToSave = "还没有轨迹可以保存，请先点击“开始”。";
constexpr const char* kSaveFailed = "轨迹文件保存失败：\n%1\n%2";

}  // namespace

Navigate::Navigate(WindowServices& services, PositionSource position, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::Navigate>()),
      m_services(services),
      m_position(std::move(position)),
      m_markTimer(new QTimer(this)) {
  m_ui->setupUi(this);
  setModal(false);
  // The browser takes whatever room the window has; the buttons keep their
  // size and their distance from the right and bottom edges, as drawn.
  m_drawnSize = size();
  m_browserPlace = {m_ui->browser, m_ui->browser->geometry()};
  for (QPushButton* button : {m_ui->saveTrackButton, m_ui->startButton, m_ui->clearButton,
                              m_ui->exitButton, m_ui->testButton}) {
    m_buttonPlaces.push_back({button, button->geometry()});
  }
  setMinimumSize(kMinimumSize);
  resize(kDefaultSize);
  FitControls();
  m_markTimer->setObjectName("markTimer");
  m_markTimer->setInterval(kMarkPeriodMs);
  connect(m_markTimer, &QTimer::timeout, this, &Navigate::OnTick);
  connect(m_ui->browser, &CExplorer_map::DocumentReady, this, &Navigate::OnDocumentReady);
  connect(m_ui->startButton, &QPushButton::clicked, this, &Navigate::StartMarking);
  connect(m_ui->clearButton, &QPushButton::clicked, this, &Navigate::ClearMap);
  connect(m_ui->exitButton, &QPushButton::clicked, this, &Navigate::accept);
  connect(m_ui->testButton, &QPushButton::clicked, this, &Navigate::MarkOnceForTest);
  connect(m_ui->saveTrackButton, &QPushButton::clicked, this, &Navigate::SaveTrack);
}

Navigate::~Navigate() = default;

CExplorer_map& Navigate::Browser() {
  return *m_ui->browser;
}

QString Navigate::FormatDegrees(double value) {
  return QString::number(value, 'f', 6);
}

void Navigate::ShowOrRaise() {
  if (isVisible()) {
    if (isMinimized()) showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void Navigate::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised window is not an opening.
  if (event->spontaneous()) return;
  OpenPage();
}

void Navigate::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (event->spontaneous()) return;
  m_markTimer->stop();
  marking = false;
  m_startPending = false;
  page.releaseDocument();
  m_ui->browser->Unload();
}

void Navigate::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  FitControls();
}

void Navigate::FitControls() {
  const int dx = width() - m_drawnSize.width();
  const int dy = height() - m_drawnSize.height();
  m_browserPlace.widget->setGeometry(m_browserPlace.drawn.adjusted(0, 0, dx, dy));
  for (const Placed& p : m_buttonPlaces) p.widget->setGeometry(p.drawn.translated(dx, dy));
}

void Navigate::done(int result) {
  marking = false;
  m_startPending = false;
  QDialog::done(result);
}

void Navigate::OpenPage() {
  marking = false;
  m_startPending = false;
  m_track.Clear();
  page.releaseDocument();
  m_ui->browser->NavigateTo(QDir::current().absoluteFilePath(kPageFileName));
  m_markTimer->start();
}

void Navigate::OnDocumentReady(bool loaded) {
  // A missing or broken page leaves every call failing; nothing is shown.
  page.setDocument(m_ui->browser->Document());
  emit PageReady(loaded);
}

bool Navigate::TakePosition(double& longitude, double& latitude) {
  if (!m_position || !m_position(longitude, latitude)) return false;
  latitudeText = FormatDegrees(latitude);
  longitudeText = FormatDegrees(longitude);
  return true;
}

bool Navigate::MarkStart(double longitude, double latitude) {
  m_track.Clear();
  if (!page.callScriptFunction(kSetStart, longitudeText, latitudeText)) return false;
  m_track.Add(longitude, latitude, QDateTime::currentDateTimeUtc());
  return true;
}

void Navigate::OnTick() {
  if (!marking) return;
  // Marks before the start would be drawn without a start marker, on a map
  // not yet centred on the vehicle.
  if (m_startPending && !page.HasDocument()) return;
  double longitude = 0;
  double latitude = 0;
  if (!TakePosition(longitude, latitude)) return;
  if (m_startPending) {
    m_startPending = !MarkStart(longitude, latitude);
    return;
  }
  if (page.callScriptFunction(kMark, longitudeText, latitudeText)) {
    m_track.Add(longitude, latitude, QDateTime::currentDateTimeUtc());
  }
}

void Navigate::StartMarking() {
  double longitude = 0;
  double latitude = 0;
  // Pressed while the page is still loading, the call fails as any call
  // without a page does, and the start follows once the page is there.
  m_startPending = !TakePosition(longitude, latitude) || !MarkStart(longitude, latitude);
  marking = true;
}

void Navigate::ClearMap() {
  marking = false;
  m_startPending = false;
  m_track.Clear();
  page.callScriptFunction(kClear);
}

void Navigate::MarkOnceForTest() {
  page.setDocument(m_ui->browser->Document());
  page.callScriptFunction(kMark, longitudeText, latitudeText);
}

void Navigate::SaveTrack() {
  if (m_track.IsEmpty()) {
    m_services.MessageBox(this, QString::fromUtf8(kNothingToSave), {}, MessageButtons::Ok,
                          MessageIcon::Information);
    return;
  }
  const QString stamp = m_track.Points().front().time.toLocalTime().toString("yyyyMMdd-HHmmss");
  const FileDialogSpec settings{QString::fromUtf8(kSaveTitle), "gpx",
                                QString("track-%1.gpx").arg(stamp), QString::fromUtf8(kSaveFilter)};
  const std::optional<QString> path = m_services.SaveFileName(this, settings);
  if (!path) return;
  QString error;
  if (!GpxWriter::Save(m_track, QString("Tavrik %1").arg(stamp), *path, &error)) {
    m_services.MessageBox(this, QString::fromUtf8(kSaveFailed).arg(*path, error), {},
                          MessageButtons::Ok, MessageIcon::Exclamation);
  }
}
