#include "instruments/art/AttitudePictureArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace {

QColor Mix(const QColor& from, const QColor& to, double t) {
  return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                          from.greenF() + (to.greenF() - from.greenF()) * t,
                          from.blueF() + (to.blueF() - from.blueF()) * t);
}

const QColor kSkyTop(28, 70, 188);
const QColor kSkyAtHorizon(109, 200, 239);
const QColor kGroundAtHorizon(169, 53, 8);
const QColor kGroundMiddle(73, 34, 22);
const QColor kGroundDeep(22, 23, 24);

constexpr int kStripWidth = 60;
constexpr int kLeftStrip = 273;
constexpr int kRightStrip = 469;
constexpr int kCornerRadius = 20;

}  // namespace

QImage AttitudePictureArt::Paint() {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32);
  PaintSkyAndGround(image);

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  PaintLadder(painter, kLeftStrip, true);
  PaintLadder(painter, kRightStrip, false);

  // White outside a rounded rectangle: the picture's corners.
  QPainterPath corners;
  corners.addRect(QRectF(0, 0, kWidth, kHeight));
  QPainterPath inside;
  inside.addRoundedRect(QRectF(0, 0, kWidth, kHeight), kCornerRadius, kCornerRadius);
  painter.fillPath(corners.subtracted(inside), Qt::white);
  painter.end();
  return image;
}

void AttitudePictureArt::PaintSkyAndGround(QImage& image) {
  for (int y = 0; y < kHeight; ++y) {
    QColor color;
    if (y < kHorizonRow) {
      color = Mix(kSkyTop, kSkyAtHorizon, y / double(kHorizonRow - 1));
    } else if (y < 500) {
      color = Mix(kGroundAtHorizon, kGroundMiddle, (y - kHorizonRow) / 100.0);
    } else if (y < 600) {
      color = Mix(kGroundMiddle, kGroundDeep, (y - 500) / 100.0);
    } else {
      color = kGroundDeep;
    }
    const QRgb pixel = color.rgb();
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(line, line + kWidth, pixel);
  }
}

void AttitudePictureArt::PaintLadder(QPainter& painter, int left, bool numbersOnLeft) {
  // A faint veil makes the strip lighter than the sky or ground around it.
  painter.fillRect(QRect(left, 0, kStripWidth, kHeight), QColor(255, 255, 255, 46));

  QFont font;
  font.setFamilies(QStringList() << QStringLiteral("Arial") << QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(12);
  font.setBold(true);
  painter.setFont(font);

  const int markLength = 26;
  const int markLeft = numbersOnLeft ? left + kStripWidth - markLength - 3 : left + 3;
  for (int degrees = 80; degrees >= -80; degrees -= 10) {
    const int row = kHorizonRow - kPixelsPerDegree * degrees;
    const int length = degrees == 0 ? markLength + 2 : (degrees % 20 == 0 ? markLength : 18);
    const int x0 = numbersOnLeft ? markLeft + markLength - length : markLeft;
    painter.fillRect(QRect(x0, row - 1, length, 2), Qt::white);

    const QString number = QString::number(degrees);
    const QRect textBox = numbersOnLeft ? QRect(left, row - 8, markLeft - left - 3, 16)
                                        : QRect(markLeft + markLength + 3, row - 8, 28, 16);
    painter.setPen(Qt::white);
    painter.drawText(textBox, Qt::AlignVCenter | (numbersOnLeft ? Qt::AlignRight : Qt::AlignLeft),
                     number);
  }
}
