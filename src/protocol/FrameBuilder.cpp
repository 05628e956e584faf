#include "protocol/FrameBuilder.h"

#include <algorithm>
#include <cmath>

#include "protocol/BigEndian.h"
#include "protocol/Crc16.h"

namespace {

// Scaled integer fields saturate instead of wrapping, so an out-of-range
// value shows up as the field's extreme rather than as its opposite sign.
int32_t Scaled(double value, double scale, int32_t lo, int32_t hi) {
  const double raw = std::round(value / scale);
  if (!(raw >= lo)) return lo;  // also catches NaN
  if (raw > hi) return hi;
  return int32_t(raw);
}

constexpr int32_t kS24Min = -0x800000, kS24Max = 0x7FFFFF;

void WriteS24Scaled(uint8_t* p, double v, double scale) {
  be::WriteS24(p, Scaled(v, scale, kS24Min, kS24Max));
}
void WriteAngle(uint8_t* p, double deg) {
  be::WriteU16(p, uint32_t(Scaled(deg, 0.01, -0x8000, 0x7FFF)) & 0xFFFF);
}
void WriteHeading(uint8_t* p, double deg, bool signedHeading) {
  const int32_t raw =
      signedHeading ? Scaled(deg, 0.01, -0x8000, 0x7FFF) : Scaled(deg, 0.01, 0, 0xFFFF);
  be::WriteU16(p, uint32_t(raw) & 0xFFFF);
}

void WriteTriple(uint8_t* p, double a, double b, double c, double scale) {
  WriteS24Scaled(p, a, scale);
  WriteS24Scaled(p + 3, b, scale);
  WriteS24Scaled(p + 6, c, scale);
}

// The first 118 bytes of a 120-byte frame (all a Frame76 needs of them too).
template <size_t N>
void FillLayout120(std::array<uint8_t, N>& f, const NavSample& s, uint8_t second, size_t limit) {
  std::array<uint8_t, kFrame120Length> b{};
  b[0] = 0xAA;
  b[1] = second;
  WriteTriple(&b[2], s.gyroX, s.gyroY, s.gyroZ, 0.001);
  WriteTriple(&b[11], s.accX, s.accY, s.accZ, 0.00001);
  WriteAngle(&b[24], s.pitch);
  WriteAngle(&b[26], s.roll);
  WriteHeading(&b[28], s.yaw, s.signedHeading);
  WriteTriple(&b[30], s.velE, s.velN, s.velU, 0.0001);
  be::WriteF64(&b[39], s.longitude);
  be::WriteF64(&b[47], s.latitude);
  be::WriteF32(&b[55], s.altitude);
  b[59] = StatusFlags120(s);
  b[60] = s.posType;
  b[61] = s.headType;
  if (s.hasGnssPosition) {
    be::WriteF64(&b[62], s.gnssLatitude);
    be::WriteF64(&b[70], s.gnssLongitude);
    be::WriteF64(&b[78], s.gnssAltitude);
  }
  if (s.hasGnssVelocity) {
    be::WriteF32(&b[86], s.gnssVelE);
    be::WriteF32(&b[90], s.gnssVelN);
    be::WriteF32(&b[94], s.gnssVelU);
  }
  if (s.hasGnssHeading) be::WriteF32(&b[98], s.gnssHeading);
  b[117] = s.frameFormat;
  std::copy_n(b.begin(), std::min(limit, N), f.begin());
}

}  // namespace

uint8_t StatusFlags120(const NavSample& s) {
  return uint8_t((s.initialised ? 0x01 : 0) | (s.correctionWorking ? 0x02 : 0) |
                 (s.gnssDifferential ? 0x04 : 0) | (s.gnssHeadingFix ? 0x08 : 0) |
                 (s.odometerConnected ? 0x10 : 0) | (s.hasGnssPosition ? 0x20 : 0) |
                 (s.hasGnssVelocity ? 0x40 : 0) | (s.hasGnssHeading ? 0x80 : 0));
}

Frame120Bytes BuildFrame120(const NavSample& s, uint8_t secondHeaderByte) {
  Frame120Bytes f{};
  FillLayout120(f, s, secondHeaderByte, kFrame120Length - 2);
  be::WriteU16(&f[118], Crc16Modbus(f.data(), kFrame120Length - 2));
  return f;
}

Frame76Bytes BuildFrame76(const NavSample& s, uint8_t secondHeaderByte) {
  Frame76Bytes f{};
  FillLayout120(f, s, secondHeaderByte, kFrame76Length - 1);
  f[0] = 0xDA;
  f[75] = Sum8(f.data(), kFrame76Length - 1);
  return f;
}

Frame220Bytes BuildFrame220(const NavSample& s, uint8_t secondHeaderByte) {
  Frame220Bytes b{};
  b[0] = 0xBA;
  b[1] = secondHeaderByte;
  b[2] = uint8_t((s.hasGnssPosition ? 0x01 : 0) | (s.hasGnssVelocity ? 0x02 : 0) |
                 (s.hasGnssHeading ? 0x04 : 0));
  WriteTriple(&b[4], s.gyroX, s.gyroY, s.gyroZ, 0.001);
  WriteTriple(&b[13], s.accX, s.accY, s.accZ, 0.00001);
  b[58] = s.posType;
  b[60] = s.headType;
  if (s.hasGnssPosition) {
    be::WriteF64(&b[65], s.gnssLatitude);
    be::WriteF64(&b[73], s.gnssLongitude);
    be::WriteF64(&b[81], s.gnssAltitude);
  }
  if (s.hasGnssVelocity) {
    be::WriteF32(&b[105], s.gnssVelE);
    be::WriteF32(&b[109], s.gnssVelN);
    be::WriteF32(&b[113], s.gnssVelU);
  }
  if (s.hasGnssHeading) be::WriteF32(&b[133], s.gnssHeading);
  WriteAngle(&b[159], s.pitch);
  WriteAngle(&b[161], s.roll);
  WriteHeading(&b[163], s.yaw, s.signedHeading);
  WriteTriple(&b[165], s.velE, s.velN, s.velU, 0.0001);
  be::WriteF64(&b[194], s.longitude);
  be::WriteF64(&b[202], s.latitude);
  be::WriteF32(&b[210], s.altitude);
  be::WriteU16(&b[218], Crc16Modbus(b.data(), kFrame220Length - 2));
  return b;
}
