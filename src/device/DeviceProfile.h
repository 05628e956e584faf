#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The firmware variants the program tells apart, named by line 1 of the
// configuration file. They differ in the output rates they offer, the codes
// for them, how the rate reply is spelled and a few button rules. The
// program and the virtual unit share this one definition.
enum class DeviceVariant { V3_11, V5_1, V7_1, QELV3_11, KDV1, KemRTK, Other };

// One output rate a variant offers: the selector's text and the code
// character of "*PA AUTO OUT FRE".
struct RateCode {
  char code;
  int hertz;
};

// Whole-string and case-insensitive; any other text is DeviceVariant::Other.
DeviceVariant ParseDeviceVariant(std::string_view text);
std::string_view DeviceVariantName(DeviceVariant variant);

std::span<const RateCode> OutputRates(DeviceVariant variant);
std::optional<int> RateForCode(DeviceVariant variant, char code);
// '0' when the rate is not one the variant offers.
char CodeForRate(DeviceVariant variant, int hertz);
// The V3.11 firmware spells its rate reply "OUT FER", the others "OUT FRE".
std::string_view RateReplyKeyword(DeviceVariant variant);

// What the program knows of the connected unit, parsed once from the
// configuration's line 1.
class DeviceProfile {
 public:
  DeviceProfile() = default;
  explicit DeviceProfile(std::string configLine1);

  DeviceVariant Variant() const { return m_variant; }
  bool Is(DeviceVariant v) const { return m_variant == v; }
  const std::string& Text() const { return m_text; }

  std::span<const RateCode> Rates() const { return OutputRates(m_variant); }
  // The selector's item for a rate: "100HZ".
  static std::string RateText(const RateCode& rate);
  // The rate the selector shows first.
  int DefaultRateIndex() const;
  // The code for the selector's text, or nothing when the text is not one of
  // the variant's rates.
  std::optional<char> CodeForRateText(std::string_view text) const;

  // KemRTK units take no settings: opening the port disables those buttons.
  bool SettingsLockedWhileOpen() const { return Is(DeviceVariant::KemRTK); }

 private:
  std::string m_text;
  DeviceVariant m_variant = DeviceVariant::Other;
};
