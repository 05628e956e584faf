#include "mainwindow/LiveDisplay.h"

#include <QString>
#include <array>
#include <cstdio>

#include "instruments/LampArray.h"
#include "mainwindow/TavrikDlgIds.h"
#include "services/WindowServices.h"

namespace {

using S = NavSample;
using namespace MainIds;

// How one bound control shows its part of a sample.
enum class Format { Fixed, General, Integer, Text, Status };

struct Binding {
  int controlId;
  Format format;
  int decimals = 0;
  const char* unit = "";
  double S::*number = nullptr;
  uint8_t S::*byte = nullptr;
  const std::string* S::*text = nullptr;
  const std::string* const* (*extra)(const S&) = nullptr;
  StatusLamp lamp = StatusLamp::Init;
};

constexpr Binding Fixed(int id, int decimals, const char* unit, double S::*member) {
  return {id, Format::Fixed, decimals, unit, member};
}
constexpr Binding General(int id, double S::*member) {
  return {id, Format::General, 15, "", member};
}
constexpr Binding GeneralByte(int id, uint8_t S::*member) {
  return {id, Format::General, 15, "", nullptr, member};
}
constexpr Binding Text(int id, const std::string* S::*member) {
  return {id, Format::Text, 0, "", nullptr, nullptr, member};
}
template <int N>
const std::string* const* ExtraText(const S& s) {
  return &s.extraText[N];
}
constexpr Binding Extra(int id, const std::string* const* (*extra)(const S&)) {
  return {id, Format::Text, 0, "", nullptr, nullptr, nullptr, extra};
}
constexpr Binding Status(int id, StatusLamp lamp) {
  Binding b{id, Format::Status};
  b.lamp = lamp;
  return b;
}

// In the order the controls are exchanged.
constexpr std::array kBindings = {
    Fixed(kPitchEdit, 4, "°", &S::pitch),
    Fixed(kRollEdit, 4, "°", &S::roll),
    Fixed(kYawEdit, 4, "°", &S::yaw),
    Fixed(kVelEEdit, 4, "m/s", &S::velE),
    Fixed(kVelNEdit, 4, "m/s", &S::velN),
    Fixed(kVelUEdit, 4, "m/s", &S::velU),
    Fixed(kLongitudeEdit, 7, "°", &S::longitude),
    Fixed(kLatitudeEdit, 7, "°", &S::latitude),
    Fixed(kAltitudeEdit, 4, "m", &S::altitude),
    Text(kModeEdit, &S::modeText),
    Fixed(kBarometerEdit, 4, "m", &S::barometer),
    Text(kOdometerStatusEdit, &S::odometerText),
    Status(kGnssHeadingStatusEdit, StatusLamp::GnssHeading),
    Status(kInitStatusEdit, StatusLamp::Init),
    Status(kCorrectionStatusEdit, StatusLamp::Correction),
    Status(kGnssDiffStatusEdit, StatusLamp::GnssDiff),
    Fixed(kAccXEdit, 4, "g", &S::accX),
    Fixed(kAccYEdit, 4, "g", &S::accY),
    Fixed(kAccZEdit, 4, "g", &S::accZ),
    Fixed(kGyroXEdit, 4, "°/s", &S::gyroX),
    Fixed(kGyroYEdit, 4, "°/s", &S::gyroY),
    Fixed(kGyroZEdit, 4, "°/s", &S::gyroZ),
    Text(kVelTypeEdit, &S::velTypeText),
    Fixed(kGpsHeadingEdit, 4, "°", &S::gnssHeading),
    Fixed(kGpsLatitudeEdit, 7, "°", &S::gnssLatitude),
    Fixed(kGpsLongitudeEdit, 7, "°", &S::gnssLongitude),
    Fixed(kGpsAltitudeEdit, 4, "m", &S::gnssAltitude),
    GeneralByte(kPosTypeEdit, &S::posType),
    Binding{kSatelliteEdit, Format::Integer, 0, "", &S::satelliteCount},
    Fixed(kGpsVelEEdit, 4, "m/s", &S::gnssVelE),
    Fixed(kGpsVelNEdit, 4, "m/s", &S::gnssVelN),
    Fixed(kGpsVelUEdit, 4, "m/s", &S::gnssVelU),
    Text(kCurrentSceneLabel, &S::sceneText),
    Text(kFrameFormatEdit, &S::frameFormatText),
    GeneralByte(kHeadTypeEdit, &S::headType),
    General(kAuxValueLabel, &S::auxValue),
    Extra(kExtra1Edit, &ExtraText<0>),
    Extra(kExtra2Edit, &ExtraText<1>),
    Extra(kExtra3Edit, &ExtraText<2>),
    Extra(kExtra4Edit, &ExtraText<3>),
    Extra(kExtra5Edit, &ExtraText<4>),
};

double NumberOf(const Binding& b, const S& s) {
  return b.number ? s.*b.number : double(s.*b.byte);
}

QString FormatValue(const Binding& b, const S& s) {
  switch (b.format) {
    case Format::Fixed:
      return QString::asprintf("%.*f", b.decimals, s.*b.number) + QString::fromUtf8(b.unit);
    case Format::General:
      return QString::asprintf("%.*g", b.decimals, NumberOf(b, s));
    case Format::Integer:
      return QString::number(int(s.*b.number));
    case Format::Text:
      return QString::fromStdString(TextOf(b.text ? s.*b.text : *b.extra(s)));
    case Format::Status:
      return QString::fromStdString(StatusText(s, b.lamp));
  }
  return {};
}

// Reads a leading number; what follows it (the unit) is ignored.
bool ReadNumber(const Binding& b, const QString& text, S& s) {
  const QByteArray bytes = text.left(400).toUtf8();
  double value = 0;
  if (b.format == Format::Integer) {
    int whole = 0;
    if (std::sscanf(bytes.constData(), "%d", &whole) != 1) return false;
    value = whole;
  } else if (std::sscanf(bytes.constData(), "%lf", &value) != 1) {
    return false;
  }
  if (b.number) {
    s.*b.number = value;
  } else {
    s.*b.byte = uint8_t(value);
  }
  return true;
}

struct Range {
  double S::*member;
  double low, high;
};
constexpr std::array<Range, 2> kRanges = {
    {{&S::pitch, -90.0001, 90.00001}, {&S::roll, -180.0001, 180.0001}}};

}  // namespace

LiveDisplay::LiveDisplay(const ControlMap& controls, LampArray* lamps)
    : m_controls(controls), m_lamps(lamps) {}

void LiveDisplay::Show(const NavSample& sample) {
  m_shown = sample;
  WriteControls();
  ShowLamps();
}

void LiveDisplay::ShowLamps() {
  if (m_lamps == nullptr) return;
  for (int i = 0; i < kStatusLampCount; ++i) {
    const bool lit = LampLit(m_shown, StatusLamp(i));
    // Only a change is passed on: each one costs the strip a repaint.
    if (lit != m_lampLit[size_t(i)]) m_lamps->SetLampState(i, lit);
    m_lampLit[size_t(i)] = lit;
  }
}

void LiveDisplay::WriteControls() {
  for (const Binding& b : kBindings) m_controls.SetText(b.controlId, FormatValue(b, m_shown));
}

bool LiveDisplay::ReadControls(WindowServices& services, QWidget* owner) {
  // The text boxes are read-only: only their numbers need reading back.
  for (const Binding& b : kBindings) {
    if (b.format == Format::Text || b.format == Format::Status) continue;
    if (!ReadNumber(b, m_controls.Text(b.controlId), m_shown)) {
      services.MessageBox(owner, QStringLiteral("请输入一个数字。"));
      return false;
    }
  }
  for (const Range& r : kRanges) {
    if (m_shown.*r.member < r.low || m_shown.*r.member > r.high) {
      services.MessageBox(
          owner, QStringLiteral("请输入一个 %1 至 %2 之间的数字。")
                     .arg(QString::asprintf("%.15g", r.low), QString::asprintf("%.15g", r.high)));
      return false;
    }
  }
  return true;
}
