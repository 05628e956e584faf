#include "instruments/CMemDC2.h"

#include <QPaintDevice>

namespace {

bool IsPrinting(const QPainter& painter) {
  const QPaintDevice* device = painter.device();
  return device != nullptr && device->devType() == QInternal::Printer;
}

}  // namespace

CMemDC2::CMemDC2(QPainter& target, const QRect& area, bool buffered, const QColor& background)
    : m_target(target), m_area(area), m_buffered(buffered && !IsPrinting(target)) {
  if (m_buffered && !m_area.isEmpty()) {
    const qreal ratio = target.device() != nullptr ? target.device()->devicePixelRatioF() : 1.0;
    m_buffer = QPixmap(m_area.size() * ratio);
    m_buffer.setDevicePixelRatio(ratio);
    m_bufferPainter.begin(&m_buffer);
    m_bufferPainter.translate(-m_area.topLeft());
  } else {
    m_buffered = false;
  }
  Painter().fillRect(m_area, background);
}

CMemDC2::~CMemDC2() {
  if (!m_buffered) {
    return;
  }
  m_bufferPainter.end();
  m_target.drawPixmap(m_area.topLeft(), m_buffer);
}
