#pragma once

#include <QDialog>
#include <memory>

class CCWGraph;
class DeviceSession;
class QAbstractButton;

namespace Ui {
class CRealtimeCurveOther;
}

// "Other RealTime Curve": three stacked graphs for the magnetic field, the
// barometric height and the temperature. No frame of the unit carries
// these quantities, so while the window is open the session only checks
// the frames (nothing is decoded or drawn) and each graph says so. The
// check boxes switch graph 1's three plots.
class CRealtimeCurveOther : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kGraphCount = 3;
  static constexpr int kPlotCount = 3;
  static const char* const kPlotNames[kPlotCount];

  explicit CRealtimeCurveOther(DeviceSession& session, QWidget* parent = nullptr);
  ~CRealtimeCurveOther() override;

  // 0: magnetic field (1132), 1: barometric height (1133), 2: temperature (1140).
  CCWGraph& Graph(int index) const;
  // Check box 1153 + index: shows or hides graph 1's plot of that switch.
  void SetPlotSwitch(int index, bool on);

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Open();
  void Close();
  QAbstractButton* PlotCheck(int index) const;

  std::unique_ptr<Ui::CRealtimeCurveOther> m_ui;
  DeviceSession& m_session;
  bool m_open = false;
};
