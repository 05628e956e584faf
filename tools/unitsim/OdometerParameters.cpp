#include "OdometerParameters.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::array<std::string_view, 5> kGroups{"ATB", "ATG", "LTC", "LTG", "KWS"};
constexpr int kScaleGroup = 4;
// Largest magnitude that %06.3f prints within six characters.
constexpr double kNarrowLimit = 99.9995;

}  // namespace

void OdometerParameters::Reset() {
  for (Values& values : m_groups) values = {0.0, 0.0, 0.0};
  m_groups[kScaleGroup] = {1.0, 1.0, 1.0};
}

int OdometerParameters::IndexOf(std::string_view group) {
  for (size_t i = 0; i < kGroups.size(); ++i) {
    if (kGroups[i] == group) return int(i);
  }
  return -1;
}

bool OdometerParameters::IsGroup(std::string_view group) {
  return IndexOf(group) >= 0;
}

std::optional<OdometerParameters::Values> OdometerParameters::Get(std::string_view group) const {
  const int index = IndexOf(group);
  if (index < 0) return std::nullopt;
  return m_groups[size_t(index)];
}

bool OdometerParameters::Set(std::string_view group, const Values& values) {
  const int index = IndexOf(group);
  if (index < 0) return false;
  m_groups[size_t(index)] = values;
  return true;
}

std::string OdometerParameters::ValueLine(const Values& values, bool wide) {
  for (double v : values) wide = wide || std::fabs(v) >= kNarrowLimit;
  std::string line;
  for (double v : values) {
    char field[64];
    std::snprintf(field, sizeof field, wide ? "%c%07.3f" : "%c%06.3f", v < 0 ? '-' : '+',
                  std::fabs(v));
    if (!line.empty()) line += ' ';
    line += field;
  }
  return line;
}

std::optional<OdometerParameters::Values> OdometerParameters::ParseValues(std::string_view text) {
  const std::string copy(text);
  const char* at = copy.c_str();
  Values values{};
  for (double& value : values) {
    char* end = nullptr;
    value = std::strtod(at, &end);
    if (end == at || !std::isfinite(value)) return std::nullopt;
    at = end;
  }
  while (*at == ' ' || *at == '\t') ++at;
  if (*at != '\0') return std::nullopt;
  return values;
}
