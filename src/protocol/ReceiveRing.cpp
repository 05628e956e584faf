#include "protocol/ReceiveRing.h"

#include <algorithm>
#include <cstring>

ReceiveRing::ReceiveRing() : m_storage(new uint8_t[kSize + kMirror]()) {}

void ReceiveRing::CopyIn(size_t offset, const uint8_t* data, size_t count) {
  std::memcpy(m_storage.get() + offset, data, count);
  if (offset < kMirror) {
    const size_t mirrored = std::min(count, kMirror - offset);
    std::memcpy(m_storage.get() + kSize + offset, data, mirrored);
  }
}

ReceiveRing::Pieces ReceiveRing::Write(const uint8_t* data, size_t count) {
  count = std::min(count, kSize);
  Pieces pieces;
  const size_t space = kSize - m_writeIndex;
  if (count <= space) {
    CopyIn(m_writeIndex, data, count);
    pieces.first = m_storage.get() + m_writeIndex;
    pieces.firstLength = count;
    m_writeIndex += count;
  } else {
    CopyIn(m_writeIndex, data, space);
    CopyIn(0, data + space, count - space);
    pieces.first = m_storage.get() + m_writeIndex;
    pieces.firstLength = space;
    pieces.rest = m_storage.get();
    pieces.restLength = count - space;
    m_writeIndex = count - space;
  }
  m_totalWritten.fetch_add(count, std::memory_order_release);
  return pieces;
}

void ReceiveRing::SetDataEvent() {
  {
    std::lock_guard guard(m_eventLock);
    m_dataEvent = true;
  }
  m_eventChanged.notify_one();
}

bool ReceiveRing::WaitForData() {
  std::unique_lock guard(m_eventLock);
  m_eventChanged.wait(guard, [this] { return m_dataEvent || m_wake; });
  const bool data = m_dataEvent;
  m_dataEvent = false;
  m_wake = false;
  return data;
}

void ReceiveRing::Wake() {
  {
    std::lock_guard guard(m_eventLock);
    m_wake = true;
  }
  m_eventChanged.notify_all();
}
