#include "mainwindow/PortComboBox.h"

#include <QAbstractItemView>
#include <algorithm>

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { setToolTip(text); });
}

void PortComboBox::showPopup() {
  if (m_beforePopup) m_beforePopup();
  int widest = width();
  for (int i = 0; i < count(); ++i) {
    widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)) + 30);
  }
  view()->setMinimumWidth(widest);
  QComboBox::showPopup();
}
