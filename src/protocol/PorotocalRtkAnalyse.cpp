#include "protocol/PorotocalRtkAnalyse.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "protocol/BigEndian.h"
#include "protocol/Crc16.h"
#include "protocol/FrameHeader.h"
#include "protocol/SampleHub.h"

namespace {

// The decoder's fixed texts, interned once so that a decode only stores
// pointers.
struct DecoderTexts {
  const std::string* empty = SharedText::Intern("");
  const std::string* frameFormat1 = SharedText::Intern("帧格式1");
  const std::string* frameFormat2 = SharedText::Intern("帧格式2");
  const std::string* frameFormat3 = SharedText::Intern("帧格式3");
  const std::string* odometerOn = SharedText::Intern("里程计接入");
  const std::string* odometerOff = SharedText::Intern("里程计未接入");
};

const DecoderTexts& Texts() {
  static const DecoderTexts texts;
  return texts;
}

constexpr double kGyroScale = 0.001;
constexpr double kAccScale = 0.00001;
constexpr double kAngleScale = 0.01;
constexpr double kVelocityScale = 0.0001;

// Offsets of the 120-byte layout (Frame76 shares the first 75 bytes).
namespace f120 {
constexpr int kGyro = 2, kAcc = 11, kPitch = 24, kRoll = 26, kYaw = 28, kVel = 30;
constexpr int kLongitude = 39, kLatitude = 47, kAltitude = 55, kFlags = 59;
constexpr int kPosType = 60, kHeadType = 61;
constexpr int kGnssLat = 62, kGnssLon = 70, kGnssAlt = 78, kGnssVel = 86, kGnssHeading = 98;
constexpr int kFrameFormat = 117;
}  // namespace f120

namespace f220 {
constexpr int kFlags = 2, kGyro = 4, kAcc = 13, kPosType = 58, kHeadType = 60;
constexpr int kGnssLat = 65, kGnssLon = 73, kGnssAlt = 81, kGnssVel = 105, kGnssHeading = 133;
constexpr int kPitch = 159, kRoll = 161, kYaw = 163, kVel = 165;
constexpr int kLongitude = 194, kLatitude = 202, kAltitude = 210;
}  // namespace f220

}  // namespace

CPorotocalRtkAnalyse::CPorotocalRtkAnalyse(Publishing publishing)
    : m_hub(publishing == Publishing::ToHub ? std::make_unique<SampleHub>() : nullptr),
      m_odometerText(Texts().empty) {}

CPorotocalRtkAnalyse::~CPorotocalRtkAnalyse() = default;

NavSample CPorotocalRtkAnalyse::Current() const {
  if (!m_hub) return m_sample;
  NavSample latest;
  m_hub->Latest(latest);
  return latest;
}

bool CPorotocalRtkAnalyse::Snapshot(NavSample& out) const {
  if (m_hub) return m_hub->Latest(out);
  out = m_sample;
  return m_sample.sequence != 0;
}

std::string CPorotocalRtkAnalyse::Status(StatusLamp lamp) const {
  return StatusText(Current(), lamp);
}

void CPorotocalRtkAnalyse::SetOdometerText(const std::string& text) {
  m_odometerText.store(SharedText::Intern(text), std::memory_order_release);
}

std::string CPorotocalRtkAnalyse::GetOdometerText() const {
  return *m_odometerText.load(std::memory_order_acquire);
}

void CPorotocalRtkAnalyse::Reset() {
  m_sample = NavSample{};
  if (m_hub) m_hub->Reset();
  m_odometerText.store(Texts().empty, std::memory_order_release);
  m_nFrameLength.Set(kInitialFrameLength);
  m_frame.fill(0);
  m_nBufferPos = 0;
  m_nSyncState = 0;
  SelectDecoder(Decoder::None);
}

double CPorotocalRtkAnalyse::ReadHeading(const uint8_t* p) const {
  int32_t raw = HeadingIsSigned() ? be::ReadS16(p) : int32_t(be::ReadU16(p));
  return raw * kAngleScale;
}

void CPorotocalRtkAnalyse::DecodeStatus(uint8_t flags) {
  NavSample& s = m_sample;
  s.hasStatus = true;
  s.initialised = flags & 0x01;
  s.correctionWorking = flags & 0x02;
  s.gnssDifferential = flags & 0x04;
  s.gnssHeadingFix = flags & 0x08;
  s.odometerConnected = flags & 0x10;
  m_odometerText.store(s.odometerConnected ? Texts().odometerOn : Texts().odometerOff,
                       std::memory_order_release);
}

void CPorotocalRtkAnalyse::ClearStatus() {
  NavSample& s = m_sample;
  s.hasStatus = s.initialised = s.correctionWorking = false;
  s.gnssDifferential = s.gnssHeadingFix = s.odometerConnected = false;
  m_odometerText.store(Texts().empty, std::memory_order_release);
}

void CPorotocalRtkAnalyse::Publish(NavSample::Kind kind) {
  m_sample.kind = kind;
  m_sample.signedHeading = HeadingIsSigned();
  m_sample.odometerText = m_odometerText.load(std::memory_order_acquire);
  m_sample.sequence = m_hub ? m_hub->Publish(m_sample) : m_sample.sequence + 1;
}

// Where one frame kind keeps the fields both kinds carry.
struct CPorotocalRtkAnalyse::Layout {
  int gyro, acc, pitch, roll, yaw, vel, longitude, latitude, altitude;
  int gnssLatitude, gnssLongitude, gnssAltitude, gnssVel, gnssHeading, posType, headType;
};

namespace {

constexpr CPorotocalRtkAnalyse::Layout kLayout120 = {
    f120::kGyro,     f120::kAcc,         f120::kPitch,     f120::kRoll,
    f120::kYaw,      f120::kVel,         f120::kLongitude, f120::kLatitude,
    f120::kAltitude, f120::kGnssLat,     f120::kGnssLon,   f120::kGnssAlt,
    f120::kGnssVel,  f120::kGnssHeading, f120::kPosType,   f120::kHeadType};

constexpr CPorotocalRtkAnalyse::Layout kLayout220 = {
    f220::kGyro,     f220::kAcc,         f220::kPitch,     f220::kRoll,
    f220::kYaw,      f220::kVel,         f220::kLongitude, f220::kLatitude,
    f220::kAltitude, f220::kGnssLat,     f220::kGnssLon,   f220::kGnssAlt,
    f220::kGnssVel,  f220::kGnssHeading, f220::kPosType,   f220::kHeadType};

}  // namespace

void CPorotocalRtkAnalyse::DecodeInertial(const Layout& l) {
  const uint8_t* b = m_frame.data();
  NavSample& s = m_sample;
  s.gyroX = be::ReadS24(b + l.gyro) * kGyroScale;
  s.gyroY = be::ReadS24(b + l.gyro + 3) * kGyroScale;
  s.gyroZ = be::ReadS24(b + l.gyro + 6) * kGyroScale;
  s.accX = be::ReadS24(b + l.acc) * kAccScale;
  s.accY = be::ReadS24(b + l.acc + 3) * kAccScale;
  s.accZ = be::ReadS24(b + l.acc + 6) * kAccScale;
}

void CPorotocalRtkAnalyse::DecodeNavigation(const Layout& l) {
  const uint8_t* b = m_frame.data();
  NavSample& s = m_sample;
  s.pitch = be::ReadS16(b + l.pitch) * kAngleScale;
  s.roll = be::ReadS16(b + l.roll) * kAngleScale;
  s.yaw = ReadHeading(b + l.yaw);
  s.velE = be::ReadS24(b + l.vel) * kVelocityScale;
  s.velN = be::ReadS24(b + l.vel + 3) * kVelocityScale;
  s.velU = be::ReadS24(b + l.vel + 6) * kVelocityScale;
  s.longitude = be::ReadF64(b + l.longitude);
  s.latitude = be::ReadF64(b + l.latitude);
  s.altitude = be::ReadF32(b + l.altitude);
}

void CPorotocalRtkAnalyse::DecodeGnss(const Layout& l, bool position, bool velocity, bool heading) {
  const uint8_t* b = m_frame.data();
  NavSample& s = m_sample;
  // A block the frame does not carry keeps its earlier values.
  s.hasGnssPosition = position;
  s.hasGnssVelocity = velocity;
  s.hasGnssHeading = heading;
  if (position) {
    s.gnssLatitude = be::ReadF64(b + l.gnssLatitude);
    s.gnssLongitude = be::ReadF64(b + l.gnssLongitude);
    s.gnssAltitude = be::ReadF64(b + l.gnssAltitude);
  }
  if (velocity) {
    s.gnssVelE = be::ReadF32(b + l.gnssVel);
    s.gnssVelN = be::ReadF32(b + l.gnssVel + 4);
    s.gnssVelU = be::ReadF32(b + l.gnssVel + 8);
  }
  if (heading) s.gnssHeading = be::ReadF32(b + l.gnssHeading);
}

void CPorotocalRtkAnalyse::DecodeSolutionTypes(const Layout& l) {
  m_sample.posType = m_frame[size_t(l.posType)];
  m_sample.headType = m_frame[size_t(l.headType)];
}

int CPorotocalRtkAnalyse::DecodeFrame120() {
  const uint8_t format = m_frame[f120::kFrameFormat];
  m_sample.frameFormat = format;
  if (format == 0) m_sample.frameFormatText = Texts().frameFormat1;
  if (format == 1) m_sample.frameFormatText = Texts().frameFormat2;
  DecodeInertial(kLayout120);
  DecodeNavigation(kLayout120);
  const uint8_t flags = m_frame[f120::kFlags];
  DecodeGnss(kLayout120, flags & 0x20, flags & 0x40, flags & 0x80);
  DecodeStatus(flags);
  DecodeSolutionTypes(kLayout120);
  // A Frame76 is the first bytes of this layout and decodes with it.
  Publish(m_nFrameLength.Get() == kFrame76Length ? NavSample::Kind::Frame76
                                                 : NavSample::Kind::Frame120);
  return 0;
}

int CPorotocalRtkAnalyse::DecodeFrame220() {
  m_sample.frameFormatText = Texts().frameFormat3;
  DecodeInertial(kLayout220);
  DecodeSolutionTypes(kLayout220);
  const uint8_t flags = m_frame[f220::kFlags];
  DecodeGnss(kLayout220, flags & 0x01, flags & 0x02, flags & 0x04);
  DecodeNavigation(kLayout220);
  ClearStatus();
  Publish(NavSample::Kind::Frame220);
  return 1;
}

bool CPorotocalRtkAnalyse::FeedByte(uint8_t byte) {
  switch (m_nSyncState) {
    case 0:
      if (byte == m_header[0]) {
        m_frame[m_nBufferPos++] = byte;
        m_nSyncState = 1;
      } else {
        m_nBufferPos = 0;
      }
      break;
    case 1:
      if (((byte ^ m_header[1]) & 0xF0) == 0) {
        m_frame[m_nBufferPos++] = byte;
        m_nSyncState = 2;
      } else {
        // The rejected byte may itself open a frame: 0xDA 0xDA 0x61 ...
        m_nBufferPos = 0;
        m_nSyncState = 0;
        if (byte == m_header[0]) {
          m_frame[m_nBufferPos++] = byte;
          m_nSyncState = 1;
        }
      }
      break;
    case 2:
      m_frame[m_nBufferPos++] = byte;
      m_nSyncState = 3;
      m_nFrameLength.Set(kFrame76Length);
      SelectDecoder(Decoder::Frame120);
      break;
    default:
      m_frame[m_nBufferPos++] = byte;
      break;
  }

  const int length = m_nFrameLength.Get();
  if (m_nBufferPos == length) {
    const bool good = Sum8(m_frame.data(), size_t(length - 1)) == m_frame[size_t(length - 1)];
    m_nSyncState = 0;
    m_nBufferPos = 0;
    return good;
  }
  // A whole-frame check may have changed the expected length under a frame
  // being collected; never let the position run past the buffer.
  if (m_nBufferPos >= length + 5 || m_nBufferPos >= kBufferSize) m_nBufferPos = 0;
  return false;
}

int CPorotocalRtkAnalyse::LoadFrame(int count, const uint8_t* bytes) {
  const int n = std::clamp(count, 0, kBufferSize);
  if (n > 0) std::memcpy(m_frame.data(), bytes, size_t(n));
  return 1;
}

bool CPorotocalRtkAnalyse::CheckFrame() {
  const uint8_t* b = m_frame.data();
  if (b[0] == kHeader120 && IsSecondHeaderByte(b[1])) {
    m_nFrameLength.Set(kFrame120Length);
    SelectDecoder(Decoder::Frame120);
    if (Crc16Modbus(b, kFrame120Length - 2) == be::ReadU16(b + kFrame120Length - 2)) return true;
  }
  if (b[0] == kHeader220 && IsSecondHeaderByte(b[1])) {
    m_nFrameLength.Set(kFrame220Length);
    SelectDecoder(Decoder::Frame220);
    return Crc16Modbus(b, kFrame220Length - 2) == be::ReadU16(b + kFrame220Length - 2);
  }
  // A Frame76 handed over whole (the frame scanner took it by its run rule)
  // is checked by the sum the synchroniser checks.
  if (IsFrame76Header(b[0], b[1])) {
    m_nFrameLength.Set(kFrame76Length);
    SelectDecoder(Decoder::Frame120);
    return Sum8(b, kFrame76Length - 1) == b[kFrame76Length - 1];
  }
  return false;
}

CPorotocalRtkAnalyse* GetAnalyser() {
  // A failed creation leaves the slot empty so that the next call tries again.
  static std::mutex lock;
  static CPorotocalRtkAnalyse* instance = nullptr;
  std::lock_guard guard(lock);
  if (instance == nullptr) {
    instance = new (std::nothrow) CPorotocalRtkAnalyse(CPorotocalRtkAnalyse::Publishing::ToHub);
  }
  return instance;
}
