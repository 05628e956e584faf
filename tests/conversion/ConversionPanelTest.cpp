// The main window's "转换格式" button: the dialog opens only with the port
// closed.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QWidget>

#include "mainwindow/ControlMap.h"
#include "mainwindow/ConversionPanel.h"
#include "mainwindow/FilesFormatConvert.h"
#include "mainwindow/TavrikDlgIds.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "services/ScriptedWindowServices.h"

namespace {

class ConversionPanelTest : public ::testing::Test {
 protected:
  ConversionPanelTest() {
    button->setProperty("controlId", MainIds::kConvertButton);
    controls = std::make_unique<ControlMap>(window);
    panel = std::make_unique<ConversionPanel>(
        window, *controls, services, [this] { return portOpen; }, live);
    services.SetModalHandler([this](QDialog& shown) {
      shown.show();
      shownDialogs.push_back(&shown);
      return kResultOk;
    });
  }
  ~ConversionPanelTest() override { panel.reset(); }

  QWidget window;
  QPushButton* button = new QPushButton(&window);
  CPorotocalRtkAnalyse live;
  ScriptedWindowServices services;
  std::unique_ptr<ControlMap> controls;
  bool portOpen = false;
  std::vector<QDialog*> shownDialogs;
  std::unique_ptr<ConversionPanel> panel;
};

TEST_F(ConversionPanelTest, AnOpenPortKeepsTheDialogClosed) {
  portOpen = true;
  button->click();
  EXPECT_EQ(services.MessageTexts(), QStringList{QString::fromUtf8("请关闭串口，再转换数据")});
  EXPECT_TRUE(shownDialogs.empty());
  EXPECT_FALSE(panel->Dialog().isVisible());
}

TEST_F(ConversionPanelTest, WithThePortClosedTheDialogOpensOverTheWindow) {
  button->click();
  ASSERT_EQ(shownDialogs.size(), 1u);
  EXPECT_EQ(shownDialogs[0], &panel->Dialog());
  EXPECT_EQ(panel->Dialog().parentWidget(), &window);
  EXPECT_EQ(panel->Dialog().property("controlId").toInt(), 147);
  EXPECT_TRUE(services.MessageTexts().isEmpty());

  // Shown again after a choice, it starts unchecked.
  panel->Dialog().findChildren<QCheckBox*>().front()->setChecked(true);
  panel->Dialog().hide();
  button->click();
  ASSERT_EQ(shownDialogs.size(), 2u);
  for (QCheckBox* box : panel->Dialog().findChildren<QCheckBox*>()) EXPECT_FALSE(box->isChecked());
  panel->Dialog().hide();
}

}  // namespace
