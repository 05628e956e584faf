#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The unit's five odometer parameter groups (ATB, ATG, LTC, LTG, KWS) of three
// values each, read and written with "*PA AUTO ODO RAD_<G>" and
// "*PA AUTO ODO SET_<G> a b c".
class OdometerParameters {
 public:
  using Values = std::array<double, 3>;

  OdometerParameters() { Reset(); }
  // Factory values: KWS (a scale) 1, 1, 1; the other groups 0, 0, 0.
  void Reset();

  static bool IsGroup(std::string_view group);
  std::optional<Values> Get(std::string_view group) const;
  bool Set(std::string_view group, const Values& values);

  // The value line of a read: each value as a sign and its absolute value,
  // narrow (+01.234, sign and 6 characters) when every value fits, else or
  // when asked wide (+001.234, sign and 7 characters); fields separated by
  // one space.
  static std::string ValueLine(const Values& values, bool wide);
  // Three numbers separated by blanks, as the write command carries them.
  static std::optional<Values> ParseValues(std::string_view text);

 private:
  static int IndexOf(std::string_view group);
  std::array<Values, 5> m_groups{};
};
