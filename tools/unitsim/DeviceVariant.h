#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The firmware variants the program tells apart. They differ in the output
// rates they offer, the codes for them and how the rate reply is spelled.
enum class DeviceVariant { V3_11, V5_1, V7_1, QELV3_11, KDV1, KemRTK, Other };

// One output rate a variant offers and the code character that selects it.
struct RateCode {
  char code;
  int hertz;
};

// Whole-string and case-insensitive, as the program compares them; any other
// text is DeviceVariant::Other.
DeviceVariant ParseDeviceVariant(std::string_view text);
std::string_view DeviceVariantName(DeviceVariant variant);

std::span<const RateCode> OutputRates(DeviceVariant variant);
std::optional<int> RateForCode(DeviceVariant variant, char code);
// '0' when the rate is not one the variant offers.
char CodeForRate(DeviceVariant variant, int hertz);
// The V3.11 firmware spells its rate reply "OUT FER", the others "OUT FRE".
std::string_view RateReplyKeyword(DeviceVariant variant);
