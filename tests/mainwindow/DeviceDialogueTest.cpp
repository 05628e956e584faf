// Configuring the virtual unit from the window, per device variant: every
// answer the unit gives is reported, and the odometer groups go to the unit
// and come back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "VirtualUnit.h"
#include "device/OdometerValueTexts.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/OdometerPanel.h"
#include "odometer/SetPosition.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"

namespace {

class DeviceDialogueTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    unit = std::make_unique<VirtualUnit>(QStringList{"--variant", GetParam(), "--rate", "50"});
    ASSERT_FALSE(unit->Device().isEmpty());
    config = std::string(GetParam()) + "\r\nx\r\n";
    f = std::make_unique<MainWindowFixture>(config.c_str());
    c().As<QComboBox>(1041)->setEditText(unit->Device());
    Click(1008);
    ASSERT_EQ(c().Text(1008), "关闭");
  }
  void TearDown() override {
    f.reset();
    unit.reset();
  }

  const ControlMap& c() const { return f->window->Controls(); }
  void Click(int id) { c().As<QPushButton>(id)->click(); }
  bool Reported(const QString& text) {
    return ProcessEventsUntil([&] { return f->services.MessageTexts().contains(text); });
  }
  bool IsKemRtk() const { return QString(GetParam()).compare("KemRTK", Qt::CaseInsensitive) == 0; }
  // Stops the output; a KDV1 unit then answers the status query that follows,
  // which must be in before the next command, as a person would wait for it.
  void StopOutput() {
    Click(1061);
    ASSERT_TRUE(Reported("设置停止输出成功\n"));
    if (QString(GetParam()) == "KDV1") {
      ASSERT_TRUE(
          ProcessEventsUntil([&] { return f->window->Session().Mode() == ReceiveMode::Live; }));
    }
  }

  std::unique_ptr<VirtualUnit> unit;
  std::string config;
  std::unique_ptr<MainWindowFixture> f;
};

TEST_P(DeviceDialogueTest, StopOutputIsConfirmed) {
  Click(1061);
  ASSERT_TRUE(Reported("设置停止输出成功\n")) << f->services.MessageTexts().join("|").toStdString();
  EXPECT_TRUE(c().Get(1060)->isEnabled());
  EXPECT_EQ(c().Get(1056)->isEnabled(), !IsKemRtk());
  if (QString(GetParam()) == "KDV1") {
    // The follow-up status query brings the window back to live frames.
    EXPECT_TRUE(
        ProcessEventsUntil([&] { return f->window->Session().Mode() == ReceiveMode::Live; }));
  }
}

TEST_P(DeviceDialogueTest, SettingsAndSerialNumberAreAnswered) {
  if (IsKemRtk()) GTEST_SKIP() << "the setting buttons are disabled for this variant";
  StopOutput();

  c().As<QComboBox>(1052)->setCurrentIndex(1);
  Click(1053);
  EXPECT_TRUE(Reported("设置波特率230400成功\n"));

  c().As<QComboBox>(1050)->setCurrentIndex(1);
  Click(1051);
  EXPECT_TRUE(Reported("设置帧格式2成功\n"));

  const bool v311 = QString(GetParam()) == "V3.11";
  c().As<QComboBox>(1083)->setCurrentIndex(v311 ? 2 : 3);
  Click(1084);
  EXPECT_TRUE(Reported(v311 ? "设置输出频率50HZ成功\n" : "设置输出频率600HZ成功\n"));

  c().As<QComboBox>(1063)->setCurrentIndex(2);
  Click(1075);
  EXPECT_TRUE(Reported("设置工作场景：船载，成功\n"));
  EXPECT_EQ(c().Text(1080), "船载");

  Click(1159);
  EXPECT_TRUE(Reported("产品的SN=TVK2024A0001\n"))
      << f->services.MessageTexts().join("|").toStdString();
}

TEST_P(DeviceDialogueTest, OdometerGroupsAreReadWrittenAndReadBack) {
  StopOutput();
  SetPosition& dialog = f->window->Odometer().Dialog();
  auto byId = [&](int id) -> QWidget* {
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
      if (w->property("controlId").toInt() == id) return w;
    }
    return nullptr;
  };
  auto click = [&](int id) {
    auto* b = qobject_cast<QPushButton*>(byId(id));
    ASSERT_TRUE(b && b->isEnabled()) << id;
    b->click();
  };
  // Waits for the unit's answer to land in the dialog's value texts.
  auto awaitValues = [&](const std::function<void()>& ask) {
    const OdometerValueTexts unset{"?", "?", "?"};
    dialog.SetValueTexts(unset);
    ask();
    EXPECT_TRUE(ProcessEventsUntil([&] { return dialog.ValueTexts().left != "?"; }))
        << "mode " << int(f->window->Session().Mode()) << " messages "
        << f->services.MessageTexts().join("|").toStdString();
    const OdometerValueTexts v = dialog.ValueTexts();
    return std::array<double, 3>{std::atof(v.left.c_str()), std::atof(v.middle.c_str()),
                                 std::atof(v.right.c_str())};
  };
  using Values = std::array<double, 3>;
  bool ran = false;
  f->services.SetModalHandler([&](QDialog& shown) {
    ran = true;
    shown.show();  // as the modal run would, which resets the dialog
    // LTC, LTG and KWS have buttons; ATB and ATG are read through the Send box.
    for (int group : {1152, 1153}) {
      click(group);
      EXPECT_EQ(awaitValues([&] { click(1147); }), (Values{0, 0, 0})) << group;
    }
    click(1154);
    EXPECT_EQ(awaitValues([&] { click(1147); }), (Values{1, 1, 1}));
    if (QString(GetParam()) == "KDV1") {
      QMetaObject::invokeMethod(dialog.findChild<QTimer*>("refreshTimer"), "timeout");
      QDir().mkpath(TAVRIK_SCREENSHOT_DIR);
      shown.grab().save(TAVRIK_SCREENSHOT_DIR "/odometer.png");
    }
    for (const char* line : {"*PA AUTO ODO RAD_ATB", "*PA AUTO ODO RAD_ATG"}) {
      EXPECT_EQ(awaitValues([&] {
                  c().SetText(1077, line);
                  Click(1039);
                }),
                (Values{0, 0, 0}))
          << line;
    }

    // Change LTC, write it, read it back from the unit.
    click(1152);
    qobject_cast<QLineEdit*>(byId(1018))->setText("1.5");
    qobject_cast<QLineEdit*>(byId(1028))->setText("-0.25");
    qobject_cast<QLineEdit*>(byId(1006))->setText("12");
    click(1146);
    EXPECT_TRUE(Reported("设置SET_LTC成功！\n"));
    EXPECT_EQ(awaitValues([&] { click(1147); }), (Values{1.5, -0.25, 12}));
    shown.hide();
    return kResultOk;
  });
  Click(1082);
  EXPECT_TRUE(ran) << f->services.MessageTexts().join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Variants, DeviceDialogueTest, ::testing::Values("KDV1", "V3.11", "KemRTK"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
                           return name;
                         });

}  // namespace
