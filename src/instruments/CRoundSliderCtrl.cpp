#include "instruments/CRoundSliderCtrl.h"

#include <QDebug>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "instruments/ArialFont.h"
#include "instruments/CMemDC2.h"

namespace {

// Headings become slider positions by truncation toward zero. Values no int can hold (and
// NaN) are brought into reach first; the slider then holds them to its range.
int TruncateToPosition(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  return static_cast<int>(
      std::clamp(value, static_cast<double>(INT_MIN / 2), static_cast<double>(INT_MAX / 2)));
}

}  // namespace

CRoundSliderCtrl::CRoundSliderCtrl(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  const QColor face = palette().color(QPalette::Button);
  m_knobColor = face;
  m_knobDragColor = face;
  setTickPosition(QSlider::NoTicks);
  setRange(0, 359);
  setSingleStep(1);
  setPageStep(10);
  setFocusPolicy(Qt::StrongFocus);
  // The paint covers every pixel, so nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_textFont = ArialFont::Make(25, 100);
  RecalcLayout();
}

void CRoundSliderCtrl::RecalcLayout() {
  m_layoutSize = size();
  const int side = std::min(width(), height());
  const QRect square(0, 0, side, side);
  m_center = QPoint(side / 2, side / 2);
  m_radius = side / 2 - (m_nKnobRadius + 1);
  if (side > 0) {
    setMask(QRegion(square, QRegion::Ellipse));
  } else {
    clearMask();
  }
  update();
}

void CRoundSliderCtrl::resizeEvent(QResizeEvent* event) {
  QSlider::resizeEvent(event);
  // A hidden widget hears of its size only when it is shown or rendered; a layout already
  // made for that size (and a radius set on it) stands.
  if (event->size() != m_layoutSize) {
    RecalcLayout();
  }
}

void CRoundSliderCtrl::SetHeading(double heading) {
  StoreHeading(heading, TruncateToPosition(heading));
}

void CRoundSliderCtrl::SetHeadingConverted(double heading, int mode) {
  if (mode != 1) {
    StoreHeading(heading, TruncateToPosition(heading));
    return;
  }
  StoreHeading(heading, TruncateToPosition(heading < 0 ? -heading : 360 - heading));
}

void CRoundSliderCtrl::StoreHeading(double heading, int position) {
  m_headingText = static_cast<float>(heading);
  setValue(position);
  update();
}

// Both setters only warn about a value out of their range and store it anyway.
void CRoundSliderCtrl::SetKnobRadius(int radius) {
  if (radius <= 4) {
    qWarning("CRoundSliderCtrl::SetKnobRadius: %d is not greater than 4", radius);
  }
  m_nKnobRadius = radius;
}

void CRoundSliderCtrl::SetZero(int zero) {
  if (zero < 0 || zero > 359) {
    qWarning("CRoundSliderCtrl::SetZero: %d lies outside 0..359", zero);
  }
  m_nZero = zero;
}

void CRoundSliderCtrl::SetInverted(bool inverted) {
  m_bInverted = inverted;
}

void CRoundSliderCtrl::SetDragEnabled(bool enabled) {
  m_bDragEnabled = enabled;
}

void CRoundSliderCtrl::SetKnobColor(const QColor& color) {
  m_knobColor = color;
}

void CRoundSliderCtrl::SetKnobDragColor(const QColor& color) {
  m_knobDragColor = color;
}

void CRoundSliderCtrl::SetBackgroundBitmap(const QString& resourcePath) {
  m_bitmapResource = resourcePath;
  m_bUseBitmap = true;
  m_face = QImage();
  m_scaledFace = QImage();
  m_faceLoadFailed = false;
}

void CRoundSliderCtrl::SetRadius(int radius) {
  m_radius = radius;
}

QString CRoundSliderCtrl::HeadingText() const {
  return QString::asprintf("%.2fdeg", static_cast<double>(HeadingTextValue()));
}

QPoint CRoundSliderCtrl::KnobCenter() const {
  const int span = maximum() - minimum() + 1;
  int degrees = span > 0 ? (value() * 360 / span + m_nZero) % 360 : m_nZero % 360;
  if (m_bInverted) {
    degrees = 360 - degrees;
  }
  const double a = degrees * std::numbers::pi / 180;
  const int track = m_radius - m_nKnobRadius;
  return QPoint(static_cast<int>(m_center.x() + std::sin(a) * track),
                static_cast<int>(m_center.y() - std::cos(a) * track));
}

void CRoundSliderCtrl::paintEvent(QPaintEvent* /*event*/) {
  QPainter target(this);
  CMemDC2 memDC(target, rect(), true, Qt::white);
  QPainter& dc = memDC.Painter();

  if (m_bUseBitmap) {
    DrawFace(dc);
  }

  dc.setFont(m_textFont);
  dc.setPen(Qt::black);
  const QPoint anchor(width() / 2 + 5, height() / 2 + 8);
  dc.drawText(QRect(anchor.x() - width(), anchor.y(), 2 * width(), height()),
              Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, HeadingText());

  DrawKnob(dc);
}

const QImage& CRoundSliderCtrl::ScaledFace() {
  if (m_face.isNull() && !m_faceLoadFailed) {
    QFile file(m_bitmapResource);
    if (file.open(QIODevice::ReadOnly)) {
      m_face.loadFromData(file.readAll());
    }
    m_faceLoadFailed = m_face.isNull();
  }
  // Decoding and stretching the face at every paint would cost more than the rest of the
  // paint together; the stretched copy is kept until the size or the picture changes.
  if (!m_face.isNull() && m_scaledFace.size() != size()) {
    m_scaledFace = m_face.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
  }
  return m_scaledFace;
}

void CRoundSliderCtrl::DrawFace(QPainter& dc) {
  const QImage& face = ScaledFace();
  if (!face.isNull()) {
    dc.drawImage(QPoint(0, 0), face);
    return;
  }
  // Without its picture the dial still shows a plain face with the knob's circle.
  dc.fillRect(rect(), QColor(241, 241, 241));
  dc.setPen(QPen(QColor(0, 102, 158), 2));
  dc.setBrush(Qt::NoBrush);
  const int track = m_radius - m_nKnobRadius;
  dc.drawEllipse(m_center, track, track);
}

void CRoundSliderCtrl::DrawKnob(QPainter& dc) {
  m_knobCenter = KnobCenter();
  const int f = m_nKnobRadius * 4 / 5;
  const int x = m_knobCenter.x();
  const int y = m_knobCenter.y();
  // The knob fills (x - f + 2, y - f + 2) to (x + f, y + f), far edges excluded.
  const QRect knob(x - f + 2, y - f + 2, 2 * f - 3, 2 * f - 3);
  dc.setPen(Qt::NoPen);
  dc.setBrush(isEnabled() ? m_knobColor : palette().color(QPalette::Button));
  dc.drawEllipse(knob);
}

void CRoundSliderCtrl::MoveWrapped(int delta, int code) {
  const int span = maximum() - minimum() + 1;
  int position = value() + delta;
  while (position < minimum()) {
    position += span;
  }
  while (position >= maximum() + 1) {
    position -= span;
  }
  setValue(position);
  repaint();
  emit NotifyParent(code, value());
}

void CRoundSliderCtrl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageUp:
      MoveWrapped(-pageStep(), PageUp);
      break;
    case Qt::Key_PageDown:
      MoveWrapped(pageStep(), PageDown);
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      MoveWrapped(-singleStep(), LineUp);
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      MoveWrapped(singleStep(), LineDown);
      break;
    case Qt::Key_Home:
    case Qt::Key_End:
      break;
    default:
      QSlider::keyPressEvent(event);
      return;
  }
  event->accept();
}

void CRoundSliderCtrl::keyReleaseEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
      emit NotifyParent(EndTrack, value());
      break;
    case Qt::Key_Home:
    case Qt::Key_End:
      break;
    default:
      QSlider::keyReleaseEvent(event);
      return;
  }
  event->accept();
}

void CRoundSliderCtrl::mousePressEvent(QMouseEvent* event) {
  // The heading comes from the unit; a click must not move the knob or start a drag.
  event->accept();
}

void CRoundSliderCtrl::wheelEvent(QWheelEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool over = mask().isEmpty() ? rect().contains(at) : mask().contains(at);
  if (!over) {
    event->accept();
    return;
  }
  QSlider::wheelEvent(event);
  repaint();
}
