#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class ControlMap;
class QWidget;

// When the main window grows, the console text box takes the extra room and
// the send row below it follows; every other control keeps its size and
// place, as drawn.
class GrowingConsole {
 public:
  GrowingConsole(const ControlMap& controls, QSize drawnSize);

  void Fit(QSize windowSize);

 private:
  struct Placed {
    QWidget* widget;
    QRect drawn;
  };
  QSize m_drawnSize;
  Placed m_console{};
  std::vector<Placed> m_sendRow;
};
