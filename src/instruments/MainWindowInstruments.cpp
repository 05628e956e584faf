#include "instruments/MainWindowInstruments.h"

#include <QString>
#include <QVariant>

#include "instruments/CMeter.h"
#include "instruments/CRoundSliderCtrl.h"
#include "instruments/InstrumentResources.h"
#include "instruments/LampArray.h"

namespace MainWindowInstruments {

LampStyle LampStripStyle() {
  LampStyle style;
  style.width = kLampStripSize.width();
  style.height = kLampStripSize.height();
  style.shape = LampStyle::Square;
  style.backgroundColor = QColor(240, 240, 240);
  style.litColor = QColor(0, 255, 0);
  style.darkColor = QColor(150, 176, 200);
  style.textColor = QColor(0, 0, 0);
  style.fontHeight = 14;
  style.lampWidth = 20;
  style.lampHeight = 20;
  style.horizontalGap = 50;
  style.verticalGap = 0;
  style.leftMargin = 10;
  style.topMargin = 10;
  style.labelOffsetX = 23;
  style.labelOffsetY = 5;
  style.bevelWidth = 2;
  style.borderTop = false;
  style.borderBottom = false;
  style.borderLeft = false;
  style.borderRight = false;
  style.borderWidth = 3;
  return style;
}

void ConfigureGauge(CMeter& gauge) {
  gauge.setObjectName(QStringLiteral("attitudeGauge"));
  gauge.setProperty("controlId", kGaugeControlId);
  gauge.setFixedSize(kGaugeSize);
  gauge.SetNeedleColor(QColor(255, 128, 64));
  gauge.SetRange(-135, 135);
  gauge.SetValueDecimals(2);
}

void ConfigureDial(CRoundSliderCtrl& dial) {
  dial.setObjectName(QStringLiteral("headingDial"));
  dial.setProperty("controlId", kDialControlId);
  dial.setFixedSize(kDialSize);
  dial.RecalcLayout();
  dial.setValue(0);
  dial.SetZero(0);
  dial.SetKnobRadius(10);
  dial.SetDragEnabled(false);
  dial.SetKnobColor(QColor(255, 0, 0));
  dial.SetKnobDragColor(QColor(255, 0, 0));
  dial.SetInverted(false);
  dial.SetBackgroundBitmap(InstrumentResources::CompassRose());
  dial.SetRadius(105);
}

void ConfigureLampStrip(LampArray& lamps) {
  lamps.setObjectName(QStringLiteral("statusLamps"));
  lamps.setFixedSize(kLampStripSize);
  lamps.SetStyle(LampStripStyle());
  lamps.SetLampGrid(1, 5);
  const QString labels[] = {QStringLiteral("IMU"), QStringLiteral("千寻"),
                            QStringLiteral("GPS定位"), QStringLiteral("GPS航向"),
                            QStringLiteral("里程计")};
  for (int column = 0; column < 5; ++column) {
    lamps.SetLampLabel(column, labels[column]);
  }
  for (int lamp = 0; lamp < 5; ++lamp) {
    lamps.SetLampState(lamp, false);
  }
  lamps.RedrawLamps();
}

void Configure(CMeter& gauge, CRoundSliderCtrl& dial, LampArray& lamps) {
  ConfigureGauge(gauge);
  ConfigureDial(dial);
  ConfigureLampStrip(lamps);
}

}  // namespace MainWindowInstruments
