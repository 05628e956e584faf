#include "mainwindow/UpdatePanel.h"

#include <QLabel>

#include "services/WindowServices.h"
#include "update/UpdateLogCategory.h"
#include "update/UpdateManager.h"

UpdatePanel::UpdatePanel(WindowServices& services, QLabel* statusLine)
    : m_services(services), m_statusLine(statusLine), m_manager(std::make_unique<UpdateManager>()) {
  m_manager->setLogSink(updateLogCategorySink());
  m_manager->setUpdatedFilesCallback(
      [this](const std::vector<std::string>&, const std::string& statusLine) {
        ShowUpdatedFiles(QString::fromStdString(statusLine));
      });
}

UpdatePanel::~UpdatePanel() = default;

void UpdatePanel::Start() {
  m_manager->start();
}

void UpdatePanel::StopForOutput() {
  m_manager->stop();
}

void UpdatePanel::StopAtClose() {
  m_manager->stop(UpdateManager::StopMode::AbortRunning);
}

void UpdatePanel::ShowUpdatedFiles(const QString& statusLine) {
  m_services.PostToGui(
      [this, statusLine] {
        if (m_statusLine) m_statusLine->setText(statusLine);
      },
      &m_context);
}
