#include <gtest/gtest.h>

#include "device/DeviceProfile.h"

namespace {

TEST(DeviceProfile, VariantsAreMatchedWholeAndWithoutRegardToCase) {
  EXPECT_TRUE(DeviceProfile("kemrtk").Is(DeviceVariant::KemRTK));
  EXPECT_TRUE(DeviceProfile("kemrtk").SettingsLockedWhileOpen());
  EXPECT_TRUE(DeviceProfile("qelv3.11").Is(DeviceVariant::QELV3_11));
  // A line end the reader kept, or any other text, is no variant.
  EXPECT_TRUE(DeviceProfile("V3.11\n").Is(DeviceVariant::Other));
  EXPECT_TRUE(DeviceProfile("other").Is(DeviceVariant::Other));
  EXPECT_TRUE(DeviceProfile("").Is(DeviceVariant::Other));
  EXPECT_FALSE(DeviceProfile("KDV1").SettingsLockedWhileOpen());
  EXPECT_EQ(DeviceProfile("kdv1").Text(), "kdv1");
}

TEST(DeviceProfile, RateListsAndTheirFirstChoice) {
  auto texts = [](const char* variant) {
    std::vector<std::string> out;
    for (const RateCode& r : DeviceProfile(variant).Rates())
      out.push_back(DeviceProfile::RateText(r));
    return out;
  };
  EXPECT_EQ(texts("V3.11"), (std::vector<std::string>{"10HZ", "20HZ", "50HZ", "100HZ"}));
  EXPECT_EQ(texts("KDV1"), (std::vector<std::string>{"100HZ", "200HZ", "300HZ", "600HZ"}));
  EXPECT_EQ(texts("V7.1"), (std::vector<std::string>{"100HZ", "200HZ", "400HZ"}));
  EXPECT_EQ(DeviceProfile("V3.11").DefaultRateIndex(), 3);
  EXPECT_EQ(DeviceProfile("KDV1").DefaultRateIndex(), 0);
  EXPECT_EQ(RateForCode(DeviceVariant::V3_11, 'a'), 100);
  EXPECT_EQ(CodeForRate(DeviceVariant::KDV1, 400), '0');
  EXPECT_EQ(RateReplyKeyword(DeviceVariant::V3_11), "FER");
  EXPECT_EQ(RateReplyKeyword(DeviceVariant::KDV1), "FRE");
}

}  // namespace
