#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "map/CWebPage.h"
#include "map/TrackLog.h"

class CExplorer_map;
class QTimer;
class WindowServices;

namespace Ui {
class Navigate;
}

// "Navigate": the map window. It loads "geo.mth" from the working directory
// and, while marking, hands the unit's position to the page every 150 ms, so
// the page draws the track from the start position on. The window is
// non-modal on the GUI thread, so the main window stays usable beside it.
class Navigate : public QDialog {
  Q_OBJECT

 public:
  // One consistent longitude/latitude pair in degrees; false while there is
  // no sample yet.
  using PositionSource = std::function<bool(double& longitude, double& latitude)>;

  static constexpr int kMarkPeriodMs = 150;
  static constexpr const char* kPageFileName = "geo.mth";
  // Opens at a size that fits a 1366x768 laptop screen with the window's
  // frame and a desktop panel; grows from there as the user likes.
  static constexpr QSize kDefaultSize{1200, 660};
  static constexpr QSize kMinimumSize{600, 420};

  Navigate(WindowServices& services, PositionSource position, QWidget* parent = nullptr);
  ~Navigate() override;

  // The main window's "导航": opens the window, or raises it when it is
  // already open.
  void ShowOrRaise();

  bool IsMarking() const { return marking; }
  const CWebPage& Page() const { return page; }
  CExplorer_map& Browser();
  // What has been marked since "开始", as "保存轨迹" writes it.
  const TrackLog& Track() const { return m_track; }

  // Degrees as the page receives them: "%f" in any locale.
  static QString FormatDegrees(double value);

 signals:
  // The page finished loading (or failed to) after an opening.
  void PageReady(bool loaded);

 public slots:
  // Every way of closing ends here; marking stops with it.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Placed {
    QWidget* widget;
    QRect drawn;
  };

  void FitControls();
  void OpenPage();
  void OnDocumentReady(bool loaded);
  void OnTick();
  void StartMarking();
  void ClearMap();
  void MarkOnceForTest();
  void SaveTrack();
  // Formats the current position into the texts; false without a sample.
  bool TakePosition(double& longitude, double& latitude);
  // False when there was no page to take the start.
  bool MarkStart(double longitude, double latitude);

  std::unique_ptr<Ui::Navigate> m_ui;
  WindowServices& m_services;
  PositionSource m_position;
  CWebPage page;
  QString latitudeText;
  QString longitudeText;
  bool marking = false;
  // "开始" came before the first sample, or before the page had loaded; the
  // start is marked at the first tick that has both.
  bool m_startPending = false;
  TrackLog m_track;
  QTimer* m_markTimer;
  QSize m_drawnSize;
  Placed m_browserPlace{};
  std::vector<Placed> m_buttonPlaces;
};
