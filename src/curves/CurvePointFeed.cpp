#include "curves/CurvePointFeed.h"

#include <QTime>

CurvePointFeed::CurvePointFeed(const SampleHub& hub) : m_hub(hub), m_batch(kDrainBatch) {
  Begin();
}

void CurvePointFeed::Begin() {
  const uint64_t missed = m_cursor.missed;
  m_cursor = m_hub.CursorAtEnd();
  m_cursor.missed = missed;
  m_takeFrom.fill(m_cursor.next);
  m_pending.clear();
}

void CurvePointFeed::Restart(int series) {
  m_takeFrom[size_t(series)] = m_hub.LatestSequence() + 1;
}

uint64_t CurvePointFeed::Collect(const QTime& now) {
  const uint64_t latest = m_hub.LatestSequence();
  if (latest + 1 < m_cursor.next) {
    // The hub started again from nothing (a fresh analyser).
    m_cursor.next = 1;
    m_takeFrom.fill(1);
  }
  if (latest < m_cursor.next) return 0;

  uint64_t counted = 0;
  if (latest - m_cursor.next + 1 > kWindow) {
    // Only the newest window can still be shown; the rest are counted, not
    // copied.
    const uint64_t skip = latest - m_cursor.next + 1 - kWindow;
    m_cursor.next += skip;
    m_counter += skip;
    m_skipped += skip;
    counted += skip;
    m_pending.clear();
  }

  const QString label = now.toString(QStringLiteral("mm:ss"));
  // What arrives while this runs waits for the next collection, so a
  // decoder faster than the window cannot keep it here.
  while (m_cursor.next <= latest) {
    const uint64_t missedBefore = m_cursor.missed;
    const size_t n = m_hub.Drain(m_cursor, m_batch.data(), m_batch.size());
    // Samples lost to the hub still had their frame; the count keeps step.
    m_counter += m_cursor.missed - missedBefore;
    counted += m_cursor.missed - missedBefore;
    for (size_t i = 0; i < n; ++i) {
      const NavSample& s = m_batch[i];
      Point point;
      point.sequence = s.sequence;
      point.x = double(++m_counter);
      point.label = m_counter == 1 ? QStringLiteral("00:00") : label;
      for (int g = 0; g < kCurveGroupCount; ++g)
        point.values[size_t(g)] = ValuesOf(CurveGroup(g), s);
      m_pending.push_back(std::move(point));
      if (m_pending.size() > kWindow) m_pending.pop_front();
    }
    counted += n;
    if (n == 0) break;
  }
  return counted;
}
