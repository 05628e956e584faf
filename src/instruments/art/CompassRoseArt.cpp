#include "instruments/art/CompassRoseArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Degrees clockwise from the top to a point at that distance from the centre.
QPointF Polar(const QPointF& center, double degrees, double distance) {
  const double a = degrees * kPi / 180.0;
  return QPointF(center.x() + std::sin(a) * distance, center.y() - std::cos(a) * distance);
}

}  // namespace

QImage CompassRoseArt::Paint() {
  QImage image(kWidth, kHeight, QImage::Format_RGB888);
  image.fill(GroundColor());
  const QPointF center(kWidth / 2.0, kHeight / 2.0);

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(RoseColor(), 4));
  painter.drawEllipse(center, kRingRadius, kRingRadius);
  painter.setPen(QPen(RoseColor(), 1.5));
  painter.drawEllipse(center, 118, 118);

  PaintTicks(painter, center);
  PaintLabels(painter, center);
  PaintAircraft(painter, center);
  painter.end();
  return image;
}

void CompassRoseArt::PaintTicks(QPainter& painter, const QPointF& center) {
  for (int degrees = 0; degrees < 360; degrees += 5) {
    const bool labelled = degrees % 45 == 0;
    const bool ten = degrees % 10 == 0;
    const double outer = kRingRadius + (labelled ? 28 : (ten ? 18 : 11));
    painter.setPen(QPen(RoseColor(), labelled ? 4 : 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(Polar(center, degrees, kRingRadius), Polar(center, degrees, outer));
  }
  // The cardinal points reach out to the rim as long pointed marks.
  painter.setPen(Qt::NoPen);
  painter.setBrush(RoseColor());
  for (int degrees = 0; degrees < 360; degrees += 90) {
    const QPolygonF mark{Polar(center, degrees - 3.2, kRingRadius),
                         Polar(center, degrees, kRingRadius + 66),
                         Polar(center, degrees + 3.2, kRingRadius)};
    painter.drawPolygon(mark);
  }
}

void CompassRoseArt::PaintLabels(QPainter& painter, const QPointF& center) {
  QFont font;
  font.setFamilies(QStringList() << QStringLiteral("Arial") << QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(30);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(LabelColor());
  for (int degrees = 0; degrees < 360; degrees += 45) {
    const QPointF at = Polar(center, degrees, kRingRadius - 32);
    const QRectF box(at.x() - 40, at.y() - 20, 80, 40);
    painter.drawText(box, Qt::AlignCenter, QString::number(degrees));
  }
}

void CompassRoseArt::PaintAircraft(QPainter& painter, const QPointF& center) {
  // Drawn in a 100-unit box around the nose-to-tail axis, a little above the middle so the
  // heading text written under the centre stays clear of it.
  const QPointF o(center.x(), center.y() - 42);
  const auto at = [&o](double x, double y) { return QPointF(o.x() + x, o.y() + y); };
  QPainterPath plane;
  plane.moveTo(at(0, -40));
  plane.cubicTo(at(5, -36), at(6, -28), at(6, -18));
  plane.lineTo(at(6, -8));
  plane.lineTo(at(42, 10));
  plane.lineTo(at(42, 17));
  plane.lineTo(at(6, 9));
  plane.lineTo(at(5, 28));
  plane.lineTo(at(17, 36));
  plane.lineTo(at(17, 41));
  plane.lineTo(at(0, 37));
  plane.lineTo(at(-17, 41));
  plane.lineTo(at(-17, 36));
  plane.lineTo(at(-5, 28));
  plane.lineTo(at(-6, 9));
  plane.lineTo(at(-42, 17));
  plane.lineTo(at(-42, 10));
  plane.lineTo(at(-6, -8));
  plane.lineTo(at(-6, -18));
  plane.cubicTo(at(-6, -28), at(-5, -36), at(0, -40));
  plane.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(RoseColor());
  painter.drawPath(plane);
}
