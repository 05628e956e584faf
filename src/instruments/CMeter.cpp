#include "instruments/CMeter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "instruments/ArialFont.h"
#include "instruments/CMemDC2.h"
#include "instruments/InstrumentResources.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The picture is drawn so that its ladder column sits under the aircraft bar and its
// horizon row (400) lands on y = 132 at zero pitch; it moves 2 pixels per degree of pitch,
// as its ladder is drawn at that scale.
constexpr float kPictureX = -262.0f;
constexpr double kPictureTopAtZeroPitch = -268.0;
constexpr double kPicturePixelsPerDegree = 2.0;
const QSize kPlainPictureSize(799, 800);

// The roll needle turns about a point this far above the dial centre.
constexpr int kNeedlePivotAboveCenter = 100;

double Radians(double degrees) {
  return degrees * kPi / 180.0;
}

// Half away from zero, as the needle's points are placed.
int RoundAway(double v) {
  return static_cast<int>(v >= 0 ? v + 0.5 : v - 0.5);
}

int Truncate(double v) {
  return static_cast<int>(v);
}

}  // namespace

CMeter::CMeter(QWidget* parent, const QString& pictureResource) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_pitchFont = ArialFont::Make(20, 700, 10);
  m_pictureLoaded = m_picture.LoadFromResource(pictureResource);
  if (!m_pictureLoaded) {
    m_picture.MakePlainHorizon(kPlainPictureSize);
  }
}

QString CMeter::DefaultPictureResource() {
  return InstrumentResources::AttitudePicture();
}

void CMeter::UpdateNeedle(double value) {
  m_value = value;
  update();
}

void CMeter::SetPitchValue(double pitch) {
  // Stored only: the caller follows UpdateNeedle, whose repaint shows both.
  m_pitch = pitch;
}

void CMeter::SetNeedleColor(const QColor& color) {
  m_needleColor = color;
  ReconstructControl();
}

void CMeter::SetRange(double minimum, double maximum) {
  m_minValue = minimum;
  m_maxValue = maximum;
  ReconstructControl();
}

void CMeter::SetValueDecimals(int decimals) {
  m_valueDecimals = decimals;
  ReconstructControl();
}

void CMeter::ReconstructControl() {
  m_background = QPixmap();
  update();
}

void CMeter::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ReconstructControl();
}

QString CMeter::RollText() const {
  return QString::asprintf("%.*fdeg", m_valueDecimals, Value());
}

QString CMeter::PitchText() const {
  return QString::asprintf("%.2f", Pitch());
}

double CMeter::NeedleAngle(double value) const {
  const double start = m_startAngle;
  const double end = m_endAngle - 360.0;
  const double span = m_maxValue - m_minValue;
  // An empty range has no scale to place the value on; the needle rests at the start.
  if (span == 0.0 || !std::isfinite(span)) {
    return start;
  }
  const double angle = start - (m_startAngle + 360 - m_endAngle) * (value - m_minValue) / span;
  if (std::isnan(angle)) {
    return start;
  }
  return std::clamp(angle, end, start);
}

void CMeter::paintEvent(QPaintEvent* /*event*/) {
  if (rect().isEmpty()) {
    return;
  }
  const double value = Value();
  const double pitch = Pitch();

  QPainter target(this);
  m_clientRect = rect();
  CMemDC2 memDC(target, m_clientRect, true, Qt::white);
  QPainter& dc = memDC.Painter();

  m_radius = std::max(m_clientRect.width(), m_clientRect.height()) * 9 / 21;
  m_center = QPoint(m_clientRect.width() / 2, m_clientRect.height() / 2 + m_radius / 10);

  if (m_background.isNull()) {
    const qreal ratio = devicePixelRatioF();
    m_background = QPixmap(m_clientRect.size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    QPainter backgroundDC(&m_background);
    DrawMeterBackground(backgroundDC, m_clientRect);
  }
  dc.drawPixmap(0, 0, m_background);

  const double pictureY = std::isfinite(pitch)
                              ? pitch * kPicturePixelsPerDegree + kPictureTopAtZeroPitch
                              : kPictureTopAtZeroPitch;
  m_picture.Draw(dc, kPictureX, static_cast<float>(pictureY));
  // The turn takes effect at the next repaint, so the picture's roll trails the needle by
  // one repaint.
  m_picture.SetRotation(static_cast<float>(value));

  DrawAttitudeMarks(dc, pitch);
  DrawNeedle(dc, value);
  DrawValueText(dc, value);
  DrawRoundFrame(dc);
}

void CMeter::ReadSystemColors() {
  const QPalette& colors = palette();
  m_colorWindow = colors.color(QPalette::Base);
  m_colorButtonFace = colors.color(QPalette::Button);
  m_colorButtonShadow = colors.color(QPalette::Dark);
  m_colorButtonHighlight = colors.color(QPalette::Light);
  m_colorButtonText = colors.color(QPalette::ButtonText);
}

void CMeter::DrawMeterBackground(QPainter& dc, const QRect& rect) {
  const int radius = m_radius;
  m_needleUnit = radius / 20;
  const int rimWidth = radius / 18;
  const int divisions = std::max(1, m_majorDivisions * m_minorDivisions);
  const double degreesPerDivision =
      static_cast<double>(m_startAngle + 360 - m_endAngle) / divisions;
  ReadSystemColors();

  // The face colour fills the control, outlined by the default black pen.
  dc.setPen(QPen(Qt::black, 1));
  dc.setBrush(m_colorButtonFace);
  dc.drawRect(rect.adjusted(0, 0, -1, -1));

  // Sample the arc the needle may cover, from the start angle clockwise to the end angle.
  m_arcPoints.clear();
  const double arcRadius = radius - 2 * rimWidth;
  const int step = std::max(1, Truncate(degreesPerDivision * 100));
  for (int counter = m_startAngle * 100; counter >= (m_endAngle - 360) * 100; counter -= step) {
    const double a = Radians(counter / 100.0);
    m_arcPoints.append(QPoint(RoundAway(m_center.x() + std::cos(a) * arcRadius),
                              RoundAway(m_center.y() - std::sin(a) * arcRadius)));
  }
  m_boundaryRegion = QRegion(QPolygon(m_arcPoints), Qt::OddEvenFill);

  const int valueTop = m_center.y() + radius / 5;
  m_valueRect = QRect(m_center.x() - radius / 2, valueTop, 2 * (radius / 2),
                      m_center.y() + radius / 2 - valueTop);

  // The rounded frame: the client rectangle grown by 10 pixels with 40 x 40 corner ellipses,
  // of which a 10-pixel band along the edge is painted. Only the corners reach into view.
  const QRect outerRect = rect.adjusted(-10, -10, 10, 10);
  QPainterPath rounded;
  rounded.addRoundedRect(QRectF(outerRect), 20, 20);
  const QRegion outer(rounded.toFillPolygon().toPolygon(), Qt::OddEvenFill);
  const QRegion inner = outer.translated(10, 0) & outer.translated(-10, 0) &
                        outer.translated(0, 10) & outer.translated(0, -10);
  m_frameRegion = (outer - inner) & QRegion(rect);
}

void CMeter::DrawNeedle(QPainter& dc, double value) {
  const QPoint pivot(m_center.x(), m_center.y() - kNeedlePivotAboveCenter);
  const double degrees = NeedleAngle(value);
  const double theta = Radians(degrees);
  const double halfWidth = m_needleUnit * 10 / 8.0;
  const double length = (m_radius - 80) * 95 / 100.0;

  const int sideX = Truncate(std::sin(theta) * halfWidth);
  const int sideY = Truncate(std::cos(theta) * halfWidth);
  const QPoint p0(pivot.x() - sideX, pivot.y() - sideY);
  const QPoint p1(RoundAway(pivot.x() + std::cos(theta) * length),
                  RoundAway(pivot.y() - std::sin(theta) * length));
  const QPoint p2(pivot.x() + sideX, pivot.y() + sideY);
  const QPoint p3(RoundAway(pivot.x() - std::cos(theta) * m_radius / 6.0),
                  RoundAway(pivot.y() + std::sin(theta) * m_radius / 6.0));

  dc.save();
  dc.setClipRegion(m_boundaryRegion);
  dc.setPen(QPen(m_needleColor, 1));
  dc.setBrush(m_needleColor);
  const QPoint needle[] = {p0, p1, p2, p3};
  dc.drawPolygon(needle, 4);
  dc.restore();

  // Light from the upper left: the edge facing away gets the shadow.
  const QPen shadow(m_colorButtonShadow, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  const QPen highlight(m_colorButtonHighlight, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  const QPoint shadeA[] = {p1, p0, p3};
  const QPoint shadeB[] = {p1, p2, p3};
  dc.setBrush(Qt::NoBrush);
  dc.setPen(shadow);
  dc.drawPolyline(degrees > 90 ? shadeA : shadeB, 3);
  dc.setPen(highlight);
  dc.drawPolyline(degrees > 90 ? shadeB : shadeA, 3);
}

void CMeter::DrawAttitudeMarks(QPainter& dc, double pitch) {
  // These marks sit at fixed pixels, matched to the picture's fixed offset.
  dc.setPen(QPen(QColor(0, 0, 255), 5, Qt::SolidLine, Qt::RoundCap));
  dc.drawLine(88, 132, 188, 132);

  dc.setFont(m_pitchFont);
  dc.setPen(Qt::black);
  const QRect client = m_clientRect;
  const int left = client.width() / 2 + 70;
  const int top = client.height() / 2 - 15;
  const QRect pitchRect(left, top, client.width() - left, client.height() - top);
  dc.drawText(pitchRect, Qt::AlignLeft | Qt::AlignTop, QString::asprintf("%.2f", pitch));

  static constexpr int kMarks[][4] = {
      {132, 0, 132, 8},   {97, 3, 100, 6},  {171, 3, 168, 6},   {62, 12, 67, 17},
      {200, 15, 195, 20}, {19, 35, 27, 40}, {232, 35, 223, 40},
  };
  dc.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
  for (const auto& mark : kMarks) {
    dc.drawLine(mark[0], mark[1], mark[2], mark[3]);
  }
}

void CMeter::DrawValueText(QPainter& dc, double value) {
  const QString text = QString::asprintf("%.*fdeg", m_valueDecimals, value);
  if (m_valueFontRadius != m_radius) {
    m_valueFont = ArialFont::Make(m_radius / 4, 550);
    m_valueFontRadius = m_radius;
  }
  dc.setFont(m_valueFont);
  dc.setPen(Qt::white);
  // Centred on the value rectangle, R/4 + 28 pixels below its middle.
  const QPoint anchor(m_valueRect.left() + m_valueRect.width() / 2,
                      m_valueRect.top() + m_valueRect.height() / 2 + m_radius / 4 + 28);
  const int halfWidth = std::max(m_clientRect.width(), 1) * 4;
  dc.drawText(QRect(anchor.x() - halfWidth, anchor.y(), 2 * halfWidth, m_radius),
              Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text);
}

void CMeter::DrawRoundFrame(QPainter& dc) {
  for (const QRect& part : m_frameRegion) {
    dc.fillRect(part, m_colorButtonFace);
  }
}
