#pragma once

#include <QPoint>
#include <QSize>

#include "instruments/LampStyle.h"

class CMeter;
class CRoundSliderCtrl;
class LampArray;

// How the main window sets up its three instruments.
namespace MainWindowInstruments {

// The gauge and the dial each fill a 150 x 150 dialog-unit control, which with the main
// window's dialog font comes to 262 x 281 pixels; their fixed marks are laid out for that.
inline constexpr QSize kGaugeSize(262, 281);
inline constexpr QSize kDialSize(262, 281);
inline constexpr QSize kLampStripSize(400, 40);
// The strip sits over the "状态指示" group box.
inline constexpr QPoint kLampStripPosition(800, 80);

inline constexpr int kGaugeControlId = 1035;
inline constexpr int kDialControlId = 1038;

// The strip's appearance in the main window: one row of five square lamps, green when lit.
LampStyle LampStripStyle();

void ConfigureGauge(CMeter& gauge);
void ConfigureDial(CRoundSliderCtrl& dial);
void ConfigureLampStrip(LampArray& lamps);

// Everything the main window does to its instruments at start, in one call. Sizes are fixed
// before the dial's radius is set, since a later resize would recompute it.
void Configure(CMeter& gauge, CRoundSliderCtrl& dial, LampArray& lamps);

}  // namespace MainWindowInstruments
