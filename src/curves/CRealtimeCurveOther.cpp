#include "curves/CRealtimeCurveOther.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>

#include "curves/CCWGraph.h"
#include "device/DeviceSession.h"
#include "ui_CRealtimeCurveOther.h"

const char* const CRealtimeCurveOther::kPlotNames[kPlotCount] = {"Gyro-x", "gyro-y", "gyro-z"};

namespace {

// What each graph would show, and why it stays empty.
const char* const kNotes[CRealtimeCurveOther::kGraphCount] = {
    "数据帧中没有地磁数据", "数据帧中没有气压数据", "数据帧中没有温度数据"};
const QRgb kPlotColours[CRealtimeCurveOther::kPlotCount] = {qRgb(220, 0, 0), qRgb(0, 160, 0),
                                                            qRgb(0, 0, 220)};

}  // namespace

CRealtimeCurveOther::CRealtimeCurveOther(DeviceSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CRealtimeCurveOther>()), m_session(session) {
  m_ui->setupUi(this);
  setFixedSize(size());

  // The graphs as the window first draws them.
  for (int g = 0; g < kGraphCount; ++g) {
    CCWGraph& graph = Graph(g);
    graph.SetCaption(QStringLiteral("GYRO"));
    graph.SetAxisCaptions(QStringLiteral("XAxis"), QStringLiteral("YAxis-1"));
    graph.SetNote(QString::fromUtf8(kNotes[g]));
  }
  for (int p = 0; p < kPlotCount; ++p) {
    Graph(0).AddPlot(QString::fromUtf8(kPlotNames[p]), QColor(kPlotColours[p]));
  }

  for (int p = 0; p < kPlotCount; ++p) {
    connect(PlotCheck(p), &QAbstractButton::clicked, this,
            [this, p](bool checked) { SetPlotSwitch(p, checked); });
  }
  connect(m_ui->returnButton, &QPushButton::clicked, this, [this] { accept(); });
}

CRealtimeCurveOther::~CRealtimeCurveOther() = default;

CCWGraph& CRealtimeCurveOther::Graph(int index) const {
  CCWGraph* const graphs[] = {m_ui->magGraph, m_ui->pressureGraph, m_ui->temperatureGraph};
  return *graphs[index];
}

QAbstractButton* CRealtimeCurveOther::PlotCheck(int index) const {
  QAbstractButton* const checks[] = {m_ui->magXCheck, m_ui->magYCheck, m_ui->magZCheck};
  return checks[index];
}

void CRealtimeCurveOther::SetPlotSwitch(int index, bool on) {
  {
    const QSignalBlocker blocker(PlotCheck(index));
    PlotCheck(index)->setChecked(on);
  }
  CWGraphPlot* plot = Graph(0).GetPlots().GetPlotByName(QString::fromUtf8(kPlotNames[index]));
  if (plot == nullptr) return;
  plot->SetDrawn(on);
  plot->SetListed(on);
  Graph(0).Redraw();
}

void CRealtimeCurveOther::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous() && !m_open) Open();
}

void CRealtimeCurveOther::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous()) Close();
}

void CRealtimeCurveOther::done(int result) {
  Close();
  QDialog::done(result);
}

void CRealtimeCurveOther::Open() {
  m_open = true;
  // Every opening starts with the three plots shown, as first drawn.
  for (int p = 0; p < kPlotCount; ++p) SetPlotSwitch(p, true);
  Graph(0).ResetGraph();
  m_session.EnterEnvCurve();
}

void CRealtimeCurveOther::Close() {
  // The main window returns the session to the live display.
  m_open = false;
}
