#include "view3d/OverlayFont.h"

#include <QPainter>

#include "instruments/ArialFont.h"

QFont OverlayFont::font() {
  return ArialFont::Make(kCellHeight, kWeight);
}

void OverlayFont::prepare(QPainter& painter) {
  painter.setFont(font());
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(Qt::white);
}

void OverlayFont::draw(QPainter& painter, QPoint topLeft, const QString& text) {
  const QRect box(topLeft, QSize(1000, kCellHeight));
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}
