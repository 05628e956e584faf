#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QVector>
#include <QWidget>

#include "instruments/CPicture.h"

// Attitude gauge: a sky-and-ground picture moved by the pitch and turned by the roll, a roll
// needle over an arc, a fixed aircraft bar and white marks, and the pitch and roll as text.
//
// It belongs to the GUI thread; the display pump feeds it from there. The static background is
// drawn once into a cache and rebuilt after a resize or a change of needle colour, range or
// decimals.
class CMeter : public QWidget {
  Q_OBJECT

 public:
  explicit CMeter(QWidget* parent = nullptr,
                  const QString& pictureResource = DefaultPictureResource());

  void UpdateNeedle(double value);
  void SetPitchValue(double pitch);
  void SetNeedleColor(const QColor& color);
  void SetRange(double minimum, double maximum);
  void SetValueDecimals(int decimals);
  void ReconstructControl();

  double Value() const { return m_value; }
  double Pitch() const { return m_pitch; }
  QColor NeedleColor() const { return m_needleColor; }
  double RangeMinimum() const { return m_minValue; }
  double RangeMaximum() const { return m_maxValue; }
  int ValueDecimals() const { return m_valueDecimals; }
  bool HasPicture() const { return m_pictureLoaded; }
  float PictureRotation() const { return m_picture.Rotation(); }

  // The texts as the next repaint writes them.
  QString RollText() const;
  QString PitchText() const;

  // The needle angle in degrees, counter-clockwise from the positive x axis, held to the arc.
  double NeedleAngle(double value) const;

  static QString DefaultPictureResource();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ReadSystemColors();
  void DrawMeterBackground(QPainter& dc, const QRect& rect);
  void DrawNeedle(QPainter& dc, double value);
  void DrawAttitudeMarks(QPainter& dc, double pitch);
  void DrawValueText(QPainter& dc, double value);
  void DrawRoundFrame(QPainter& dc);

  double m_value = 0.0;
  double m_pitch = 0.0;

  double m_minValue = 0.0;
  double m_maxValue = 100.0;
  int m_startAngle = 225;
  int m_endAngle = 315;
  int m_majorDivisions = 10;
  int m_minorDivisions = 5;
  int m_valueDecimals = 1;
  QColor m_needleColor = QColor(255, 0, 0);

  QRect m_clientRect;
  int m_radius = 0;
  QPoint m_center;
  int m_needleUnit = 0;
  QVector<QPoint> m_arcPoints;
  QRegion m_boundaryRegion;
  QRegion m_frameRegion;
  QRect m_valueRect;
  QPixmap m_background;

  QColor m_colorWindow;
  QColor m_colorButtonHighlight;
  QColor m_colorButtonShadow;
  QColor m_colorButtonFace;
  QColor m_colorButtonText;

  // Text fonts, remade only when the radius they depend on changes.
  QFont m_pitchFont;
  QFont m_valueFont;
  int m_valueFontRadius = -1;

  CPicture m_picture;
  bool m_pictureLoaded = false;
};
