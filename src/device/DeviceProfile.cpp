#include "device/DeviceProfile.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

struct VariantName {
  DeviceVariant variant;
  std::string_view name;
};

constexpr std::array kNames{
    VariantName{DeviceVariant::V3_11, "V3.11"}, VariantName{DeviceVariant::V5_1, "V5.1"},
    VariantName{DeviceVariant::V7_1, "V7.1"},   VariantName{DeviceVariant::QELV3_11, "QELV3.11"},
    VariantName{DeviceVariant::KDV1, "KDV1"},   VariantName{DeviceVariant::KemRTK, "KemRTK"},
    VariantName{DeviceVariant::Other, "other"},
};

constexpr std::array kRatesV311{RateCode{'1', 10}, RateCode{'2', 20}, RateCode{'5', 50},
                                RateCode{'A', 100}};
constexpr std::array kRatesKdv1{RateCode{'1', 100}, RateCode{'2', 200}, RateCode{'3', 300},
                                RateCode{'6', 600}};
constexpr std::array kRatesDefault{RateCode{'1', 100}, RateCode{'2', 200}, RateCode{'4', 400}};

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

DeviceVariant ParseDeviceVariant(std::string_view text) {
  for (const VariantName& entry : kNames) {
    if (entry.variant != DeviceVariant::Other && EqualNoCase(text, entry.name)) {
      return entry.variant;
    }
  }
  return DeviceVariant::Other;
}

std::string_view DeviceVariantName(DeviceVariant variant) {
  for (const VariantName& entry : kNames) {
    if (entry.variant == variant) return entry.name;
  }
  return "other";
}

std::span<const RateCode> OutputRates(DeviceVariant variant) {
  switch (variant) {
    case DeviceVariant::V3_11:
      return kRatesV311;
    case DeviceVariant::KDV1:
      return kRatesKdv1;
    default:
      return kRatesDefault;
  }
}

std::optional<int> RateForCode(DeviceVariant variant, char code) {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(code)));
  for (const RateCode& rate : OutputRates(variant)) {
    if (rate.code == wanted) return rate.hertz;
  }
  return std::nullopt;
}

char CodeForRate(DeviceVariant variant, int hertz) {
  for (const RateCode& rate : OutputRates(variant)) {
    if (rate.hertz == hertz) return rate.code;
  }
  return '0';
}

std::string_view RateReplyKeyword(DeviceVariant variant) {
  return variant == DeviceVariant::V3_11 ? "FER" : "FRE";
}

DeviceProfile::DeviceProfile(std::string configLine1)
    : m_text(std::move(configLine1)), m_variant(ParseDeviceVariant(m_text)) {}

std::string DeviceProfile::RateText(const RateCode& rate) {
  return std::to_string(rate.hertz) + "HZ";
}

int DeviceProfile::DefaultRateIndex() const {
  // The V3.11 unit starts at its fastest rate, the others at their slowest.
  return Is(DeviceVariant::V3_11) ? int(Rates().size()) - 1 : 0;
}

std::optional<char> DeviceProfile::CodeForRateText(std::string_view text) const {
  for (const RateCode& rate : Rates()) {
    if (RateText(rate) == text) return rate.code;
  }
  return std::nullopt;
}
