#include "mainwindow/ControlMap.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

ControlMap::ControlMap(QWidget& root) {
  for (QWidget* w : root.findChildren<QWidget*>()) {
    const QVariant id = w->property("controlId");
    if (id.isValid()) m_controls.insert(id.toInt(), w);
  }
}

void ControlMap::Enable(int controlId, bool enabled) const {
  if (QWidget* w = Get(controlId)) w->setEnabled(enabled);
}

void ControlMap::Show(int controlId, bool visible) const {
  if (QWidget* w = Get(controlId)) w->setVisible(visible);
}

void ControlMap::SetText(int controlId, const QString& text) const {
  QWidget* w = Get(controlId);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    // The live display rewrites every box several times a second; a box
    // whose text stays is left alone rather than repainted.
    if (edit->text() != text) edit->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(text);
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    combo->setEditText(text);
  } else if (auto* console = qobject_cast<QPlainTextEdit*>(w)) {
    console->setPlainText(text);
  }
}

QString ControlMap::Text(int controlId) const {
  QWidget* w = Get(controlId);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
  if (auto* console = qobject_cast<QPlainTextEdit*>(w)) return console->toPlainText();
  return {};
}
