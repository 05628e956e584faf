#pragma once

#include <QWidget>
#include <functional>

class QPlainTextEdit;

// The debug console opened with Ctrl+Shift+H: a window of the program that
// prints every byte the per-byte road handles. Ctrl+C in it closes it.
class DebugConsole final : public QWidget {
 public:
  // onClosed runs when the console goes away, by Ctrl+C or by its window.
  explicit DebugConsole(std::function<void()> onClosed);

  void Print(const QString& text);
  void PrintByte(uint8_t byte) { Print(QString::asprintf("%x ", byte)); }
  QString Text() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QPlainTextEdit* m_text;
  std::function<void()> m_onClosed;
};
