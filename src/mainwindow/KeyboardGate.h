#pragma once

#include <QObject>
#include <functional>

class QDialog;

// The main window's key filter: Ctrl+Shift+D, Ctrl+Shift+H and Ctrl+Shift+U
// are the hidden shortcuts, Enter and Esc never close the window. Every
// other key, plain letters included, reaches the control that has focus.
class KeyboardGate final : public QObject {
 public:
  struct Actions {
    std::function<void()> appendFrameFormat6;  // Ctrl+Shift+D
    std::function<void()> openDebugConsole;    // Ctrl+Shift+H
    std::function<void()> enterUpgradeMode;    // Ctrl+Shift+U
  };

  KeyboardGate(QDialog& window, Actions actions);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool BelongsToWindow(QObject* watched) const;

  QDialog& m_window;
  Actions m_actions;
};
