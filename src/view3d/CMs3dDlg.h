#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "services/WindowServices.h"
#include "view3d/GLScene.h"

class Ms3dView;
class QTimer;

namespace Ui {
class CMs3dDlg;
}

// "3D显示": the aircraft model turned by the unit's attitude, with the three
// angles printed along the top edge and in the picture's lower right corner.
// Every 150 ms while the window is open it takes one sample from the
// attitude source and draws one frame. The scene's context, model and
// texture objects are made when the window opens and released when it
// closes, so every opening starts afresh.
class CMs3dDlg : public QDialog {
  Q_OBJECT

 public:
  // Fills pitch, roll and yaw in degrees from one consistent sample; false
  // while there is none yet, and the last angles stay.
  using AttitudeSource = std::function<bool(double& pitch, double& roll, double& yaw)>;

  static constexpr int kTimerPeriodMs = 150;
  static constexpr int kTextTop = 0;
  static constexpr int kPitchTextX = 90;
  static constexpr int kRollTextX = 205;
  static constexpr int kYawTextX = 325;

  CMs3dDlg(WindowServices& services, AttitudeSource source, QWidget* parent = nullptr);
  ~CMs3dDlg() override;

  GLScene& scene() { return m_scene; }
  // The view of the current opening (a fresh one waits while closed).
  Ms3dView* view() const { return m_view; }
  // The widget that holds the view inside the picture control.
  QWidget* viewHost() const { return m_viewHost; }
  // "Pitch:..", "Roll:..", "Yaw:..", as last printed.
  QStringList overlayTexts() const { return m_texts; }
  // Where a text of the top row starts, in the window's pixels.
  static QPoint textOrigin(int index);

 public slots:
  // One tick: the latest angles into the scene, a frame, the texts.
  void OnTimer();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct PendingMessage {
    QString text;
    QString caption;
    MessageIcon icon;
  };

  void createView();
  void releaseView();
  void onSceneInitialised(int result);
  void queueMessage(const QString& text, const QString& caption, MessageIcon icon);
  void showQueuedMessages();
  void checkContext();

  std::unique_ptr<Ui::CMs3dDlg> m_ui;
  WindowServices& m_services;
  AttitudeSource m_source;
  GLScene m_scene;
  Ms3dView* m_view = nullptr;
  QWidget* m_viewHost = nullptr;
  QTimer* m_timer;
  QStringList m_texts;
  float m_givenYaw = 0;  // the scene's yaw negated back, without turning 0 into -0
  std::vector<PendingMessage> m_pending;
  bool m_contextReported = false;
  bool m_sceneInitialised = false;
};
