#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

// Lets a chart window be resized, down to a laptop's screen and up to any
// size: the chart takes the room the window gains or gives up, the controls
// below it keep their distance from the bottom edge, and those drawn at the
// right edge keep their distance from it as well. The window gets no
// narrower than its controls below the chart need side by side, and keeps
// a chart of some height.
class StretchingChart {
 public:
  // The window's children as drawn, the window at its drawn size.
  StretchingChart(QWidget& window, QWidget& chart);

  QSize MinimumSize() const { return m_minimum; }
  void Fit(QSize windowSize);

 private:
  struct Placed {
    QWidget* widget;
    QRect drawn;
    bool followsRight;
  };
  QSize m_drawnSize;
  QWidget& m_chart;
  QRect m_chartDrawn;
  std::vector<Placed> m_below;
  QSize m_minimum;
};
