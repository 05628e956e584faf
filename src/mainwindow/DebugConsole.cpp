#include "mainwindow/DebugConsole.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

DebugConsole::DebugConsole(std::function<void()> onClosed)
    : m_text(new QPlainTextEdit(this)), m_onClosed(std::move(onClosed)) {
  setWindowTitle(QStringLiteral("Debug Console, 如发现异常，请将此窗口内容告知厂家"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_text);
  m_text->setReadOnly(true);
  m_text->setFont(QFont("Monospace"));
  m_text->setStyleSheet("background: black; color: #c0c0c0;");
  m_text->installEventFilter(this);
  resize(640, 320);
  Print(" Debug information...CTRL+C->shutdown\n");
}

void DebugConsole::Print(const QString& text) {
  m_text->moveCursor(QTextCursor::End);
  m_text->insertPlainText(text);
}

QString DebugConsole::Text() const {
  return m_text->toPlainText();
}

bool DebugConsole::eventFilter(QObject* watched, QEvent* event) {
  // Ctrl+C ends the console, as in a terminal, rather than copying.
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_C && (key->modifiers() & Qt::ControlModifier)) {
      if (event->type() == QEvent::KeyPress) {
        Print("Ctrl-C event\n\n");
        close();
      }
      event->accept();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void DebugConsole::closeEvent(QCloseEvent* event) {
  if (m_onClosed) m_onClosed();
  m_onClosed = nullptr;
  QWidget::closeEvent(event);
}
