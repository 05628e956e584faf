#include "protocol/NavSample.h"

#include "protocol/SharedText.h"

namespace {

struct LampTexts {
  const std::string* lit;
  const std::string* dark;
};

const LampTexts& TextsOf(StatusLamp lamp) {
  static const LampTexts texts[kStatusLampCount] = {
      {SharedText::Intern("初始化完成"), SharedText::Intern("初始化中")},
      {SharedText::Intern("千寻工作中"), SharedText::Intern("千寻未工作")},
      {SharedText::Intern("GPS差分50"), SharedText::Intern("GPS未差分")},
      {SharedText::Intern("GPS航向50"), SharedText::Intern("GPS未航向")},
      {SharedText::Intern("里程计接入"), SharedText::Intern("里程计未接入")},
  };
  return texts[int(lamp)];
}

}  // namespace

bool LampLit(const NavSample& s, StatusLamp lamp) {
  if (!s.hasStatus) return false;
  switch (lamp) {
    case StatusLamp::Init:
      return s.initialised;
    case StatusLamp::Correction:
      return s.correctionWorking;
    case StatusLamp::GnssDiff:
      return s.gnssDifferential;
    case StatusLamp::GnssHeading:
      return s.gnssHeadingFix;
    case StatusLamp::Odometer:
      return s.odometerConnected;
  }
  return false;
}

const std::string& StatusText(const NavSample& s, StatusLamp lamp) {
  if (!s.hasStatus) return TextOf(nullptr);
  const LampTexts& t = TextsOf(lamp);
  return LampLit(s, lamp) ? *t.lit : *t.dark;
}
