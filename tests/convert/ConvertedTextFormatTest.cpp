#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "convert/ConvertedTextFormat.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "tests/protocol/TestFrames.h"

namespace {

ConvertColumns Only(std::initializer_list<ColumnGroup> groups) {
  ConvertColumns c;
  for (ColumnGroup g : groups) c.Select(g);
  return c;
}

TEST(ConvertedTextFormat, HeaderTextsAreByteExactInGroupOrder) {
  ConvertColumns all;
  all.selected.fill(true);
  EXPECT_EQ(HeaderLine(all),
            "Vel-E(m/s)  Vel-N(m/s)  Vel-U(m/s)  "
            "Longitude(\xA1\xE3)  Latitude(\xA1\xE3)  Altitude(m)  "
            "Pitch(\xA1\xE3)  Roll(\xA1\xE3)  Yaw(\xA1\xE3)  "
            "Gyro-x(\xA1\xE3/s)  Gyro-y(\xA1\xE3/s)  Gyro-z(\xA1\xE3/s)  "
            "Acc-x(g)  Acc-y(g)  Acc-z(g)  "
            "Mag-x(uT)  Mag-y(uT)  Mag-z(uT)  "
            "Barometer(mbar)  "
            "Temperture(\xA1\xE6)  "
            "TimeStamp\r\n");
  EXPECT_EQ(HeaderLine(ConvertColumns{}), "");
  EXPECT_EQ(HeaderLine(Only({ColumnGroup::TimeStamp})), "TimeStamp\r\n");
}

TEST(ConvertedTextFormat, RowsFollowTheirFormats) {
  CPorotocalRtkAnalyse a;
  NavSample s;
  s.velE = 1.5;
  s.velN = -0.0001;
  s.velU = 2;
  s.longitude = 116.123456789;
  s.latitude = -39.5;
  s.altitude = 12.25;
  const auto f = BuildFrame120(s);
  a.LoadFrame(120, f.data());
  ASSERT_TRUE(a.CheckFrame());
  DecodeCurrentFrame(a);

  std::string row;
  AppendRow(row, a.Decoded(), Only({ColumnGroup::Position, ColumnGroup::Velocity}));
  EXPECT_EQ(row, "1.50000  -0.00010  2.00000  116.12345679  -39.50000000  12.25000  \r\n");

  row.clear();
  AppendRow(row, a.Decoded(), Only({ColumnGroup::TimeStamp}));
  EXPECT_EQ(row, "0\r\n");

  row.clear();
  AppendRow(row, a.Decoded(),
            Only({ColumnGroup::Magnetometer, ColumnGroup::Barometer, ColumnGroup::Temperature,
                  ColumnGroup::TimeStamp}));
  EXPECT_EQ(row, "nan  nan  nan  0.00000  nan  0\r\n");

  row.clear();
  AppendRow(row, a.Decoded(), ConvertColumns{});
  EXPECT_EQ(row, "");
}

TEST(ConvertedTextFormat, FixedNumbersMatchPrintfEverywhere) {
  std::mt19937_64 rng(11);
  char expected[512];
  const double specials[] = {0.0,
                             -0.0,
                             0.125,
                             2.5,
                             -1.000005,
                             1e300,
                             -1e-300,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  auto check = [&](double v, int decimals) {
    std::string got;
    AppendFixed(got, v, decimals);
    std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
    EXPECT_EQ(got, expected) << v;
  };
  for (double v : specials)
    for (int d : {2, 5, 8}) check(v, d);
  std::uniform_real_distribution<double> wide(-1e6, 1e6);
  for (int i = 0; i < 20000; ++i) {
    // Near-ties at every precision, then arbitrary values and arbitrary bit patterns.
    const double nearTie = double(int64_t(rng() % 4000000000) - 2000000000) / 100000.0 + 0.000005;
    const double bits = std::bit_cast<double>(rng());
    for (double v : {nearTie, wide(rng), wide(rng) * 1e-7, bits}) {
      check(v, 5);
      check(v, 8);
      check(v, 2);
    }
  }
}

}  // namespace
