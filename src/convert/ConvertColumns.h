#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The nine column groups of a converted file, in their fixed output order.
enum class ColumnGroup {
  Velocity,
  Position,
  Attitude,
  Gyro,
  Accelerometer,
  Magnetometer,
  Barometer,
  Temperature,
  TimeStamp,
};
inline constexpr size_t kColumnGroupCount = 9;

struct ConvertColumns {
  std::array<bool, kColumnGroupCount> selected{};

  bool Has(ColumnGroup g) const { return selected[size_t(g)]; }
  void Select(ColumnGroup g, bool on = true) { selected[size_t(g)] = on; }
  bool Any() const;

  // The command line's names: vel,pos,att,gyro,acc,mag,baro,temp,time.
  static std::optional<ConvertColumns> Parse(std::string_view list);
  static ConvertColumns Default();  // vel,pos,att,gyro,acc
};
