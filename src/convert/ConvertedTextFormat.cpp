#include "convert/ConvertedTextFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// GBK code points of the two signs in the column names.
#define DEG "\xA1\xE3"
#define CELSIUS "\xA1\xE6"

constexpr const char* kHeaders[kColumnGroupCount] = {
    "Vel-E(m/s)  Vel-N(m/s)  Vel-U(m/s)  ",
    "Longitude(" DEG ")  Latitude(" DEG ")  Altitude(m)  ",
    "Pitch(" DEG ")  Roll(" DEG ")  Yaw(" DEG ")  ",
    "Gyro-x(" DEG "/s)  Gyro-y(" DEG "/s)  Gyro-z(" DEG "/s)  ",
    "Acc-x(g)  Acc-y(g)  Acc-z(g)  ",
    "Mag-x(uT)  Mag-y(uT)  Mag-z(uT)  ",
    "Barometer(mbar)  ",
    "Temperture(" CELSIUS ")  ",
    "TimeStamp",
};

#undef DEG
#undef CELSIUS

// The frames carry no magnetometer or temperature; their columns say so.
constexpr double kNotMeasured = std::numeric_limits<double>::quiet_NaN();

void AppendValue(std::string& out, double value, int decimals) {
  AppendFixed(out, value, decimals);
  out += "  ";
}

void AppendTriple(std::string& out, double a, double b, double c, int decimals) {
  AppendValue(out, a, decimals);
  AppendValue(out, b, decimals);
  AppendValue(out, c, decimals);
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
constexpr uint64_t kIntPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                        100000, 1000000, 10000000, 100000000};

// Rows hold millions of ordinary numbers, so the usual case is done with
// integer arithmetic: scale by 10^decimals, where the product's exact value
// is p + err (fma recovers the rounding error exactly), and round it to the
// nearest integer. Values near a rounding tie, or too large for the scaled
// value to stay exact, return false and take the exact general path, so the
// digits always match printf's.
bool AppendFixedFast(std::string& out, double value, int decimals) {
  if (decimals < 0 || decimals > 8) return false;
  const double scale = kPowersOfTen[decimals];
  const double magnitude = std::fabs(value);
  if (!(magnitude * scale < 4.0e15)) return false;  // also refuses infinities
  const double p = magnitude * scale;
  const double err = std::fma(magnitude, scale, -p);
  const double whole = std::floor(p);
  const double distanceFromTie = (p - whole - 0.5) + err;
  if (std::fabs(distanceFromTie) < 1e-6) return false;
  const uint64_t scaled = uint64_t(whole) + (distanceFromTie > 0 ? 1 : 0);

  char buffer[32];
  char* end = buffer + sizeof buffer;
  char* p0 = end;
  uint64_t fraction = scaled % kIntPowersOfTen[decimals];
  uint64_t integer = scaled / kIntPowersOfTen[decimals];
  for (int i = 0; i < decimals; ++i) {
    *--p0 = char('0' + fraction % 10);
    fraction /= 10;
  }
  if (decimals > 0) *--p0 = '.';
  do {
    *--p0 = char('0' + integer % 10);
    integer /= 10;
  } while (integer != 0);
  if (std::signbit(value)) *--p0 = '-';
  out.append(p0, end);
  return true;
}

}  // namespace

void AppendFixed(std::string& out, double value, int decimals) {
  if (std::isnan(value)) {
    out += std::signbit(value) ? "-nan" : "nan";
    return;
  }
  if (!AppendFixedFast(out, value, decimals)) {
    // to_chars gives the exactly rounded digits printf gives.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
  }
}

std::string HeaderLine(const ConvertColumns& columns) {
  std::string line;
  for (size_t g = 0; g < kColumnGroupCount; ++g) {
    if (columns.selected[g]) line += kHeaders[g];
  }
  if (columns.Any()) line += "\r\n";
  return line;
}

void AppendRow(std::string& out, const NavSample& s, const ConvertColumns& c) {
  if (c.Has(ColumnGroup::Velocity)) AppendTriple(out, s.velE, s.velN, s.velU, 5);
  if (c.Has(ColumnGroup::Position)) {
    AppendValue(out, s.longitude, 8);
    AppendValue(out, s.latitude, 8);
    AppendValue(out, s.altitude, 5);
  }
  if (c.Has(ColumnGroup::Attitude)) AppendTriple(out, s.pitch, s.roll, s.yaw, 5);
  if (c.Has(ColumnGroup::Gyro)) AppendTriple(out, s.gyroX, s.gyroY, s.gyroZ, 5);
  if (c.Has(ColumnGroup::Accelerometer)) AppendTriple(out, s.accX, s.accY, s.accZ, 5);
  if (c.Has(ColumnGroup::Magnetometer))
    AppendTriple(out, kNotMeasured, kNotMeasured, kNotMeasured, 5);
  if (c.Has(ColumnGroup::Barometer)) AppendValue(out, s.barometer, 5);
  if (c.Has(ColumnGroup::Temperature)) AppendValue(out, kNotMeasured, 2);
  if (c.Has(ColumnGroup::TimeStamp)) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, s.timeStamp);
    out.append(buffer, result.ptr);
  }
  if (c.Any()) out += "\r\n";
}
