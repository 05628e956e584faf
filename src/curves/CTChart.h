#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class QCPGraph;
class QCPTextElement;
class QCustomPlot;

// One line series of a CTChart: points in ascending x, each with the label
// the x axis shows for it, drawn in one colour without point markers.
// GUI thread only, like the chart.
class CTChartSeries {
 public:
  CTChartSeries(const CTChartSeries&) = delete;
  CTChartSeries& operator=(const CTChartSeries&) = delete;

  void ClearSeries();
  void SetSeriesTitle(const QString& title);
  QString SeriesTitle() const;
  // Appends the point (or puts it in x order) and returns its index. The
  // series is drawn in the colour of its latest point.
  long AddSeriesPoint(double x, double y, const QString& label, const QColor& colour);
  long GetSeriesCount() const;
  // Removes the point at the index; the later points move up.
  void DeleteSeriesPoint(long index);
  // Removes the oldest points until at most `count` are left.
  void KeepNewest(long count);

  double XValue(long index) const;
  double YValue(long index) const;
  QString Label(long index) const;
  QColor Colour() const;
  // The label of the point at exactly x; null when the series has none.
  const QString* LabelAt(double x) const;
  bool Visible() const;

 private:
  friend class CTChart;
  explicit CTChartSeries(QCPGraph* graph) : m_graph(graph) {}

  QCPGraph* m_graph;
  std::deque<QString> m_labels;  // beside the graph's points, index for index
};

// The chart of the sensor curve window, on QCustomPlot: a title, a legend
// of the series titles, an x axis labelled with the points' labels. The
// view follows the data (the whole x range of the points, the y range with
// a margin) until the user drags or zooms it with the mouse; ResetView makes
// it follow again.
class CTChart : public QWidget {
  Q_OBJECT

 public:
  explicit CTChart(QWidget* parent = nullptr);
  ~CTChart() override;

  void SetTitle(const QString& title);
  QString Title() const;

  // Configuration: series are added once and kept for the chart's life.
  CTChartSeries& AddSeries(const QString& title, const QColor& colour);
  // Null past the last series.
  CTChartSeries* GetSeries(long index) const;
  long SeriesTotal() const { return long(m_series.size()); }

  // Asks for one redraw at the next turn of the event loop; several asks
  // before it come to one.
  void Redraw();
  void ResetView();
  bool FollowsData() const { return m_followData; }
  uint64_t Redraws() const { return m_redraws; }

  // The chart as drawn, at its size on screen.
  bool SaveImage(const QString& path);
  QCustomPlot& Plot() const { return *m_plot; }

 private:
  void FitViewToData();

  QCustomPlot* m_plot;
  QCPTextElement* m_title;
  std::vector<std::unique_ptr<CTChartSeries>> m_series;
  bool m_followData = true;
  uint64_t m_redraws = 0;
};
