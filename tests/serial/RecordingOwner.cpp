#include "tests/serial/RecordingOwner.h"

void RecordingOwner::AcceptChunk(const uint8_t* bytes, int count) {
  std::lock_guard guard(m_lock);
  m_chunks.emplace_back(reinterpret_cast<const char*>(bytes), count);
  m_chunkBytes += size_t(count);
  m_changed.notify_all();
}

void RecordingOwner::HandOverBytes(const uint8_t* bytes, size_t count, OwnerReceipt receipt) {
  std::lock_guard guard(m_lock);
  m_handOvers.push_back(HandOver{QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(count)),
                                 std::move(receipt)});
  m_changed.notify_all();
}

void RecordingOwner::OnPortGone() {
  std::lock_guard guard(m_lock);
  ++m_portGone;
  m_changed.notify_all();
}

bool RecordingOwner::WaitForChunkBytes(size_t count) {
  std::unique_lock guard(m_lock);
  return m_changed.wait_for(guard, kPatience, [&] { return m_chunkBytes >= count; });
}

std::vector<QByteArray> RecordingOwner::Chunks() const {
  std::lock_guard guard(m_lock);
  return m_chunks;
}

std::optional<RecordingOwner::HandOver> RecordingOwner::NextHandOver() {
  std::unique_lock guard(m_lock);
  if (!m_changed.wait_for(guard, kPatience, [&] { return !m_handOvers.empty(); })) {
    return std::nullopt;
  }
  HandOver next = std::move(m_handOvers.front());
  m_handOvers.pop_front();
  return next;
}

bool RecordingOwner::WaitForPortGone() {
  std::unique_lock guard(m_lock);
  return m_changed.wait_for(guard, kPatience, [&] { return m_portGone.load() > 0; });
}
