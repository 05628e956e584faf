#pragma once

#include <functional>
#include <memory>
#include <string>

class ControlMap;
class CPorotocalAnalyse;
class FilesFormatConvert;
class QWidget;
class WindowServices;

// "转换格式": opens the conversion dialog, but only while no port is open, so
// a conversion is never started beside live data.
class ConversionPanel {
 public:
  // portOpen tells whether the window has a port open; liveAnalyser is read
  // only for its configuration lines; recordingPath names the file being
  // recorded (empty when none).
  ConversionPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                  std::function<bool()> portOpen, const CPorotocalAnalyse& liveAnalyser,
                  std::function<std::string()> recordingPath = {});
  ~ConversionPanel();

  void OnConvertFormat();
  FilesFormatConvert& Dialog() { return *m_dialog; }

 private:
  QWidget& m_window;
  WindowServices& m_services;
  std::function<bool()> m_portOpen;
  std::unique_ptr<FilesFormatConvert> m_dialog;
};
