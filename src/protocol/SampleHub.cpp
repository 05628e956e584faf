#include "protocol/SampleHub.h"

#include <cstring>

SampleHub::SampleHub() : m_slots(new Slot[kHistory]) {
  for (size_t i = 0; i < kHistory; ++i) {
    for (auto& w : m_slots[i].words) w.store(0, std::memory_order_relaxed);
  }
}

SampleHub::~SampleHub() = default;

uint64_t SampleHub::Publish(const NavSample& sample) {
  std::lock_guard guard(m_writerLock);
  const uint64_t sequence = m_latest.load(std::memory_order_relaxed) + 1;
  uint64_t words[kWords] = {};
  std::memcpy(words, &sample, sizeof sample);
  NavSample numbered;
  std::memcpy(&numbered, words, sizeof numbered);
  numbered.sequence = sequence;
  std::memcpy(words, &numbered, sizeof numbered);

  // A sequence lock without fences: every payload store releases the odd
  // version before it, so a reader that acquires any new word is bound to
  // see the version move and throw the copy away.
  Slot& slot = m_slots[sequence % kHistory];
  slot.version.store(2 * sequence - 1, std::memory_order_relaxed);
  for (size_t i = 0; i < kWords; ++i) slot.words[i].store(words[i], std::memory_order_release);
  slot.version.store(2 * sequence, std::memory_order_release);
  m_latest.store(sequence, std::memory_order_release);
  return sequence;
}

SampleHub::Read SampleHub::ReadSlot(uint64_t sequence, NavSample& out) const {
  const Slot& slot = m_slots[sequence % kHistory];
  const uint64_t before = slot.version.load(std::memory_order_acquire);
  if (before != 2 * sequence) return Read::Overwritten;
  uint64_t words[kWords];
  for (size_t i = 0; i < kWords; ++i) words[i] = slot.words[i].load(std::memory_order_acquire);
  if (slot.version.load(std::memory_order_relaxed) != before) return Read::Overwritten;
  std::memcpy(&out, words, sizeof out);
  return Read::Ok;
}

bool SampleHub::Latest(NavSample& out) const {
  // A writer that laps this reader between the two loads only makes it try
  // the newer sample.
  for (;;) {
    const uint64_t latest = LatestSequence();
    if (latest == 0) return false;
    if (ReadSlot(latest, out) == Read::Ok) return true;
  }
}

size_t SampleHub::Drain(Cursor& cursor, NavSample* out, size_t max) const {
  const uint64_t latest = LatestSequence();
  if (cursor.next + kHistory <= latest) {
    // Everything older than one history is gone already.
    const uint64_t oldestKept = latest - kHistory + 1;
    cursor.missed += oldestKept - cursor.next;
    cursor.next = oldestKept;
  }
  size_t copied = 0;
  while (copied < max && cursor.next <= latest) {
    if (ReadSlot(cursor.next, out[copied]) == Read::Ok) {
      ++copied;
    } else {
      ++cursor.missed;
    }
    ++cursor.next;
  }
  return copied;
}

void SampleHub::Reset() {
  std::lock_guard guard(m_writerLock);
  for (size_t i = 0; i < kHistory; ++i) m_slots[i].version.store(0, std::memory_order_relaxed);
  m_latest.store(0, std::memory_order_release);
}
