#include "protocol/ChunkReceiver.h"

#include <algorithm>

#include "protocol/HexText.h"

ChunkReceiver::ChunkReceiver(ReceiveRing& ring)
    : m_ring(ring), m_hexText(new char[3 * ReceiveRing::kSize + 1]) {}

ChunkReceiver::Accepted ChunkReceiver::Accept(const uint8_t* data, size_t count) {
  count = std::min(count, ReceiveRing::kSize);
  const ReceiveRing::Pieces pieces = m_ring.Write(data, count);
  char* const start = m_hexText.get();
  char* const middle = WriteHexText(pieces.first, pieces.firstLength, start);
  char* const end = WriteHexText(pieces.rest, pieces.restLength, middle);
  *end = '\0';
  m_ring.SetDataEvent();
  Accepted accepted;
  accepted.hexText = std::string_view(start, size_t(end - start));
  accepted.firstText = std::string_view(start, size_t(middle - start));
  accepted.restText = std::string_view(middle, size_t(end - middle));
  accepted.split = pieces.restLength > 0;
  return accepted;
}
