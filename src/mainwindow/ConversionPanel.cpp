#include "mainwindow/ConversionPanel.h"

#include <QPushButton>

#include "mainwindow/ControlMap.h"
#include "mainwindow/FilesFormatConvert.h"
#include "mainwindow/TavrikDlgIds.h"
#include "services/WindowServices.h"

ConversionPanel::ConversionPanel(QWidget& window, const ControlMap& controls,
                                 WindowServices& services, std::function<bool()> portOpen,
                                 const CPorotocalAnalyse& liveAnalyser,
                                 std::function<std::string()> recordingPath)
    : m_window(window),
      m_services(services),
      m_portOpen(std::move(portOpen)),
      m_dialog(std::make_unique<FilesFormatConvert>(services, liveAnalyser,
                                                    std::move(recordingPath), &window)) {
  if (auto* button = controls.As<QPushButton>(MainIds::kConvertButton)) {
    QObject::connect(button, &QPushButton::clicked, m_dialog.get(), [this] { OnConvertFormat(); });
  }
}

ConversionPanel::~ConversionPanel() = default;

void ConversionPanel::OnConvertFormat() {
  if (m_portOpen && m_portOpen()) {
    m_services.MessageBox(&m_window, QStringLiteral("请关闭串口，再转换数据"));
    return;
  }
  m_dialog->ShowModal();
}
