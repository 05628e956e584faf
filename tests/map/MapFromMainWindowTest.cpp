// "导航" from the main window against the virtual unit: the map gets the
// unit's own position, one pair at a time, while the main window goes on
// answering.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <memory>

#include "mainwindow/ControlMap.h"
#include "mainwindow/MapPanel.h"
#include "mainwindow/TavrikDlgIds.h"
#include "map/CExplorer_map.h"
#include "map/Navigate.h"
#include "map/NavigateIds.h"
#include "protocol/SampleHub.h"
#include "tests/common/MainWindowFixture.h"
#include "tests/mainwindow/VirtualUnit.h"
#include "tests/map/PageScript.h"

namespace {

void CopyPageInto(const QString& to) {
  QDirIterator files(TAVRIK_MAP_TEST_PAGE_DIR, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString source = files.next();
    const QString target = to + '/' + QDir(TAVRIK_MAP_TEST_PAGE_DIR).relativeFilePath(source);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::copy(source, target);
  }
}

void Click(QWidget& parent, int id) {
  for (QPushButton* b : parent.findChildren<QPushButton*>()) {
    if (b->property("controlId").toInt() == id) {
      b->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << id;
}

// The texts the page got at its last call of the function, "lon, lat".
QString Arguments(const QVariantMap& state, const char* function) {
  return state.value("lastArguments").toMap().value(function).toStringList().join(", ");
}

// The unit on its line, the main window connected to it with the output
// started, and the map open with its page loaded.
class MapFromMainWindow : public ::testing::Test {
 protected:
  void Connect(const QStringList& unitOptions) {
    unit = std::make_unique<VirtualUnit>(unitOptions + QStringList{"--baud", "921600"});
    ASSERT_FALSE(unit->Device().isEmpty());
    CopyPageInto(QDir::currentPath());
    const ControlMap& c = f.window->Controls();
    c.As<QComboBox>(MainIds::kPortCombo)->setEditText(unit->Device());
    c.As<QComboBox>(MainIds::kBaudCombo)->setCurrentText("921600");
    Click(*f.window, MainIds::kOpenButton);
    ASSERT_EQ(c.Text(MainIds::kOpenButton), "关闭");
    Click(*f.window, MainIds::kStartOutputButton);
    ASSERT_TRUE(ProcessEventsUntil([&] { return f.window->Samples().LatestSequence() > 5; }));

    Click(*f.window, MainIds::kMapButton);
    map = &f.window->Map().Window();
    ASSERT_TRUE(map->isVisible());
    ASSERT_FALSE(map->isModal());
    ASSERT_TRUE(
        ProcessEventsUntil([&] { return map->Browser().Document() != nullptr; }, kPageDeadlineMs));
    page = map->Browser().Document();
  }

  void TearDown() override {
    if (map != nullptr) map->close();
    Click(*f.window, MainIds::kOpenButton);
  }

  QVariantMap State() { return PageState(page); }

  std::unique_ptr<VirtualUnit> unit;
  MainWindowFixture f;
  Navigate* map = nullptr;
  QWebEnginePage* page = nullptr;
};

TEST_F(MapFromMainWindow, StartSendsTheUnitsPositionAsTextsInOrder) {
  // The static frame's position is 116.3123456, 39.9123456: as "%f" gives it.
  const QString expected = "116.312346, 39.912346";
  ASSERT_NO_FATAL_FAILURE(Connect({"--static"}));
  Click(*map, NavigateIds::kStartButton);
  ASSERT_TRUE(WaitForPage(page, "geoState().calls.setStartMarkfun === 1"));
  QVariantMap state = State();
  EXPECT_EQ(Arguments(state, "setStartMarkfun"), expected);
  const QVariantMap start = state.value("start").toMap();
  EXPECT_DOUBLE_EQ(start.value("lon").toDouble(), 116.312346);
  EXPECT_DOUBLE_EQ(start.value("lat").toDouble(), 39.912346);

  ASSERT_TRUE(WaitForPage(page, "geoState().calls.justmarkfun >= 2"));
  EXPECT_EQ(Arguments(State(), "justmarkfun"), expected);

  Click(*map, NavigateIds::kClearButton);
  EXPECT_FALSE(map->IsMarking());
  ASSERT_TRUE(WaitForPage(page, "geoState().points === 0"));
}

TEST_F(MapFromMainWindow, TheMovingUnitsTrackGrowsWhileTheMainWindowAnswers) {
  // The unit stands still for its first seconds, then drives its loop.
  ASSERT_NO_FATAL_FAILURE(Connect({"--rate", "100"}));
  Click(*map, NavigateIds::kStartButton);
  ASSERT_TRUE(WaitForPage(page, "geoState().calls.setStartMarkfun === 1"));
  const QString start = Arguments(State(), "setStartMarkfun");
  // Under way: from here on the vehicle covers more than a "%f" step of
  // latitude or longitude between two marks.
  ASSERT_TRUE(WaitForPage(page, "geoState().distanceMetres > 5"));

  // Each new point is a new position, in the texts the page was sent.
  QString previous = Arguments(State(), "justmarkfun");
  int points = State().value("points").toInt();
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(WaitForPage(page, QString("geoState().points > %1").arg(points)));
    const QVariantMap state = State();
    const QString position = Arguments(state, "justmarkfun");
    EXPECT_NE(position, previous) << "point " << state.value("points").toInt();
    EXPECT_NE(position, start);
    previous = position;
    points = state.value("points").toInt();
  }
  EXPECT_EQ(Arguments(State(), "setStartMarkfun"), start) << "one start only";
  EXPECT_EQ(State().value("calls").toMap().value("setStartMarkfun").toInt(), 1);

  // The main window answers while the map marks: a command and its reply.
  Click(*f.window, MainIds::kStopOutputButton);
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return f.services.MessageTexts().contains("设置停止输出成功\n"); }));
  EXPECT_TRUE(map->IsMarking());

  Click(*map, NavigateIds::kClearButton);
  EXPECT_FALSE(map->IsMarking());
}

}  // namespace
