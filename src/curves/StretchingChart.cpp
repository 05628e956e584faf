#include "curves/StretchingChart.h"

#include <QWidget>
#include <algorithm>

namespace {

constexpr int kGap = 12;
// How close to the right edge a control is drawn to stay with that edge.
constexpr int kRightBand = 150;
constexpr int kLeastChartHeight = 200;

}  // namespace

StretchingChart::StretchingChart(QWidget& window, QWidget& chart)
    : m_drawnSize(window.size()), m_chart(chart), m_chartDrawn(chart.geometry()) {
  int leftEnd = 0, rightStart = m_drawnSize.width();
  for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child == &chart || child->isWindow()) continue;
    const QRect drawn = child->geometry();
    if (drawn.top() < m_chartDrawn.bottom()) continue;
    const bool right = drawn.right() >= m_drawnSize.width() - kRightBand;
    m_below.push_back({child, drawn, right});
    if (child->isHidden()) continue;
    if (right) {
      rightStart = std::min(rightStart, drawn.left());
    } else {
      leftEnd = std::max(leftEnd, drawn.right() + 1);
    }
  }
  const int narrowest = leftEnd + kGap + (m_drawnSize.width() - rightStart);
  m_minimum = QSize(std::min(narrowest, m_drawnSize.width()),
                    m_drawnSize.height() - m_chartDrawn.height() + kLeastChartHeight);
}

void StretchingChart::Fit(QSize windowSize) {
  const int dx = windowSize.width() - m_drawnSize.width();
  const int dy = windowSize.height() - m_drawnSize.height();
  m_chart.setGeometry(m_chartDrawn.adjusted(0, 0, dx, dy));
  for (const Placed& placed : m_below) {
    placed.widget->move(placed.drawn.topLeft() + QPoint(placed.followsRight ? dx : 0, dy));
  }
}
