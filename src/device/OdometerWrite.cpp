#include "device/OdometerWrite.h"

#include <array>
#include <optional>

#include "device/OdometerCommands.h"
#include "device/OdometerNumber.h"

OdometerWrite PrepareOdometerWrite(std::string_view group, const OdometerValueTexts& texts) {
  const std::array<const std::string*, 3> fields{&texts.left, &texts.middle, &texts.right};
  std::array<double, 3> values{};
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::optional<double> value = ParseLeadingNumber(*fields[i]);
    if (!value) return {{}, "参数“" + *fields[i] + "”不是有效的数值，未写入！\n"};
    // The unit would take the value without its sign: say so, send nothing.
    if (*value < 0 && !OdometerGroupTakesNegatives(group)) {
      return {{}, "参数“" + *fields[i] + "”不能为负数，未写入！\n"};
    }
    values[i] = *value;
  }
  return {OdometerWriteCommand(group, values).value_or(std::string()), {}};
}
