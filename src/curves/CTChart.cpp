#include "curves/CTChart.h"

#include <qcustomplot.h>

#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "curves/PointLabelTicker.h"

namespace {

// Where the container puts a point with this x: after the points of equal
// x at the end, before them inside.
long InsertionIndex(const QCPGraphDataContainer& data, double x) {
  if (data.isEmpty() || x >= (data.constEnd() - 1)->key) return long(data.size());
  if (x < data.constBegin()->key) return 0;
  return long(std::lower_bound(data.constBegin(), data.constEnd(), QCPGraphData(x, 0),
                               qcpLessThanSortKey<QCPGraphData>) -
              data.constBegin());
}

}  // namespace

void CTChartSeries::ClearSeries() {
  m_graph->data()->clear();
  m_labels.clear();
}

void CTChartSeries::SetSeriesTitle(const QString& title) {
  m_graph->setName(title);
}

QString CTChartSeries::SeriesTitle() const {
  return m_graph->name();
}

long CTChartSeries::AddSeriesPoint(double x, double y, const QString& label, const QColor& colour) {
  QCPGraphDataContainer& data = *m_graph->data();
  const long index = InsertionIndex(data, x);
  data.add(QCPGraphData(x, y));
  m_labels.insert(m_labels.begin() + index, label);
  if (m_graph->pen().color() != colour) m_graph->setPen(QPen(colour));
  return index;
}

long CTChartSeries::GetSeriesCount() const {
  return long(m_graph->data()->size());
}

void CTChartSeries::DeleteSeriesPoint(long index) {
  QCPGraphDataContainer& data = *m_graph->data();
  if (index < 0 || index >= long(data.size())) return;
  const double key = (data.constBegin() + index)->key;
  const bool keyOfItsOwn =
      (index == 0 || (data.constBegin() + index - 1)->key < key) &&
      (index + 1 == long(data.size()) || (data.constBegin() + index + 1)->key > key);
  if (index == 0 && keyOfItsOwn && data.size() > 1) {
    // The common case, the oldest point: the container only moves its start.
    data.removeBefore((data.constBegin() + 1)->key);
  } else if (keyOfItsOwn) {
    data.remove(key);
  } else {
    // Points sharing an x: keep the others.
    QVector<QCPGraphData> rest(data.constBegin(), data.constEnd());
    rest.remove(int(index));
    data.set(rest, true);
  }
  m_labels.erase(m_labels.begin() + index);
}

void CTChartSeries::KeepNewest(long count) {
  QCPGraphDataContainer& data = *m_graph->data();
  const long excess = long(data.size()) - std::max(0L, count);
  if (excess <= 0) return;
  if (count == 0) {
    ClearSeries();
    return;
  }
  const double firstKept = (data.constBegin() + excess)->key;
  if ((data.constBegin() + excess - 1)->key < firstKept) {
    data.removeBefore(firstKept);
  } else {
    data.set(QVector<QCPGraphData>(data.constBegin() + excess, data.constEnd()), true);
  }
  m_labels.erase(m_labels.begin(), m_labels.begin() + excess);
}

double CTChartSeries::XValue(long index) const {
  return (m_graph->data()->constBegin() + index)->key;
}

double CTChartSeries::YValue(long index) const {
  return (m_graph->data()->constBegin() + index)->value;
}

QString CTChartSeries::Label(long index) const {
  return m_labels[size_t(index)];
}

QColor CTChartSeries::Colour() const {
  return m_graph->pen().color();
}

const QString* CTChartSeries::LabelAt(double x) const {
  const QCPGraphDataContainer& data = *m_graph->data();
  const auto it = std::lower_bound(data.constBegin(), data.constEnd(), QCPGraphData(x, 0),
                                   qcpLessThanSortKey<QCPGraphData>);
  if (it == data.constEnd() || it->key != x) return nullptr;
  return &m_labels[size_t(it - data.constBegin())];
}

bool CTChartSeries::Visible() const {
  return m_graph->visible();
}

CTChart::CTChart(QWidget* parent) : QWidget(parent), m_plot(new QCustomPlot(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_plot);

  m_plot->plotLayout()->insertRow(0);
  m_title = new QCPTextElement(m_plot, QString(), QFont(font().family(), 11, QFont::Bold));
  m_plot->plotLayout()->addElement(0, 0, m_title);
  // The legend stands beside the plot area, so it never hides the newest
  // points at the right edge.
  m_plot->legend->setVisible(true);
  m_plot->axisRect()->insetLayout()->take(m_plot->legend);
  auto* side = new QCPLayoutGrid;
  m_plot->plotLayout()->addElement(1, 1, side);
  m_plot->plotLayout()->setColumnStretchFactor(1, 0.001);
  side->addElement(0, 0, m_plot->legend);
  side->addElement(1, 0, new QCPLayoutElement(m_plot));
  side->setRowStretchFactor(0, 0.001);
  side->setMargins(QMargins(0, 10, 8, 0));
  m_plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new PointLabelTicker([this](double key) {
    for (const auto& series : m_series) {
      if (const QString* label = series->LabelAt(key)) return *label;
    }
    return QString();
  })));
  m_plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  m_plot->setNoAntialiasingOnDrag(true);
  m_plot->axisRect()->setRangeDrag(Qt::Horizontal | Qt::Vertical);
  m_plot->axisRect()->setRangeZoom(Qt::Horizontal | Qt::Vertical);
  // Once the user moves the view, new points no longer move it.
  connect(m_plot, &QCustomPlot::mouseWheel, this, [this] { m_followData = false; });
  connect(m_plot, &QCustomPlot::mouseMove, this, [this](QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) m_followData = false;
  });
  connect(m_plot, &QCustomPlot::afterReplot, this, [this] { ++m_redraws; });
}

CTChart::~CTChart() = default;

void CTChart::SetTitle(const QString& title) {
  m_title->setText(title);
}

QString CTChart::Title() const {
  return m_title->text();
}

CTChartSeries& CTChart::AddSeries(const QString& title, const QColor& colour) {
  QCPGraph* graph = m_plot->addGraph();
  graph->setName(title);
  graph->setPen(QPen(colour));
  graph->setLineStyle(QCPGraph::lsLine);
  graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
  m_series.push_back(std::unique_ptr<CTChartSeries>(new CTChartSeries(graph)));
  return *m_series.back();
}

CTChartSeries* CTChart::GetSeries(long index) const {
  if (index < 0 || index >= SeriesTotal()) return nullptr;
  return m_series[size_t(index)].get();
}

void CTChart::Redraw() {
  if (m_followData) FitViewToData();
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CTChart::ResetView() {
  m_followData = true;
  Redraw();
}

void CTChart::FitViewToData() {
  bool anyKeys = false, anyValues = false;
  QCPRange keys, values;
  for (const auto& series : m_series) {
    if (series->GetSeriesCount() == 0 || !series->Visible()) continue;
    bool found = false;
    const QCPRange k = series->m_graph->getKeyRange(found);
    if (found) {
      keys = anyKeys ? QCPRange(std::min(keys.lower, k.lower), std::max(keys.upper, k.upper)) : k;
      anyKeys = true;
    }
    const QCPRange v = series->m_graph->getValueRange(found);
    if (found) {
      values = anyValues
                   ? QCPRange(std::min(values.lower, v.lower), std::max(values.upper, v.upper))
                   : v;
      anyValues = true;
    }
  }
  if (!anyKeys || !anyValues) return;
  if (keys.size() < 1) keys = QCPRange(keys.lower - 1, keys.upper + 1);
  // A flat line sits in the middle of a band of its own size, or of 1.
  const double margin =
      values.size() > 0 ? values.size() * 0.05 : std::max(std::abs(values.lower) * 0.05, 0.5);
  m_plot->xAxis->setRange(keys);
  m_plot->yAxis->setRange(values.lower - margin, values.upper + margin);
}

bool CTChart::SaveImage(const QString& path) {
  return m_plot->savePng(path);
}
