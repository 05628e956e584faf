#include "instruments/LampArray.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStringList>
#include <algorithm>

#include "instruments/ArialFont.h"
#include "instruments/CMemDC2.h"

namespace {

// Shapes are filled without an outline, and a rectangle given by its edges (left, top,
// right, bottom) covers the pixels from left to right - 2 and top to bottom - 2: one pixel
// short on each far side. The bevels and borders below are measured that way.
QRect FillArea(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left - 1, bottom - top - 1);
}

void FillRect(QPainter& dc, int left, int top, int right, int bottom, const QColor& color) {
  const QRect area = FillArea(left, top, right, bottom);
  if (area.isValid()) {
    dc.fillRect(area, color);
  }
}

void FillEllipse(QPainter& dc, int left, int top, int right, int bottom, const QColor& color) {
  const QRect area = FillArea(left, top, right, bottom);
  if (area.isValid()) {
    dc.setBrush(color);
    dc.drawEllipse(area);
  }
}

QString DefaultLabels() {
  QStringList numbers;
  for (int i = 0; i < 15; ++i) {
    numbers << QString::number(i);
  }
  return numbers.join(QLatin1Char(','));
}

}  // namespace

LampArray::LampArray(QWidget* parent) : QWidget(parent), m_labels(DefaultLabels()) {
  m_style.backgroundColor = palette().color(QPalette::Button);
  m_states = QVector<int>(m_rows * m_columns, 0);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setProperty("controlId", 0xFFFF);
  setGeometry(0, 0, m_style.width, m_style.height);
  if (parent != nullptr) {
    show();
  }
}

void LampArray::SetLampGrid(int rows, int columns) {
  const int safeRows = std::max(rows, 0);
  const int safeColumns = std::max(columns, 0);
  m_rows = safeRows;
  m_columns = safeColumns;
  m_states = QVector<int>(safeRows * safeColumns, 0);
  RedrawLamps();
}

void LampArray::SetLampLabel(int column, const QString& text) {
  const int count = Rows() * Columns();
  QStringList entries = m_labels.split(QLatin1Char(','));
  QStringList rebuilt;
  for (int i = 0; i < count; ++i) {
    rebuilt << (i < entries.size() ? entries.at(i) : QString());
  }
  if (column >= 0 && column < count) {
    rebuilt[column] = text;
  }
  m_labels = rebuilt.join(QLatin1Char(','));
  RedrawLamps();
}

void LampArray::SetLabels(const QString& labels) {
  m_labels = labels;
  RedrawLamps();
}

void LampArray::SetLampState(int index, bool lit) {
  if (index < 0 || index >= m_states.size()) {
    return;
  }
  m_states[index] = lit ? 1 : 0;
  RedrawLamps();
}

void LampArray::RedrawLamps() {
  update();
}

int LampArray::Rows() const {
  return m_rows;
}

int LampArray::Columns() const {
  return m_columns;
}

int LampArray::LampState(int index) const {
  return index >= 0 && index < m_states.size() ? m_states.at(index) : 0;
}

void LampArray::SetStyle(const LampStyle& style) {
  m_style = style;
  if (!m_style.backgroundColor.isValid()) {
    m_style.backgroundColor = palette().color(QPalette::Button);
  }
  m_font.reset();
  RedrawLamps();
}

QColor LampArray::ScaleColor(const QColor& color, double factor) {
  const auto scale = [factor](int channel) {
    return std::clamp(static_cast<int>(channel * factor), 0, 255);
  };
  return QColor(scale(color.red()), scale(color.green()), scale(color.blue()));
}

void LampArray::paintEvent(QPaintEvent* /*event*/) {
  QPainter target(this);
  // The parts of the window outside the drawing area keep the background colour.
  target.fillRect(rect(), m_style.backgroundColor);
  CMemDC2 memDC(target, QRect(0, 0, m_style.width, m_style.height), true, m_style.backgroundColor);
  DrawLamps(memDC.Painter(), m_states, m_rows, m_columns);
}

void LampArray::DrawLamps(QPainter& dc, const QVector<int>& states, int rows, int columns) {
  const LampStyle& s = m_style;
  const int w = s.width;
  const int h = s.height;
  const int bw = s.borderWidth;
  dc.setPen(Qt::NoPen);

  FillRect(dc, 0, 0, w + 1, h + 1, s.backgroundColor);
  if (s.borderTop) {
    FillRect(dc, 0, 0, w + 1, bw, s.darkBorderColor);
  }
  if (s.borderLeft) {
    FillRect(dc, 0, 0, bw, h + 1, s.darkBorderColor);
  }
  if (s.borderBottom) {
    FillRect(dc, 0, h - bw + 1, w + 1, h + 1, s.lightBorderColor);
  }
  if (s.borderRight) {
    FillRect(dc, w - bw + 1, 0, w + 1, h + 1, s.lightBorderColor);
  }

  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const int x0 = s.leftMargin + c * (s.lampWidth + s.horizontalGap);
      const int y0 = s.topMargin + r * (s.lampHeight + s.verticalGap);
      const bool lit = states.value(r * columns + c) != 0;
      const QColor base = lit ? s.litColor : s.darkColor;
      if (s.shape == LampStyle::Square) {
        DrawSquareLamp(dc, x0, y0, base, lit);
      } else {
        DrawRoundLamp(dc, x0, y0, base, lit);
      }
    }
  }
  DrawLabels(dc, rows * columns, columns);
}

void LampArray::DrawSquareLamp(QPainter& dc, int x0, int y0, const QColor& base, bool lit) const {
  const LampStyle& s = m_style;
  const int x1 = x0 + s.lampWidth;
  const int y1 = y0 + s.lampHeight;
  FillRect(dc, x0, y0, x1, y1, ScaleColor(base, lit ? 0.8 : 0.5));
  FillRect(dc, x0, y0, x1, y0 + s.bevelWidth, base);
  FillRect(dc, x0, y0, x0 + s.bevelWidth, y1, base);
  const QColor shadow = ScaleColor(base, 0.3);
  FillRect(dc, x0, y1 - s.bevelWidth, x1, y1, shadow);
  FillRect(dc, x1 - s.bevelWidth, y0, x1, y1, shadow);
}

void LampArray::DrawRoundLamp(QPainter& dc, int x0, int y0, const QColor& base, bool lit) const {
  const LampStyle& s = m_style;
  // Concentric discs, each a little brighter than the one around it.
  const int k = static_cast<int>(std::max(s.lampWidth, s.lampHeight) * 0.375);
  QColor color = ScaleColor(base, lit ? 0.4 : 0.2);
  for (int j = k; j >= 1; --j) {
    color = ScaleColor(color, 1.2);
    FillEllipse(dc, x0 + k - j, y0 + k - j, x0 + s.lampWidth - k + j, y0 + s.lampHeight - k + j,
                color);
  }
}

void LampArray::DrawLabels(QPainter& dc, int lampCount, int columns) {
  const LampStyle& s = m_style;
  if (!m_font) {
    m_font = ArialFont::Make(s.fontHeight, 400);
  }
  dc.setFont(*m_font);
  dc.setPen(s.textColor);
  const int ascent = dc.fontMetrics().ascent();

  // Labels are taken in order; once the list runs out the remaining lamps get none.
  qsizetype position = 0;
  for (int i = 0; i < lampCount && columns > 0; ++i) {
    QString label;
    if (position <= m_labels.size()) {
      const qsizetype comma = m_labels.indexOf(QLatin1Char(','), position);
      const qsizetype end = comma < 0 ? m_labels.size() : comma;
      label = m_labels.mid(position, end - position);
      position = end + 1;
    }
    if (label.isEmpty()) {
      continue;
    }
    const int x = (i % columns) * (s.lampWidth + s.horizontalGap) + s.leftMargin + s.labelOffsetX;
    const int y = (i / columns) * (s.lampHeight + s.verticalGap) + s.topMargin + s.labelOffsetY;
    // A label wider than the room before the next lamp (Chinese glyphs run
    // wider than the layout's font allowed for) is narrowed, never overlapped.
    const int room = s.lampWidth + s.horizontalGap - s.labelOffsetX - 2;
    const int width = dc.fontMetrics().horizontalAdvance(label);
    if (i % columns != columns - 1 && room > 0 && width > room) {
      QFont narrow = *m_font;
      narrow.setStretch(std::max(50, 100 * room / width));
      dc.setFont(narrow);
      dc.drawText(QPoint(x, y + ascent), label);
      dc.setFont(*m_font);
    } else {
      dc.drawText(QPoint(x, y + ascent), label);
    }
  }
}
