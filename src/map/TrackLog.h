#pragma once

#include <QDateTime>
#include <vector>

// The positions marked on the map since "开始", with the time each was
// taken, kept at full precision for saving.
class TrackLog {
 public:
  struct Point {
    double longitude;
    double latitude;
    QDateTime time;  // UTC
  };

  void Clear() { m_points.clear(); }
  void Add(double longitude, double latitude, const QDateTime& time) {
    m_points.push_back({longitude, latitude, time.toUTC()});
  }
  bool IsEmpty() const { return m_points.empty(); }
  const std::vector<Point>& Points() const { return m_points; }

 private:
  std::vector<Point> m_points;
};
