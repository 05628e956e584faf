#include "curves/CCWGraph.h"

#include <qcustomplot.h>

#include <QVBoxLayout>

namespace {

constexpr double kAxisLower = 0;
constexpr double kAxisUpper = 10;

}  // namespace

QString CWGraphPlot::Name() const {
  return m_graph->name();
}

void CWGraphPlot::SetDrawn(bool on) {
  m_graph->setVisible(on);
}

bool CWGraphPlot::Drawn() const {
  return m_graph->visible();
}

void CWGraphPlot::SetListed(bool on) {
  if (on) {
    m_graph->addToLegend();
  } else {
    m_graph->removeFromLegend();
  }
}

bool CWGraphPlot::Listed() const {
  return m_graph->parentPlot()->legend->hasItemWithPlottable(m_graph);
}

long CWGraphPlot::PointCount() const {
  return long(m_graph->data()->size());
}

void CWGraphPlot::AddPoint(double x, double y) {
  m_graph->addData(x, y);
}

void CWGraphPlot::Clear() {
  m_graph->data()->clear();
}

CWGraphPlot* CWGraphPlots::GetPlotByName(const QString& name) const {
  for (const auto& plot : m_plots) {
    if (plot->Name() == name) return plot.get();
  }
  return nullptr;
}

CCWGraph::CCWGraph(QWidget* parent) : QWidget(parent), m_plot(new QCustomPlot(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_plot);

  m_plot->plotLayout()->insertRow(0);
  m_caption = new QCPTextElement(m_plot, QString(), QFont(font().family(), 9, QFont::Bold));
  m_plot->plotLayout()->addElement(0, 0, m_caption);
  m_plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
  m_plot->xAxis->setRange(kAxisLower, kAxisUpper);
  m_plot->yAxis->setRange(kAxisLower, kAxisUpper);

  m_note = new QCPItemText(m_plot);
  m_note->setPositionAlignment(Qt::AlignCenter);
  m_note->position->setType(QCPItemPosition::ptAxisRectRatio);
  m_note->position->setCoords(0.5, 0.5);
  m_note->setColor(QColor(110, 110, 110));
  m_note->setClipToAxisRect(false);
}

CCWGraph::~CCWGraph() = default;

void CCWGraph::SetCaption(const QString& caption) {
  m_caption->setText(caption);
}

QString CCWGraph::Caption() const {
  return m_caption->text();
}

void CCWGraph::SetAxisCaptions(const QString& x, const QString& y) {
  m_plot->xAxis->setLabel(x);
  m_plot->yAxis->setLabel(y);
}

QString CCWGraph::XAxisCaption() const {
  return m_plot->xAxis->label();
}

QString CCWGraph::YAxisCaption() const {
  return m_plot->yAxis->label();
}

void CCWGraph::SetNote(const QString& note) {
  m_note->setText(note);
}

QString CCWGraph::Note() const {
  return m_note->text();
}

CWGraphPlot& CCWGraph::AddPlot(const QString& name, const QColor& colour) {
  QCPGraph* graph = m_plot->addGraph();
  graph->setName(name);
  graph->setPen(QPen(colour));
  m_plots.m_plots.push_back(std::unique_ptr<CWGraphPlot>(new CWGraphPlot(graph)));
  m_plot->legend->setVisible(true);
  return *m_plots.m_plots.back();
}

void CCWGraph::ResetGraph() {
  for (const auto& plot : m_plots.m_plots) plot->Clear();
  m_plot->xAxis->setRange(kAxisLower, kAxisUpper);
  m_plot->yAxis->setRange(kAxisLower, kAxisUpper);
  Redraw();
}

void CCWGraph::Redraw() {
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}
