#pragma once

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QRect>

// Off-screen drawing for the instruments: everything drawn through Painter() lands in a
// pixmap of the area, which is copied to the target in one step when this object goes out
// of scope, so a repaint never shows half-drawn states. Logical coordinates are those of the
// target. Printing, or buffered == false, draws straight onto the target instead.
class CMemDC2 {
 public:
  CMemDC2(QPainter& target, const QRect& area, bool buffered, const QColor& background);
  ~CMemDC2();

  CMemDC2(const CMemDC2&) = delete;
  CMemDC2& operator=(const CMemDC2&) = delete;

  QPainter& Painter() { return m_buffered ? m_bufferPainter : m_target; }
  bool IsBuffered() const { return m_buffered; }

 private:
  QPainter& m_target;
  QRect m_area;
  bool m_buffered;
  QPixmap m_buffer;
  QPainter m_bufferPainter;
};
