#include "instruments/CPicture.h"

#include <QFile>
#include <cmath>

bool CPicture::LoadFromResource(const QString& resourcePath) {
  QFile file(resourcePath);
  if (!file.open(QIODevice::ReadOnly)) {
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (bytes.isEmpty()) {
    return false;
  }
  QImage image;
  if (!image.loadFromData(bytes) || image.isNull()) {
    return false;
  }
  // Premultiplied pixels are what the painter blends fastest when it turns the picture.
  m_source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return true;
}

void CPicture::MakePlainHorizon(const QSize& size) {
  m_source = QImage(size, QImage::Format_ARGB32_Premultiplied);
  m_source.fill(PlainGroundColor());
  QPainter painter(&m_source);
  painter.fillRect(QRect(0, 0, size.width(), size.height() / 2), PlainSkyColor());
}

void CPicture::Draw(QPainter& painter, float x, float y) const {
  if (m_source.isNull()) {
    return;
  }
  // Drawing the turned picture straight onto the target gives the same pixels as turning it
  // into a cleared transparent copy first, and only touches the part that is visible.
  painter.save();
  painter.translate(x, y);
  painter.setTransform(m_transform, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, !m_transform.isIdentity());
  painter.drawImage(QPointF(0, 0), m_source);
  painter.restore();
}

void CPicture::SetRotation(float angle) {
  if (!std::isfinite(angle)) {
    return;
  }
  // All turns share one pivot, so the accumulated transform is always a single turn by the
  // latest angle; building it afresh keeps rounding errors from piling up.
  const qreal pivotX = m_source.width() / 2 - 25;
  const qreal pivotY = m_source.height() / 2;
  QTransform transform;
  transform.translate(pivotX, pivotY);
  transform.rotate(angle);
  transform.translate(-pivotX, -pivotY);
  m_transform = transform;
  m_lastAngle = angle;
}
