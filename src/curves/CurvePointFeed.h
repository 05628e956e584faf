#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "curves/CurveGroup.h"
#include "protocol/NavSample.h"
#include "protocol/SampleHub.h"

class QTime;

// The sensor curve window's road from the sample hub to its points, on the
// GUI thread. Each collection drains what the decoder published since the
// last one, numbers every sample with the point counter (which lives as long
// as the window object, so a second opening continues it), labels it with
// the time and keeps the newest samples a series could still show. The
// decoder never waits for this reader; a reader that falls a whole history
// behind is told how many samples it missed.
//
// A series cleared by the window takes only samples published after the
// clear, so a point handed over before it can never turn up after it.
class CurvePointFeed {
 public:
  // A series shows at most this many points.
  static constexpr size_t kWindow = 1500;

  struct Point {
    uint64_t sequence = 0;  // the sample's number in the hub
    double x = 0;           // the point counter at this sample
    QString label;          // "%M:%S"
    std::array<std::array<double, kCurvesPerGroup>, kCurveGroupCount> values{};

    double Value(CurveGroup group, int series) const {
      return values[size_t(group)][size_t(series)];
    }
  };

  explicit CurvePointFeed(const SampleHub& hub);

  // From the next sample published on, for every series.
  void Begin();
  // Series `series` takes only samples published from now on.
  void Restart(int series);
  bool Takes(int series, const Point& point) const {
    return point.sequence >= m_takeFrom[size_t(series)];
  }

  // Drains the hub. `now` labels the samples (the very first point of the
  // counter is labelled 00:00). Returns how many samples were counted.
  uint64_t Collect(const QTime& now);
  // The newest kWindow samples collected and not yet cleared, oldest first.
  const std::deque<Point>& Pending() const { return m_pending; }
  void ClearPending() { m_pending.clear(); }

  uint64_t PointCounter() const { return m_counter; }
  // Samples the hub overwrote before they were drained.
  uint64_t Missed() const { return m_cursor.missed; }
  // Samples passed over because newer ones would have pushed them out of
  // every series at once.
  uint64_t Skipped() const { return m_skipped; }

 private:
  static constexpr size_t kDrainBatch = 256;

  const SampleHub& m_hub;
  SampleHub::Cursor m_cursor;
  std::array<uint64_t, kCurvesPerGroup> m_takeFrom{};
  std::deque<Point> m_pending;
  std::vector<NavSample> m_batch;
  uint64_t m_counter = 0;
  uint64_t m_skipped = 0;
};
