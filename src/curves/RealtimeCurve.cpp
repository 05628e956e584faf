#include "curves/RealtimeCurve.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTime>
#include <QTimer>

#include "curves/CTChart.h"
#include "curves/CurvePointsFile.h"
#include "curves/StretchingChart.h"
#include "device/DeviceSession.h"
#include "services/WindowServices.h"
#include "ui_RealtimeCurve.h"

namespace {

const char* const kChartTitle = "曲线显示";
const char* const kPauseText = "Pause";
const char* const kResumeText = "Resume";

}  // namespace

RealtimeCurve::RealtimeCurve(const SampleHub& samples, DeviceSession& session,
                             WindowServices& services, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::RealtimeCurve>()),
      m_session(session),
      m_services(services),
      m_feed(samples),
      m_modeSwitchTimer(new QTimer(this)),
      m_redrawTimer(new QTimer(this)) {
  m_ui->setupUi(this);
  m_stretch = std::make_unique<StretchingChart>(*this, *m_ui->chart);
  setMinimumSize(m_stretch->MinimumSize());

  // The chart as the window first draws it: its title and three line series.
  CTChart& chart = *m_ui->chart;
  chart.SetTitle(QString::fromUtf8(kChartTitle));
  for (int i = 0; i < kSeriesCount; ++i) {
    m_series[size_t(i)] =
        &chart.AddSeries(QStringLiteral("Series%1").arg(i), QColor(kPointColours[i]));
  }

  for (int g = 0; g < kCurveGroupCount; ++g) {
    connect(GroupRadio(CurveGroup(g)), &QAbstractButton::clicked, this,
            [this, g] { SelectGroup(CurveGroup(g)); });
  }
  for (int i = 0; i < kSeriesCount; ++i) {
    connect(CurveCheck(i), &QAbstractButton::clicked, this,
            [this, i](bool checked) { SetCurveSwitch(i, checked); });
  }
  connect(m_ui->pauseButton, &QPushButton::clicked, this, [this] { SetPaused(!m_paused); });
  connect(m_ui->resetViewButton, &QPushButton::clicked, this, [this] { ResetView(); });
  connect(m_ui->saveImageButton, &QPushButton::clicked, this, [this] { SaveImage(); });
  connect(m_ui->exportPointsButton, &QPushButton::clicked, this, [this] { ExportPoints(); });
  connect(m_ui->returnButton, &QPushButton::clicked, this, [this] { accept(); });

  m_modeSwitchTimer->setObjectName(QStringLiteral("modeSwitchTimer"));
  m_modeSwitchTimer->setSingleShot(true);
  m_modeSwitchTimer->setInterval(kModeSwitchDelayMs);
  connect(m_modeSwitchTimer, &QTimer::timeout, this, [this] { EnterCurveMode(); });
  m_redrawTimer->setObjectName(QStringLiteral("redrawTimer"));
  m_redrawTimer->setInterval(kRedrawPeriodMs);
  connect(m_redrawTimer, &QTimer::timeout, this, [this] { OnRedrawTick(); });
}

RealtimeCurve::~RealtimeCurve() = default;

void RealtimeCurve::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  m_stretch->Fit(size());
}

// Drawn wider than a laptop's screen: there the window opens as large as
// the screen allows, title bar included.
void RealtimeCurve::FitScreen() {
  const QScreen* shown = screen();
  if (shown == nullptr) return;
  const QSize room = shown->availableGeometry().size() - QSize(kFrameAllowance, kTitleAllowance);
  const QSize fitted = size().boundedTo(room).expandedTo(minimumSize());
  if (fitted != size()) resize(fitted);
}

CTChart& RealtimeCurve::Chart() const {
  return *m_ui->chart;
}

bool RealtimeCurve::Plotting() const {
  return m_redrawTimer->isActive();
}

bool RealtimeCurve::ModeSwitchPending() const {
  return m_modeSwitchTimer->isActive();
}

QAbstractButton* RealtimeCurve::GroupRadio(CurveGroup group) const {
  switch (group) {
    case CurveGroup::Accelerometer:
      return m_ui->accRadio;
    case CurveGroup::Attitude:
      return m_ui->attitudeRadio;
    case CurveGroup::Gyro:
      break;
  }
  return m_ui->gyroRadio;
}

QAbstractButton* RealtimeCurve::CurveCheck(int index) const {
  QAbstractButton* const checks[] = {m_ui->curve0Check, m_ui->curve1Check, m_ui->curve2Check};
  return checks[index];
}

void RealtimeCurve::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FitScreen();
  QDialog::showEvent(event);
  // Coming back from the task bar is not a new opening.
  if (!event->spontaneous() && !m_open) Open();
}

void RealtimeCurve::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous()) Close();
}

void RealtimeCurve::done(int result) {
  Close();
  QDialog::done(result);
}

void RealtimeCurve::Open() {
  m_open = true;
  for (int i = 0; i < kSeriesCount; ++i) {
    const QSignalBlocker blocker(CurveCheck(i));
    CurveCheck(i)->setChecked(true);
    m_switches[size_t(i)] = true;
  }
  SelectGroup(CurveGroup::Gyro);  // captions, titles, empty series
  m_paused = false;
  m_ui->pauseButton->setText(QString::fromUtf8(kPauseText));
  m_ui->chart->ResetView();
  ShowFrameCount();
  // The wait keeps the event loop running; closing within it cancels the
  // switch.
  m_modeSwitchTimer->start();
}

void RealtimeCurve::EnterCurveMode() {
  if (!m_open) return;
  m_session.EnterSensorCurve();
  // Only frames decoded from here on are curve points.
  m_feed.Begin();
  m_redrawTimer->start();
}

void RealtimeCurve::Close() {
  if (!m_open) return;
  m_open = false;
  m_modeSwitchTimer->stop();
  m_redrawTimer->stop();
  m_session.EnterLive();
}

void RealtimeCurve::SelectGroup(CurveGroup group) {
  {
    const QSignalBlocker blocker(GroupRadio(group));
    GroupRadio(group)->setChecked(true);
  }
  const CurveGroupTexts& texts = TextsOf(group);
  for (int i = 0; i < kSeriesCount; ++i) {
    CurveCheck(i)->setText(QString::fromUtf8(texts.captions[i]));
    m_series[size_t(i)]->SetSeriesTitle(QString::fromUtf8(texts.titles[i]));
  }
  m_group = group;
  for (int i = 0; i < kSeriesCount; ++i) {
    m_series[size_t(i)]->ClearSeries();
    m_feed.Restart(i);
  }
  m_ui->chart->Redraw();
}

void RealtimeCurve::SetCurveSwitch(int index, bool on) {
  {
    const QSignalBlocker blocker(CurveCheck(index));
    CurveCheck(index)->setChecked(on);
  }
  m_switches[size_t(index)] = on;
  if (!on) m_series[size_t(index)]->ClearSeries();
  // Switched off or on again, the series takes only frames from now on.
  m_feed.Restart(index);
  m_ui->chart->Redraw();
}

void RealtimeCurve::SetPaused(bool paused) {
  m_paused = paused;
  m_ui->pauseButton->setText(QString::fromUtf8(paused ? kResumeText : kPauseText));
  if (!paused) ApplyPending();
}

void RealtimeCurve::ResetView() {
  m_ui->chart->ResetView();
}

void RealtimeCurve::OnRedrawTick() {
  m_feed.Collect(QTime::currentTime());
  if (!m_paused) ApplyPending();
  ShowFrameCount();
}

void RealtimeCurve::ApplyPending() {
  const std::deque<CurvePointFeed::Point>& pending = m_feed.Pending();
  if (pending.empty()) return;
  for (int i = 0; i < kSeriesCount; ++i) {
    if (!m_switches[size_t(i)]) continue;
    CTChartSeries& series = *m_series[size_t(i)];
    long taken = 0;
    for (const auto& point : pending) taken += m_feed.Takes(i, point) ? 1 : 0;
    if (taken == 0) continue;
    // A batch that fills the window by itself replaces the whole series.
    long skip = 0;
    if (taken >= kMaxPoints) {
      series.ClearSeries();
      skip = taken - kMaxPoints;
    }
    const QColor colour(kPointColours[i]);
    for (const auto& point : pending) {
      if (!m_feed.Takes(i, point)) continue;
      if (skip > 0) {
        --skip;
        continue;
      }
      series.AddSeriesPoint(point.x, point.Value(m_group, i), point.label, colour);
    }
    series.KeepNewest(kMaxPoints);
  }
  m_feed.ClearPending();
  m_ui->chart->Redraw();
}

void RealtimeCurve::ShowFrameCount() {
  const uint64_t count = m_feed.PointCounter();
  if (count == m_shownCount) return;
  m_shownCount = count;
  QString text = QStringLiteral("帧数 %1").arg(count);
  if (m_feed.Missed() > 0) text += QStringLiteral("  丢失 %1").arg(m_feed.Missed());
  m_ui->frameCountLabel->setText(text);
}

void RealtimeCurve::SaveImage() {
  const std::optional<QString> path = m_services.SaveFileName(
      this, {QStringLiteral("Save image"), QStringLiteral("png"), QStringLiteral("curves.png"),
             QStringLiteral("PNG 图片(*.png)|*.png||")});
  if (!path) return;
  if (!m_ui->chart->SaveImage(*path)) {
    m_services.MessageBox(this, QStringLiteral("无法保存图片：%1").arg(*path));
  }
}

void RealtimeCurve::ExportPoints() {
  const std::optional<QString> path = m_services.SaveFileName(
      this, {QStringLiteral("Export points"), QStringLiteral("csv"), QStringLiteral("curves.csv"),
             QStringLiteral("CSV 文件(*.csv)|*.csv||")});
  if (!path) return;
  if (!CurvePointsFile::Write(*m_ui->chart, *path)) {
    m_services.MessageBox(this, QStringLiteral("无法写入文件：%1").arg(*path));
  }
}
