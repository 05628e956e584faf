#include "tools/icon/TavrikIconArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <algorithm>

QImage TavrikIconArt::Paint(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  PaintTile(painter, s);
  PaintHorizon(painter, s);
  PaintBezel(painter, s);
  PaintAircraft(painter, s);
  painter.end();
  return image;
}

void TavrikIconArt::PaintTile(QPainter& painter, double size) {
  const double margin = size * kTileMargin;
  const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
  // A faint top light keeps the tile from looking like a hole on dark panels.
  QLinearGradient shade(tile.topLeft(), tile.bottomLeft());
  shade.setColorAt(0, TileColor().lighter(135));
  shade.setColorAt(1, TileColor());
  painter.setPen(Qt::NoPen);
  painter.setBrush(shade);
  const double corner = size * 0.18;
  painter.drawRoundedRect(tile, corner, corner);
}

void TavrikIconArt::PaintHorizon(QPainter& painter, double size) {
  const QPointF center(size / 2, size / 2);
  const double radius = size * kDialRadius;
  QPainterPath dial;
  dial.addEllipse(center, radius, radius);

  painter.save();
  painter.setClipPath(dial);
  painter.translate(center);
  painter.rotate(-kBankDegrees);
  painter.setPen(Qt::NoPen);
  painter.fillRect(QRectF(-size, -size, 2 * size, size), SkyColor());
  painter.fillRect(QRectF(-size, 0, 2 * size, size), GroundColor());
  painter.setPen(QPen(Qt::white, std::max(1.0, size / 40)));
  painter.drawLine(QPointF(-size, 0), QPointF(size, 0));
  painter.restore();
}

void TavrikIconArt::PaintBezel(QPainter& painter, double size) {
  const QPointF center(size / 2, size / 2);
  const double width = std::max(1.0, size * kBezelWidth);
  const double radius = size * kDialRadius + width / 2;
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(BezelColor(), width));
  painter.drawEllipse(center, radius, radius);
  if (size < kSmallestWithTicks) return;

  // Heading ticks every 45 degrees on the bezel, the one at the top longer.
  painter.save();
  painter.translate(center);
  painter.setPen(QPen(TileColor(), std::max(1.0, size / 64), Qt::SolidLine, Qt::FlatCap));
  for (int step = 0; step < 8; ++step) {
    const double inner = radius - width / 2;
    const double outer = step == 0 ? radius + width / 2 : radius;
    painter.drawLine(QPointF(0, -inner), QPointF(0, -outer));
    painter.rotate(45);
  }
  painter.restore();
}

void TavrikIconArt::PaintAircraft(QPainter& painter, double size) {
  const QPointF center(size / 2, size / 2);
  const double thick = std::max(1.5, size / 18);
  painter.setPen(QPen(AircraftColor(), thick, Qt::SolidLine, Qt::RoundCap));
  // Two wings with a gap around the centre, as on a real attitude indicator.
  const double inner = size * 0.08;
  const double outer = size * 0.24;
  painter.drawLine(center - QPointF(outer, 0), center - QPointF(inner, 0));
  painter.drawLine(center + QPointF(inner, 0), center + QPointF(outer, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(AircraftColor());
  const double dot = std::max(1.0, size / 22);
  painter.drawEllipse(center, dot, dot);
}
