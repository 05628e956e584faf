// The odometer parameter dialog on screen: opening, group buttons, reading,
// writing and the refresh that shows the unit's values.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <set>

#include "FakeOdometerPort.h"
#include "device/OdometerValueTexts.h"
#include "odometer/SetPosition.h"
#include "services/ScriptedWindowServices.h"

namespace {

using Strings = std::vector<std::string>;

class SetPositionTest : public ::testing::Test {
 protected:
  // The scripted modal run shows the dialog and returns at once, so the test
  // works the open dialog from outside.
  void SetUp() override {
    services.SetModalHandler([](QDialog& shown) {
      shown.show();
      return kResultOk;
    });
  }
  void TearDown() override { dialog.hide(); }

  template <typename Widget>
  Widget* Control(int id) {
    for (Widget* widget : dialog.findChildren<Widget*>()) {
      if (widget->property("controlId").toInt() == id) return widget;
    }
    ADD_FAILURE() << "no control " << id;
    return nullptr;
  }
  QPushButton* Button(int id) { return Control<QPushButton>(id); }
  QLineEdit* Edit(int id) { return Control<QLineEdit>(id); }
  QString Tip() { return Control<QLabel>(1160)->text(); }

  void Open() {
    dialog.OpenFromMainWindow();
    ASSERT_TRUE(dialog.isVisible());
  }
  QStringList Messages() { return services.MessageTexts(); }
  QTimer* RefreshTimer() { return dialog.findChild<QTimer*>("refreshTimer"); }
  // One period of the refresh timer, without waiting for it.
  void Tick() { ASSERT_TRUE(QMetaObject::invokeMethod(RefreshTimer(), "timeout")); }
  void Write(int groupButton, const QString& left, const QString& middle, const QString& right) {
    Button(groupButton)->click();
    Edit(1018)->setText(left);
    Edit(1028)->setText(middle);
    Edit(1006)->setText(right);
    Button(1146)->click();
  }
  void ExpectFreshlyOpened() {
    EXPECT_EQ(Edit(1018)->text(), "0.0");
    EXPECT_EQ(Edit(1028)->text(), "0.0");
    EXPECT_EQ(Edit(1006)->text(), "0.0");
    EXPECT_EQ(Tip(), "ATB");
    EXPECT_FALSE(Button(1146)->isEnabled());
    EXPECT_FALSE(Button(1147)->isEnabled());
    for (int id : {1152, 1153, 1154}) EXPECT_TRUE(Button(id)->isEnabled()) << id;
    EXPECT_TRUE(Button(1129)->isHidden());
    EXPECT_TRUE(Button(1131)->isHidden());
  }

  FakeOdometerPort port;
  ScriptedWindowServices services;
  SetPosition dialog{port, services};
};

TEST_F(SetPositionTest, EveryControlCarriesItsTemplateNumber) {
  std::set<int> ids;
  for (QWidget* widget : dialog.findChildren<QWidget*>()) {
    const QVariant id = widget->property("controlId");
    if (id.isValid()) ids.insert(id.toInt());
  }
  EXPECT_EQ(ids,
            (std::set<int>{1, 1006, 1018, 1028, 1129, 1131, 1146, 1147, 1152, 1153, 1154, 1160}));
  EXPECT_EQ(dialog.property("controlId").toInt(), 141);
  EXPECT_EQ(dialog.windowTitle(), "参数设置");
}

TEST_F(SetPositionTest, SignedGroupsWriteSignAndThreeDecimals) {
  Open();
  Write(1152, "1.5", "-0.25", "12");
  Write(1152, "0", "0", "0");
  EXPECT_EQ(port.writes, (Strings{"*PA AUTO ODO SET_LTC +01.500 -00.250 +12.000\r\n",
                                  "*PA AUTO ODO SET_LTC +00.000 +00.000 +00.000\r\n"}));
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SetPositionTest, KwsWritesWithoutSignsAndRefusesANegativeValue) {
  Open();
  Write(1154, "1.5", "2", "300");
  EXPECT_EQ(port.writes, Strings{"*PA AUTO ODO SET_KWS 001.500 002.000 300.000\r\n"});
  Write(1154, "-1.5", "2", "300");
  EXPECT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(Messages(), QStringList{"参数“-1.5”不能为负数，未写入！\n"});
  // The signed groups still take negative values.
  Write(1152, "-1.5", "2", "300");
  EXPECT_EQ(port.writes.back(), "*PA AUTO ODO SET_LTC -01.500 +02.000 +300.000\r\n");
}

TEST_F(SetPositionTest, ATextThatIsNoNumberIsRefusedAndNothingSent) {
  Open();
  Write(1153, "0", "abc", "1");
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(Messages(), QStringList{"参数“abc”不是有效的数值，未写入！\n"});
  EXPECT_EQ(services.Messages().at(0).caption, "Tavrik");
}

TEST_F(SetPositionTest, OpeningNeedsAnOpenPortAndRoutesRepliesToTheInterpreter) {
  port.portOpen = false;
  dialog.OpenFromMainWindow();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(Messages(), QStringList{"先打开串口在进行其他操作！！"});
  EXPECT_TRUE(port.modes.empty());

  port.portOpen = true;
  Open();
  EXPECT_EQ(port.modes, std::vector<ReceiveMode>{ReceiveMode::Command});
}

TEST_F(SetPositionTest, OpeningTwiceResetsTextsAndButtons) {
  Open();
  ExpectFreshlyOpened();
  QTimer* timer = RefreshTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 1000);

  Button(1153)->click();
  dialog.SetValueTexts({"+01.000 ", "+02.000 ", "+03.000\r"});
  Tick();
  Edit(1018)->setText("5");
  Button(1)->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(dialog.ValueTexts().left, "5");  // "退出" keeps what the controls show

  Open();
  ExpectFreshlyOpened();
  EXPECT_EQ(dialog.CurrentGroup(), "ATB");
}

TEST_F(SetPositionTest, GroupButtonsSwitchTheGroupAndEnableTheActions) {
  Open();
  Button(1152)->click();
  EXPECT_FALSE(Button(1152)->isEnabled());
  for (int id : {1153, 1154, 1129, 1131}) EXPECT_TRUE(Button(id)->isEnabled()) << id;
  EXPECT_TRUE(Button(1146)->isEnabled());
  EXPECT_TRUE(Button(1147)->isEnabled());
  EXPECT_EQ(dialog.CurrentGroup(), "LTC");

  Button(1154)->click();
  EXPECT_TRUE(Button(1152)->isEnabled());
  EXPECT_FALSE(Button(1154)->isEnabled());
  EXPECT_EQ(dialog.CurrentGroup(), "KWS");
  // The tip names the chosen group at once.
  EXPECT_EQ(Tip(), "KWS");
}

TEST_F(SetPositionTest, ReadAsksForTheGroupAndTheRefreshShowsTheAnswer) {
  Open();
  Button(1153)->click();
  Button(1147)->click();
  EXPECT_EQ(port.writes, Strings{"*PA AUTO ODO RAD_LTG\r\n"});

  // What the reply interpreter hands over for the unit's value line.
  dialog.SetValueTexts({"+01.234 ", "+02.345 ", "-00.123\r"});
  EXPECT_EQ(Edit(1018)->text(), "0.0");  // not before the refresh
  Tick();
  EXPECT_EQ(Edit(1018)->text(), "+01.234 ");
  EXPECT_EQ(Edit(1028)->text(), "+02.345 ");
  EXPECT_EQ(Edit(1006)->text().toStdString(), "-00.123\r");
  EXPECT_EQ(Tip(), "LTG");

  // Unchanged values leave the user's typing alone.
  Edit(1018)->setText("7");
  Tick();
  EXPECT_EQ(Edit(1018)->text(), "7");
}

TEST_F(SetPositionTest, APortClosedMeanwhileMakesReadAndWriteSilent) {
  Open();
  port.portOpen = false;
  Button(1152)->click();
  Button(1147)->click();
  Write(1153, "1", "2", "3");
  EXPECT_TRUE(port.writes.empty());
  EXPECT_TRUE(Messages().isEmpty());
}

}  // namespace
