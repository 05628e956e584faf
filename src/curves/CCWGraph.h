#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QCPGraph;
class QCPItemText;
class QCPTextElement;
class QCustomPlot;

// One plot of a CCWGraph, known by its name. Its two switches: whether it
// is drawn, and whether the legend lists it.
class CWGraphPlot {
 public:
  CWGraphPlot(const CWGraphPlot&) = delete;
  CWGraphPlot& operator=(const CWGraphPlot&) = delete;

  QString Name() const;
  void SetDrawn(bool on);
  bool Drawn() const;
  void SetListed(bool on);
  bool Listed() const;
  long PointCount() const;
  void AddPoint(double x, double y);
  void Clear();

 private:
  friend class CCWGraph;
  explicit CWGraphPlot(QCPGraph* graph) : m_graph(graph) {}
  QCPGraph* m_graph;
};

// A graph's plots.
class CWGraphPlots {
 public:
  // Null when the graph has no plot of that name (names are compared whole,
  // case and all).
  CWGraphPlot* GetPlotByName(const QString& name) const;
  long Count() const { return long(m_plots.size()); }
  CWGraphPlot& Item(long index) const { return *m_plots[size_t(index)]; }

 private:
  friend class CCWGraph;
  std::vector<std::unique_ptr<CWGraphPlot>> m_plots;
};

// A graph of the environment curve window, on QCustomPlot: a caption above,
// a captioned x and y axis, named plots with a legend, and a short note in
// the middle of the plot area for what the graph cannot show.
class CCWGraph : public QWidget {
  Q_OBJECT

 public:
  explicit CCWGraph(QWidget* parent = nullptr);
  ~CCWGraph() override;

  void SetCaption(const QString& caption);
  QString Caption() const;
  void SetAxisCaptions(const QString& x, const QString& y);
  QString XAxisCaption() const;
  QString YAxisCaption() const;
  void SetNote(const QString& note);
  QString Note() const;

  CWGraphPlot& AddPlot(const QString& name, const QColor& colour);
  CWGraphPlots& GetPlots() { return m_plots; }
  // Every plot emptied, the axes back to where they started.
  void ResetGraph();
  void Redraw();

  QCustomPlot& Plot() const { return *m_plot; }

 private:
  QCustomPlot* m_plot;
  QCPTextElement* m_caption;
  QCPItemText* m_note;
  CWGraphPlots m_plots;
};
