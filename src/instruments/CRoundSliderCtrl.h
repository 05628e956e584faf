#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSlider>
#include <QString>

// A slider shown as a round heading dial: a compass-rose face, a round window, a knob on a
// circle around the centre at the slider's position, and the heading written in the middle.
//
// The range is 0..359 and the keyboard wraps around the dial. The mouse never drags the knob.
// It belongs to the GUI thread; the display pump feeds it from there.
class CRoundSliderCtrl : public QSlider {
  Q_OBJECT

 public:
  // The trackbar notification codes carried by NotifyParent.
  enum TrackbarCode {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    EndTrack = 8,
  };

  explicit CRoundSliderCtrl(QWidget* parent = nullptr);

  // Fits the centre, radius and round window to the current size. Runs by itself after
  // every resize; call it directly to lay out a widget that has not been shown yet.
  void RecalcLayout();

  void SetHeading(double heading);
  // Mode 1 turns a heading in -180..180 into a position counted the other way round
  // (-h for negative headings, 360 - h otherwise); the text still shows the heading given.
  void SetHeadingConverted(double heading, int mode);

  void SetKnobRadius(int radius);
  void SetZero(int zero);
  void SetInverted(bool inverted);
  void SetDragEnabled(bool enabled);
  void SetKnobColor(const QColor& color);
  void SetKnobDragColor(const QColor& color);
  void SetBackgroundBitmap(const QString& resourcePath);
  void SetRadius(int radius);

  int KnobRadius() const { return m_nKnobRadius; }
  int Zero() const { return m_nZero; }
  bool Inverted() const { return m_bInverted; }
  bool DragEnabled() const { return m_bDragEnabled; }
  QColor KnobColor() const { return m_knobColor; }
  QColor KnobDragColor() const { return m_knobDragColor; }
  int Radius() const { return m_radius; }
  QPoint Center() const { return m_center; }
  bool HasBackgroundBitmap() const { return m_bUseBitmap; }
  float HeadingTextValue() const { return m_headingText; }
  QString HeadingText() const;

  // Where the knob goes for the current position: a clockwise angle from the top.
  QPoint KnobCenter() const;

 signals:
  // The trackbar code and the position after the move.
  void NotifyParent(int code, int position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void StoreHeading(double heading, int position);
  void MoveWrapped(int delta, int code);
  void DrawFace(QPainter& dc);
  void DrawKnob(QPainter& dc);
  const QImage& ScaledFace();

  float m_headingText = 0.0f;

  QSize m_layoutSize;  // the size the layout was last made for
  QPoint m_center;
  QPoint m_knobCenter;
  int m_radius = 0;
  int m_nZero = 220;
  bool m_bInverted = false;
  int m_nKnobRadius = 7;
  bool m_bDragEnabled = false;
  bool m_bUseBitmap = false;
  QString m_bitmapResource;
  QColor m_knobColor;
  QColor m_knobDragColor;

  QFont m_textFont;
  QImage m_face;        // decoded once per SetBackgroundBitmap
  QImage m_scaledFace;  // the face stretched to the current client size
  bool m_faceLoadFailed = false;
};
