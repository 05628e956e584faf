#include "mainwindow/ConsolePanel.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstring>

#include "mainwindow/ControlMap.h"
#include "mainwindow/DebugConsole.h"
#include "mainwindow/TavrikDlgIds.h"
#include "services/WindowServices.h"

ConsolePanel::ConsolePanel(const ControlMap& controls, QPlainTextEdit& console,
                           WindowServices& services)
    : m_console(console), m_services(services) {
  QFont font("Courier New");
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(16);
  m_console.setFont(font);
  if (auto* hex = controls.As<QCheckBox>(MainIds::kHexDisplayCheck)) {
    hex->setChecked(true);
    QObject::connect(hex, &QCheckBox::toggled, &m_context, [this](bool on) { SetHexDisplay(on); });
  }
  if (auto* show = controls.As<QCheckBox>(MainIds::kShowDataCheck)) {
    QObject::connect(show, &QCheckBox::toggled, &m_context, [this](bool on) { SetShowData(on); });
  }
  if (auto* clear = controls.As<QPushButton>(MainIds::kClearButton)) {
    QObject::connect(clear, &QPushButton::clicked, &m_context, [this] { m_console.clear(); });
  }
}

ConsolePanel::~ConsolePanel() {
  CloseDebugConsole();
}

void ConsolePanel::OnChunk(const Chunk& chunk) {
  // A chunk split at the ring's end is not echoed, as it never was.
  if (chunk.Split() || !m_showData.load()) return;
  if (m_echoCounter++ % 20 != 0) return;
  QString text;
  if (m_hexDisplay.load()) {
    text = QString::fromLatin1(chunk.firstText.data(), qsizetype(chunk.firstText.size()));
  } else {
    const void* zero = std::memchr(chunk.bytes, 0, chunk.count);
    const size_t length =
        zero ? size_t(static_cast<const uint8_t*>(zero) - chunk.bytes) : chunk.count;
    text = QString::fromLatin1(reinterpret_cast<const char*>(chunk.bytes), qsizetype(length));
  }
  m_services.PostToGui([this, text] { m_console.setPlainText(text); }, &m_context);
}

void ConsolePanel::OpenDebugConsole() {
  if (m_debugConsole == nullptr) {
    m_debugConsole = new DebugConsole([this] { m_debugConsole = nullptr; });
  }
  m_debugConsole->show();
  m_debugConsole->raise();
}

void ConsolePanel::CloseDebugConsole() {
  if (m_debugConsole) m_debugConsole->close();
}

void ConsolePanel::PrintHandledByte(uint8_t byte) {
  if (m_debugConsole) m_debugConsole->PrintByte(byte);
}
