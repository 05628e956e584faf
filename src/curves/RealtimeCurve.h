#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>

#include "curves/CurveGroup.h"
#include "curves/CurvePointFeed.h"

class CTChart;
class CTChartSeries;
class DeviceSession;
class QAbstractButton;
class QTimer;
class SampleHub;
class StretchingChart;
class WindowServices;

namespace Ui {
class RealtimeCurve;
}

// "RealTime Curve": three live curves of one quantity group (gyro rates,
// accelerations or attitude angles) against the frame count. Opening the
// window asks the device session, a second later, to send the frames to the
// curves; from then on the window takes the decoded samples from the
// sample hub in batches at its redraw rate, so the decoder never waits for
// it and a clear by a radio button or a check box is never crossed by an
// addition. Closing returns the session to the live display.
//
// Beyond the plain curves: pause (the frames are still counted, the view
// stays as it is), zoom and drag with the mouse, a view reset, the picture
// as PNG and the points as CSV.
class RealtimeCurve : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kSeriesCount = kCurvesPerGroup;
  static constexpr long kMaxPoints = long(CurvePointFeed::kWindow);
  static constexpr int kRedrawPeriodMs = 40;  // 25 redraws a second
  // The unit is given this long after the window opens before the frames
  // go to the curves.
  static constexpr int kModeSwitchDelayMs = 1000;

  RealtimeCurve(const SampleHub& samples, DeviceSession& session, WindowServices& services,
                QWidget* parent = nullptr);
  ~RealtimeCurve() override;

  CTChart& Chart() const;
  CTChartSeries& Series(int index) const { return *m_series[size_t(index)]; }
  CurveGroup Group() const { return m_group; }
  bool CurveSwitch(int index) const { return m_switches[size_t(index)]; }
  uint64_t PointCounter() const { return m_feed.PointCounter(); }
  uint64_t FramesMissed() const { return m_feed.Missed(); }
  // Frames counted but never drawn: more than a window of them came
  // between two redraws, and only the newest window can be shown.
  uint64_t FramesPassedOver() const { return m_feed.Skipped(); }
  // True while the window shows the curves: from the mode switch to closing.
  bool Plotting() const;
  bool ModeSwitchPending() const;
  bool Paused() const { return m_paused; }

  // What the controls do.
  void SelectGroup(CurveGroup group);
  void SetCurveSwitch(int index, bool on);
  void SetPaused(bool paused);
  void ResetView();
  void SaveImage();
  void ExportPoints();

  // One turn of the redraw timer: the samples since the last into the chart.
  void OnRedrawTick();

  void done(int result) override;

  static constexpr QRgb kPointColours[kSeriesCount] = {qRgb(255, 0, 0), qRgb(0, 255, 0),
                                                       qRgb(0, 0, 255)};

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Room left on the screen for the window manager's frame.
  static constexpr int kFrameAllowance = 8, kTitleAllowance = 40;

  void FitScreen();
  void Open();
  void Close();
  void EnterCurveMode();
  void ApplyPending();
  void ShowFrameCount();
  QAbstractButton* GroupRadio(CurveGroup group) const;
  QAbstractButton* CurveCheck(int index) const;

  std::unique_ptr<Ui::RealtimeCurve> m_ui;
  std::unique_ptr<StretchingChart> m_stretch;
  DeviceSession& m_session;
  WindowServices& m_services;
  CurvePointFeed m_feed;
  std::array<CTChartSeries*, kSeriesCount> m_series{};
  std::array<bool, kSeriesCount> m_switches{true, true, true};
  CurveGroup m_group = CurveGroup::Gyro;
  QTimer* m_modeSwitchTimer;
  QTimer* m_redrawTimer;
  bool m_open = false;
  bool m_paused = false;
  uint64_t m_shownCount = UINT64_MAX;
};
