#include "LiveDisplay.h"

#include <QLineEdit>
#include <QString>
#include <array>
#include <cstdio>

#include "LampArray.h"
#include "WindowServices.h"

namespace {

enum class Format { Fixed, General, Integer, Text };

// One bound control: where its value lives and how it is written.
struct Binding {
  int controlId;
  Format format;
  int decimals;
  const char* unit;
  double DisplayValues::*number;
  std::string DisplayValues::*text;
};

using V = DisplayValues;

constexpr Binding Fixed(int id, int decimals, const char* unit, double V::*member) {
  return {id, Format::Fixed, decimals, unit, member, nullptr};
}
constexpr Binding General(int id, double V::*member) {
  return {id, Format::General, 15, "", member, nullptr};
}
constexpr Binding Text(int id, std::string V::*member) {
  return {id, Format::Text, 0, "", nullptr, member};
}

// In the order the controls are exchanged.
constexpr std::array kBindings = {
    Fixed(1010, 4, "°", &V::pitch),
    Fixed(1015, 4, "°", &V::roll),
    Fixed(1019, 4, "°", &V::yaw),
    Fixed(1014, 4, "m/s", &V::velE),
    Fixed(1042, 4, "m/s", &V::velN),
    Fixed(1043, 4, "m/s", &V::velU),
    Fixed(1018, 7, "°", &V::longitude),
    Fixed(1028, 7, "°", &V::latitude),
    Fixed(1036, 4, "m", &V::altitude),
    Text(1047, &V::mode),
    Fixed(1049, 4, "m", &V::barometer),
    Text(1059, &V::odometer),
    Text(1048, &V::gnssHeadingStatus),
    Text(1013, &V::initStatus),
    Text(1017, &V::correctionStatus),
    Text(1021, &V::gnssDiffStatus),
    Fixed(1012, 4, "g", &V::accX),
    Fixed(1016, 4, "g", &V::accY),
    Fixed(1020, 4, "g", &V::accZ),
    Fixed(1044, 4, "°/s", &V::gyroX),
    Fixed(1045, 4, "°/s", &V::gyroY),
    Fixed(1046, 4, "°/s", &V::gyroZ),
    Text(1025, &V::velType),
    Fixed(1030, 4, "°", &V::gnssHeading),
    Fixed(1029, 7, "°", &V::gnssLatitude),
    Fixed(1026, 7, "°", &V::gnssLongitude),
    Fixed(1027, 4, "m", &V::gnssAltitude),
    General(1037, &V::posType),
    Binding{1033, Format::Integer, 0, "", nullptr, nullptr},
    Fixed(1034, 4, "m/s", &V::gnssVelE),
    Fixed(1031, 4, "m/s", &V::gnssVelN),
    Fixed(1032, 4, "m/s", &V::gnssVelU),
    Text(1080, &V::scene),
    Text(1076, &V::frameFormat),
    General(1062, &V::headType),
    General(1133, &V::auxValue),
    Text(1078, &V::extra1),
    Text(1131, &V::extra2),
    Text(1079, &V::extra3),
    Text(1135, &V::extra4),
    Text(1137, &V::extra5),
};

struct Lamp {
  std::string V::*text;
  const char* onText;
};
constexpr std::array<Lamp, 5> kLamps = {{
    {&V::initStatus, "初始化完成"},
    {&V::correctionStatus, "千寻工作中"},
    {&V::gnssDiffStatus, "GPS差分50"},
    {&V::gnssHeadingStatus, "GPS航向50"},
    {&V::odometer, "里程计接入"},
}};

QString FormatValue(const Binding& b, const DisplayValues& v) {
  switch (b.format) {
    case Format::Fixed:
      return QString::asprintf("%.*f", b.decimals, v.*b.number) + QString::fromUtf8(b.unit);
    case Format::General:
      return QString::asprintf("%.*g", b.decimals, v.*b.number);
    case Format::Integer:
      return QString::number(v.satelliteCount);
    case Format::Text:
      return QString::fromStdString(v.*b.text);
  }
  return {};
}

struct Range {
  double V::*member;
  double low, high;
};
constexpr std::array<Range, 2> kRanges = {
    {{&V::pitch, -90.0001, 90.00001}, {&V::roll, -180.0001, 180.0001}}};

}  // namespace

LiveDisplay::LiveDisplay(const ControlMap& controls, LampArray* lamps)
    : m_controls(controls), m_lamps(lamps) {}

void LiveDisplay::CopyToDisplay(const CPorotocalAnalyse& a) {
  DisplayValues v;
  v.scene = a.GetSceneText();
  v.mode = a.GetModeText();
  v.frameFormat = a.GetFrameFormatText();
  v.odometer = a.GetOdometerText();
  v.pitch = a.GetPitch();
  v.roll = a.GetRoll();
  v.yaw = a.GetYaw();
  v.gyroX = a.GetGyroX();
  v.gyroY = a.GetGyroY();
  v.gyroZ = a.GetGyroZ();
  v.accX = a.GetAccX();
  v.accY = a.GetAccY();
  v.accZ = a.GetAccZ();
  v.initStatus = a.GetInitStatusText();
  v.correctionStatus = a.GetCorrectionStatusText();
  v.gnssDiffStatus = a.GetGnssDiffStatusText();
  v.gnssHeadingStatus = a.GetGnssHeadingStatusText();
  if (m_lamps != nullptr) {
    for (size_t i = 0; i < kLamps.size(); ++i) {
      const bool lit = QString::fromStdString(v.*kLamps[i].text)
                           .compare(QString::fromUtf8(kLamps[i].onText), Qt::CaseInsensitive) == 0;
      // Only a change is passed on: each one costs the strip a repaint.
      if (lit != m_lampLit[i]) m_lamps->SetLampState(int(i), lit);
      m_lampLit[i] = lit;
    }
  }
  v.barometer = a.GetBarometer();
  v.headType = a.GetHeadType();
  v.auxValue = a.GetAuxValue();
  v.velType = a.GetVelTypeText();
  v.gnssHeading = a.GetGnssHeading();
  v.satelliteCount = int(a.GetSatelliteCount());
  v.posType = a.GetPosType();
  v.gnssLatitude = a.GetGnssLatitude();
  v.gnssLongitude = a.GetGnssLongitude();
  v.gnssAltitude = a.GetGnssAltitude();
  v.gnssVelE = a.GetGnssVelE();
  v.gnssVelN = a.GetGnssVelN();
  v.gnssVelU = a.GetGnssVelU();
  v.longitude = a.GetLongitude();
  v.latitude = a.GetLatitude();
  v.altitude = a.GetAltitude();
  v.velE = a.GetVelE();
  v.velN = a.GetVelN();
  v.velU = a.GetVelU();
  v.extra1 = a.GetExtraText1();
  v.extra2 = a.GetExtraText2();
  v.extra3 = a.GetExtraText3();
  v.extra4 = a.GetExtraText4();
  v.extra5 = a.GetExtraText5();
  std::lock_guard guard(m_lock);
  m_values = std::move(v);
}

DisplayValues LiveDisplay::Values() const {
  std::lock_guard guard(m_lock);
  return m_values;
}

void LiveDisplay::WriteControls() {
  const DisplayValues v = Values();
  for (const Binding& b : kBindings) m_controls.SetText(b.controlId, FormatValue(b, v));
}

bool LiveDisplay::ReadControls(WindowServices& services, QWidget* owner) {
  DisplayValues v = Values();
  bool ok = true;
  for (const Binding& b : kBindings) {
    const QByteArray text = m_controls.Text(b.controlId).left(400).toUtf8();
    if (b.format == Format::Text) {
      v.*b.text = text.toStdString();
      continue;
    }
    // A leading number is enough: the unit after it is ignored.
    const bool parsed = b.format == Format::Integer
                            ? std::sscanf(text.constData(), "%d", &v.satelliteCount) == 1
                            : std::sscanf(text.constData(), "%lf", &(v.*b.number)) == 1;
    if (!parsed) {
      services.MessageBox(owner, QStringLiteral("请输入一个数字。"));
      ok = false;
      break;
    }
  }
  if (ok) {
    for (const Range& r : kRanges) {
      if (v.*r.member < r.low || v.*r.member > r.high) {
        services.MessageBox(
            owner, QStringLiteral("请输入一个 %1 至 %2 之间的数字。")
                       .arg(QString::asprintf("%.15g", r.low), QString::asprintf("%.15g", r.high)));
        ok = false;
        break;
      }
    }
  }
  std::lock_guard guard(m_lock);
  m_values = std::move(v);
  return ok;
}
