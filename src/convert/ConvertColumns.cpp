#include "convert/ConvertColumns.h"

#include <algorithm>

namespace {

constexpr std::array<std::string_view, kColumnGroupCount> kNames = {
    "vel", "pos", "att", "gyro", "acc", "mag", "baro", "temp", "time"};

}  // namespace

bool ConvertColumns::Any() const {
  return std::any_of(selected.begin(), selected.end(), [](bool b) { return b; });
}

std::optional<ConvertColumns> ConvertColumns::Parse(std::string_view list) {
  ConvertColumns columns;
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    const auto it = std::find(kNames.begin(), kNames.end(), name);
    if (it == kNames.end()) return std::nullopt;
    columns.selected[size_t(it - kNames.begin())] = true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
    if (list.empty()) return std::nullopt;  // a trailing comma names nothing
  }
  if (!columns.Any()) return std::nullopt;
  return columns;
}

ConvertColumns ConvertColumns::Default() {
  ConvertColumns c;
  for (ColumnGroup g : {ColumnGroup::Velocity, ColumnGroup::Position, ColumnGroup::Attitude,
                        ColumnGroup::Gyro, ColumnGroup::Accelerometer}) {
    c.Select(g);
  }
  return c;
}
