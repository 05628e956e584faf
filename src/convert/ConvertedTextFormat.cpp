#include "ConvertedTextFormat.h"

#include <charconv>
#include <cmath>
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

}  // namespace

void AppendFixed(std::string& out, double value, int decimals) {
  if (std::isnan(value)) {
    out += std::signbit(value) ? "-nan" : "nan";
    return;
  }
  // to_chars gives the exactly rounded digits printf gives, without its cost.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  out.append(buffer, result.ptr);
}

std::string HeaderLine(const ConvertColumns& columns) {
  std::string line;
  for (size_t g = 0; g < kColumnGroupCount; ++g) {
    if (columns.selected[g]) line += kHeaders[g];
  }
  if (columns.Any()) line += "\r\n";
  return line;
}

void AppendRow(std::string& out, const CPorotocalAnalyse& a, const ConvertColumns& c) {
  if (c.Has(ColumnGroup::Velocity)) AppendTriple(out, a.GetVelE(), a.GetVelN(), a.GetVelU(), 5);
  if (c.Has(ColumnGroup::Position)) {
    AppendValue(out, a.GetLongitude(), 8);
    AppendValue(out, a.GetLatitude(), 8);
    AppendValue(out, a.GetAltitude(), 5);
  }
  if (c.Has(ColumnGroup::Attitude)) AppendTriple(out, a.GetPitch(), a.GetRoll(), a.GetYaw(), 5);
  if (c.Has(ColumnGroup::Gyro)) AppendTriple(out, a.GetGyroX(), a.GetGyroY(), a.GetGyroZ(), 5);
  if (c.Has(ColumnGroup::Accelerometer))
    AppendTriple(out, a.GetAccX(), a.GetAccY(), a.GetAccZ(), 5);
  if (c.Has(ColumnGroup::Magnetometer))
    AppendTriple(out, kNotMeasured, kNotMeasured, kNotMeasured, 5);
  if (c.Has(ColumnGroup::Barometer)) AppendValue(out, a.GetBarometer(), 5);
  if (c.Has(ColumnGroup::Temperature)) AppendValue(out, kNotMeasured, 2);
  if (c.Has(ColumnGroup::TimeStamp)) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, a.GetTimeStamp());
    out.append(buffer, result.ptr);
  }
  if (c.Any()) out += "\r\n";
}
