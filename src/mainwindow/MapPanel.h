#pragma once

#include <memory>

class ControlMap;
class CPorotocalAnalyse;
class Navigate;
class QWidget;
class WindowServices;

// "导航": the map window beside the main window, fed with one position pair
// of the latest sample at a time.
// The browser behind it starts only when the window is first asked for.
class MapPanel {
 public:
  MapPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
           const CPorotocalAnalyse& analyser);
  ~MapPanel();

  void OnMapButton();
  Navigate& Window();

 private:
  QWidget& m_window;
  WindowServices& m_services;
  const CPorotocalAnalyse& m_analyser;
  std::unique_ptr<Navigate> m_navigate;
};
