#pragma once

#include <QFont>
#include <QString>
#include <QVector>
#include <QWidget>
#include <optional>

#include "instruments/LampStyle.h"

// A grid of status lamps, each lit or dark, with a label beside each one.
//
// Lamps are numbered row by row (index = row * columns + column). The strip belongs to the
// GUI thread; the display pump sets its lamps from there. The whole strip is drawn
// off-screen and copied in one step, so it never flickers.
class LampArray : public QWidget {
  Q_OBJECT

 public:
  explicit LampArray(QWidget* parent = nullptr);

  void SetLampGrid(int rows, int columns);
  void SetLampLabel(int column, const QString& text);
  void SetLampState(int index, bool lit);
  void RedrawLamps();

  int Rows() const;
  int Columns() const;
  int LampState(int index) const;  // 0 dark, 1 lit; 0 for an index outside the grid

  // Labels in index order, comma-separated.
  QString Labels() const { return m_labels; }
  void SetLabels(const QString& labels);

  const LampStyle& Style() const { return m_style; }
  void SetStyle(const LampStyle& style);

  // The colour a lamp or its bevel is drawn in: each channel times factor, fraction
  // dropped, held to 0..255.
  static QColor ScaleColor(const QColor& color, double factor);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawLamps(QPainter& dc, const QVector<int>& states, int rows, int columns);
  void DrawSquareLamp(QPainter& dc, int x0, int y0, const QColor& base, bool lit) const;
  void DrawRoundLamp(QPainter& dc, int x0, int y0, const QColor& base, bool lit) const;
  void DrawLabels(QPainter& dc, int lampCount, int columns);

  int m_rows = 3;
  int m_columns = 5;
  QVector<int> m_states;

  LampStyle m_style;
  QString m_labels;
  std::optional<QFont> m_font;  // made on the first drawing
};
