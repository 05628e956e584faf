#include "mainwindow/GrowingConsole.h"

#include <QWidget>
#include <algorithm>

#include "mainwindow/ControlMap.h"
#include "mainwindow/TavrikDlgIds.h"

GrowingConsole::GrowingConsole(const ControlMap& controls, QSize drawnSize)
    : m_drawnSize(drawnSize) {
  if (QWidget* console = controls.Get(MainIds::kConsoleEdit)) {
    m_console = {console, console->geometry()};
  }
  for (int id :
       {MainIds::kSendEdit, MainIds::kHexSendCheck, MainIds::kSendButton, MainIds::kLinkStatusLabel,
        MainIds::kUpdateStatusLabel, MainIds::kReplayProgressBar}) {
    if (QWidget* w = controls.Get(id)) m_sendRow.push_back({w, w->geometry()});
  }
}

void GrowingConsole::Fit(QSize windowSize) {
  if (m_console.widget == nullptr) return;
  const int dx = std::max(0, windowSize.width() - m_drawnSize.width());
  const int dy = std::max(0, windowSize.height() - m_drawnSize.height());
  m_console.widget->setGeometry(m_console.drawn.adjusted(0, 0, dx, dy));
  for (const Placed& p : m_sendRow) {
    // The send box and the line's status widen; the rest keeps to the right.
    const bool widens = p.widget == m_sendRow[0].widget || p.widget == m_sendRow[3].widget;
    p.widget->setGeometry(widens ? p.drawn.adjusted(0, dy, dx, dy) : p.drawn.translated(dx, dy));
  }
}
