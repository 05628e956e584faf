#include <gtest/gtest.h>

#include "update/common/LeadingDigits.h"
#include "update/common/VersionNumber.h"

TEST(VersionNumber, ComparesFieldsAsNumbers) {
  EXPECT_GT(VersionNumber::compare("1.0.0.10", "1.0.0.9"), 0);
  EXPECT_LT(VersionNumber::compare("1.0.0.9", "1.0.0.10"), 0);
  EXPECT_LT(VersionNumber::compare("1.9.9.9", "2.0.0.0"), 0);
  EXPECT_GT(VersionNumber::compare("10.0", "9.99.99.99"), 0);
  EXPECT_EQ(VersionNumber::compare("3.1.4.1", "3.1.4.1"), 0);
}

TEST(VersionNumber, MissingAndDigitlessFieldsCountZero) {
  EXPECT_EQ(VersionNumber::compare("1.2", "1.2.0.0"), 0);
  EXPECT_EQ(VersionNumber::compare("1.x.3", "1.0.3"), 0);
  EXPECT_EQ(VersionNumber::compare("1.2b.3", "1.2.3"), 0);
  EXPECT_EQ(VersionNumber::compare("", "0.0.0.0"), 0);
  EXPECT_LT(VersionNumber::compare("", "0.0.0.1"), 0);
  EXPECT_LT(VersionNumber::compare("1..3", "1.1.3"), 0);
}

TEST(VersionNumber, HugeFieldsDoNotWrap) {
  EXPECT_GT(VersionNumber::compare("1.99999999999999999999999", "1.18446744073709551614"), 0);
}

TEST(LeadingDigits, ReadsLikeAtoiWithinTheLimit) {
  EXPECT_EQ(leadingDigits("  +42abc", 1000), 42u);
  EXPECT_EQ(leadingDigits("abc", 1000), 0u);
  EXPECT_EQ(leadingDigits("-5", 1000), 0u);
  EXPECT_EQ(leadingDigits("4294967295", 0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(leadingDigits("4294967296", 0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(leadingDigits("99999999999999999999999", UINT64_MAX), UINT64_MAX);
}
