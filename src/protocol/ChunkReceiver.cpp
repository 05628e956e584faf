#include "ChunkReceiver.h"

#include <algorithm>

#include "HexText.h"

ChunkReceiver::ChunkReceiver(ReceiveRing& ring)
    : m_ring(ring), m_hexText(new char[3 * ReceiveRing::kSize + 1]) {}

ChunkReceiver::Accepted ChunkReceiver::Accept(const uint8_t* data, size_t count) {
  count = std::min(count, ReceiveRing::kSize);
  const ReceiveRing::Pieces pieces = m_ring.Write(data, count);
  char* end = WriteHexText(pieces.first, pieces.firstLength, m_hexText.get());
  end = WriteHexText(pieces.rest, pieces.restLength, end);
  *end = '\0';
  m_ring.SetDataEvent();
  return {std::string_view(m_hexText.get(), size_t(end - m_hexText.get())), pieces.restLength > 0};
}
