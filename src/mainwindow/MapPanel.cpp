#include "mainwindow/MapPanel.h"

#include <QPushButton>

#include "mainwindow/ControlMap.h"
#include "mainwindow/TavrikDlgIds.h"
#include "map/Navigate.h"
#include "protocol/PorotocalAnalyse.h"

MapPanel::MapPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                   const CPorotocalAnalyse& analyser)
    : m_window(window), m_services(services), m_analyser(analyser) {
  if (auto* button = controls.As<QPushButton>(MainIds::kMapButton)) {
    QObject::connect(button, &QPushButton::clicked, &window, [this] { OnMapButton(); });
  }
}

MapPanel::~MapPanel() = default;

Navigate& MapPanel::Window() {
  if (!m_navigate) {
    auto position = [this](double& longitude, double& latitude) {
      NavSample sample;
      if (!m_analyser.Snapshot(sample)) return false;
      longitude = sample.longitude;
      latitude = sample.latitude;
      return true;
    };
    m_navigate = std::make_unique<Navigate>(m_services, position, &m_window);
  }
  return *m_navigate;
}

void MapPanel::OnMapButton() {
  Window().ShowOrRaise();
}
