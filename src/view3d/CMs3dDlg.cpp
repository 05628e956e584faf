#include "view3d/CMs3dDlg.h"

#include <QHideEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "ui_CMs3dDlg.h"
#include "view3d/Ms3dView.h"
#include "view3d/OverlayFont.h"
#include "view3d/View3dTexts.h"
#include "view3d/model/AttitudeText.h"

namespace {

const char* const kLoadFailed = "加载3D模型失败！";
const char* const kLoadFailedCaption = "Error";

}  // namespace

CMs3dDlg::CMs3dDlg(WindowServices& services, AttitudeSource source, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CMs3dDlg>()),
      m_services(services),
      m_source(std::move(source)),
      m_timer(new QTimer(this)) {
  m_ui->setupUi(this);
  setFixedSize(size());
  auto* layout = new QVBoxLayout(m_ui->pictureHost);
  layout->setContentsMargins(0, 0, 0, 0);
  m_scene.setMessageSink([this](const QString& text, const QString& caption, MessageIcon icon) {
    queueMessage(text, caption, icon);
  });
  createView();

  m_timer->setObjectName(QStringLiteral("frameTimer"));
  m_timer->setInterval(kTimerPeriodMs);
  connect(m_timer, &QTimer::timeout, this, &CMs3dDlg::OnTimer);
}

CMs3dDlg::~CMs3dDlg() {
  m_timer->stop();
  // The container takes its view along, which releases the scene's GL
  // objects while the scene still exists.
  delete m_viewHost;
  m_view = nullptr;
}

QPoint CMs3dDlg::textOrigin(int index) {
  static constexpr int kX[] = {kPitchTextX, kRollTextX, kYawTextX};
  return {kX[index], kTextTop};
}

void CMs3dDlg::createView() {
  m_view = new Ms3dView(m_scene);
  m_viewHost = QWidget::createWindowContainer(m_view, m_ui->pictureHost);
  m_viewHost->setObjectName(QStringLiteral("ms3dViewHost"));
  m_viewHost->setFocusPolicy(Qt::NoFocus);
  m_ui->pictureHost->layout()->addWidget(m_viewHost);
  connect(m_view, &Ms3dView::sceneInitialised, this, &CMs3dDlg::onSceneInitialised);
  m_sceneInitialised = false;
  m_contextReported = false;
}

// A closed window keeps no context: the view goes with its GL objects, and
// a fresh one, without a context until it is shown, waits for the next
// opening.
void CMs3dDlg::releaseView() {
  delete m_viewHost;
  m_view = nullptr;
  createView();
}

void CMs3dDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_timer->start();
}

void CMs3dDlg::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // A minimised window comes back as it was; only closing ends the opening.
  if (event->spontaneous()) return;
  m_timer->stop();
  releaseView();
}

void CMs3dDlg::onSceneInitialised(int result) {
  m_sceneInitialised = true;
  if (result == 0)
    queueMessage(QString::fromUtf8(kLoadFailed), kLoadFailedCaption, MessageIcon::Stop);
}

// Messages raised while the view sets up its context are shown from the
// event loop afterwards, never from inside the GL set-up.
void CMs3dDlg::queueMessage(const QString& text, const QString& caption, MessageIcon icon) {
  m_pending.push_back({text, caption, icon});
  if (m_pending.size() == 1) {
    QTimer::singleShot(0, this, &CMs3dDlg::showQueuedMessages);
  }
}

void CMs3dDlg::showQueuedMessages() {
  std::vector<PendingMessage> messages;
  messages.swap(m_pending);
  for (const PendingMessage& message : messages) {
    m_services.MessageBox(this, message.text, message.caption, MessageButtons::Ok, message.icon);
  }
}

// A view that is on screen but never got its context could not be given
// any pixel format.
void CMs3dDlg::checkContext() {
  if (m_sceneInitialised || m_contextReported || m_view == nullptr || !m_view->isVisible()) return;
  if (m_view->context() == nullptr || !m_view->context()->isValid()) {
    m_contextReported = true;
    queueMessage(QString::fromUtf8(View3dTexts::kChooseFormatFailed), {}, MessageIcon::None);
  }
}

void CMs3dDlg::OnTimer() {
  checkContext();
  double pitch = 0, roll = 0, yaw = 0;
  if (m_source && m_source(pitch, roll, yaw)) {
    m_scene.pitch = static_cast<float>(pitch);
    m_scene.roll = static_cast<float>(-roll);
    m_scene.yaw = static_cast<float>(-yaw);
    m_givenYaw = static_cast<float>(yaw);
  }
  // Roll is printed as the model turns by it; yaw as the unit gives it.
  m_texts = {QString::fromStdString(AttitudeText::format("Pitch", m_scene.pitch)),
             QString::fromStdString(AttitudeText::format("Roll", m_scene.roll)),
             QString::fromStdString(AttitudeText::format("Yaw", m_givenYaw))};
  if (m_view != nullptr) {
    m_view->setCornerTexts(m_texts);
    m_view->update();
  }
  update(QRect(0, 0, width(), OverlayFont::kCellHeight));
}

void CMs3dDlg::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (m_texts.isEmpty()) return;
  QPainter painter(this);
  OverlayFont::prepare(painter);
  for (int i = 0; i < m_texts.size(); ++i) OverlayFont::draw(painter, textOrigin(i), m_texts[i]);
}
