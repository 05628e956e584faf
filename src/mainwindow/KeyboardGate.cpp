#include "mainwindow/KeyboardGate.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

KeyboardGate::KeyboardGate(QDialog& window, Actions actions)
    : QObject(&window), m_window(window), m_actions(std::move(actions)) {
  // Application-wide, so that a key is seen before the focused control takes it.
  qApp->installEventFilter(this);
}

bool KeyboardGate::BelongsToWindow(QObject* watched) const {
  auto* widget = qobject_cast<QWidget*>(watched);
  return widget != nullptr && widget->window() == &m_window;
}

bool KeyboardGate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !BelongsToWindow(watched)) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    case Qt::Key_Escape:
      m_window.setFocus();
      return true;
    default:
      break;
  }
  const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
  if (mods != (Qt::ControlModifier | Qt::ShiftModifier)) return false;
  const std::function<void()>* action = nullptr;
  switch (key->key()) {
    case Qt::Key_D:
      action = &m_actions.appendFrameFormat6;
      break;
    case Qt::Key_H:
      action = &m_actions.openDebugConsole;
      break;
    case Qt::Key_U:
      action = &m_actions.enterUpgradeMode;
      break;
    default:
      return false;
  }
  // The filter sees a key once per receiver it passes; act on the first.
  if (watched == QApplication::focusWidget() || watched == &m_window ||
      QApplication::focusWidget() == nullptr) {
    if (*action) (*action)();
  }
  return true;
}
