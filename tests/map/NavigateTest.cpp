// The map window on screen with a position source standing in for the unit:
// opening, "开始", the 150 ms marking, "清除", closing, "TEST", a broken or
// missing page, "保存轨迹", and a screenshot with a track.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <clocale>
#include <cmath>
#include <memory>

#include "map/CExplorer_map.h"
#include "map/Navigate.h"
#include "map/NavigateIds.h"
#include "services/ScriptedWindowServices.h"
#include "tests/map/PageScript.h"

namespace {

using namespace NavigateIds;

// The unit's position as the hub would give it; each reading moves the
// vehicle on by one step.
struct FakeUnit {
  bool hasSample = true;
  double longitude = 116.3;
  double latitude = 39.9;
  double stepLongitude = 0;
  double stepLatitude = 0;
  double waveAmplitude = 0;  // a winding road: latitude swings to both sides
  int readings = 0;

  bool Read(double& lon, double& lat) {
    if (!hasSample) return false;
    lon = longitude;
    lat = latitude + waveAmplitude * std::sin(readings / 9.0);
    ++readings;
    longitude += stepLongitude;
    latitude += stepLatitude;
    return true;
  }
};

const char* kPageWithoutClear = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"></head><body><script>
var marks = { start: 0, just: 0, lastArguments: null };
function setStartMarkfun(lon, lat) { marks.start++; marks.lastArguments = [lon, lat]; }
function justmarkfun(lon, lat) { marks.just++; marks.lastArguments = [lon, lat]; }
</script></body></html>
)";

void CopyFolder(const QString& from, const QString& to) {
  QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString source = files.next();
    const QString target = to + '/' + QDir(from).relativeFilePath(source);
    QDir().mkpath(QFileInfo(target).absolutePath());
    ASSERT_TRUE(QFile::copy(source, target)) << target.toStdString();
  }
}

class NavigateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
  }
  void TearDown() override {
    window.reset();
    QDir::setCurrent(previousFolder);
  }

  void UseOurPage() { CopyFolder(TAVRIK_MAP_TEST_PAGE_DIR, folder.path()); }
  void UsePage(const char* html) {
    QFile file(folder.filePath(Navigate::kPageFileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(html);
  }

  void CreateWindow() {
    if (window) return;
    window = std::make_unique<Navigate>(
        services, [this](double& lon, double& lat) { return unit.Read(lon, lat); });
    QObject::connect(window->findChild<QTimer*>("markTimer"), &QTimer::timeout,
                     [this] { ++ticks; });
  }

  // Opens the window and waits until the page has loaded or failed to.
  bool Open() {
    CreateWindow();
    bool ready = false;
    bool loaded = false;
    const auto connection = QObject::connect(window.get(), &Navigate::PageReady, [&](bool ok) {
      ready = true;
      loaded = ok;
    });
    window->ShowOrRaise();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ProcessEventsUntil([&] { return ready; }, kPageDeadlineMs));
    QObject::disconnect(connection);
    return loaded;
  }

  QPushButton* Button(int id) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
      if (button->property("controlId").toInt() == id) return button;
    }
    ADD_FAILURE() << "no button " << id;
    return nullptr;
  }
  void Click(int id) { Button(id)->click(); }

  QWebEnginePage* Doc() { return window->Browser().Document(); }
  QVariantMap State() { return PageState(Doc()); }
  int Marks() { return State().value("calls").toMap().value("justmarkfun").toInt(); }

  // Lets the window's timer run the given number of times.
  bool WaitTicks(int count) {
    const int target = ticks + count;
    return ProcessEventsUntil([&] { return ticks >= target; }, kPageDeadlineMs);
  }

  bool WaitForTrack(int points) {
    return WaitForPage(Doc(), QString("geoState().points >= %1").arg(points));
  }

  QTemporaryDir folder;
  QString previousFolder;
  ScriptedWindowServices services;
  FakeUnit unit;
  int ticks = 0;
  std::unique_ptr<Navigate> window;
};

TEST_F(NavigateTest, WindowOfTemplate145) {
  UseOurPage();
  ASSERT_TRUE(Open());
  EXPECT_EQ(window->windowTitle(), "Navigate");
  EXPECT_EQ(window->property("controlId").toInt(), kTemplate);
  EXPECT_EQ(Button(kStartButton)->text(), QString::fromUtf8("开始"));
  EXPECT_EQ(Button(kClearButton)->text(), QString::fromUtf8("清除"));
  EXPECT_EQ(Button(kExitButton)->text(), QString::fromUtf8("退出"));
  EXPECT_TRUE(Button(kExitButton)->isDefault());
  EXPECT_EQ(Button(kSaveTrackButton)->text(), QString::fromUtf8("保存轨迹"));
  EXPECT_EQ(Button(kTestButton)->text(), "TEST");
  EXPECT_FALSE(Button(kTestButton)->isVisible());
  EXPECT_EQ(window->Browser().property("controlId").toInt(), kBrowser);
  EXPECT_TRUE(window->Browser().isVisible());
  EXPECT_EQ(window->findChild<QTimer*>("markTimer")->interval(), Navigate::kMarkPeriodMs);
}

TEST_F(NavigateTest, StaysNonModalAndRaisesInsteadOfOpeningAgain) {
  UseOurPage();
  QWidget mainWindow;
  mainWindow.show();
  ASSERT_TRUE(Open());
  EXPECT_FALSE(window->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(mainWindow.isEnabled());

  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(1));
  unit.stepLongitude = 0.0001;
  ASSERT_TRUE(WaitForTrack(3));
  // "导航" again: the same window, the same page, still marking.
  const QUrl page = window->Browser().url();
  window->ShowOrRaise();
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->IsMarking());
  EXPECT_EQ(window->Browser().url(), page);
  ASSERT_TRUE(WaitForTrack(5));
  EXPECT_EQ(State().value("calls").toMap().value("setStartMarkfun").toInt(), 1);
  int shown = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<Navigate*>(top) && top->isVisible()) ++shown;
  }
  EXPECT_EQ(shown, 1);
}

TEST_F(NavigateTest, StartSendsTheFormattedPositionInOrderThenTheTrackGrows) {
  UseOurPage();
  ASSERT_TRUE(Open());
  EXPECT_FALSE(window->IsMarking());
  ASSERT_TRUE(WaitTicks(3));
  EXPECT_EQ(Marks(), 0) << "no marks before 开始";

  Click(kStartButton);
  EXPECT_TRUE(window->IsMarking());
  ASSERT_TRUE(WaitForPage(Doc(), "geoState().calls.setStartMarkfun === 1"));
  QVariantMap state = State();
  EXPECT_EQ(state.value("lastArguments").toMap().value("setStartMarkfun").toStringList(),
            (QStringList{"116.300000", "39.900000"}));
  const QVariantMap start = state.value("start").toMap();
  EXPECT_DOUBLE_EQ(start.value("lon").toDouble(), 116.3);
  EXPECT_DOUBLE_EQ(start.value("lat").toDouble(), 39.9);

  // A moving unit: every tick adds the position read at that tick.
  unit.stepLongitude = 0.00002;
  unit.stepLatitude = -0.00001;
  ASSERT_TRUE(WaitForTrack(12));
  ASSERT_TRUE(WaitTicks(2));
  state = State();
  const int points = state.value("points").toInt();
  const int readings = unit.readings;
  EXPECT_EQ(points, readings);
  const QStringList last = state.value("lastArguments").toMap().value("justmarkfun").toStringList();
  ASSERT_EQ(last.size(), 2);
  EXPECT_EQ(last[0], Navigate::FormatDegrees(unit.longitude - unit.stepLongitude));
  EXPECT_EQ(last[1], Navigate::FormatDegrees(unit.latitude - unit.stepLatitude));
  EXPECT_EQ(window->Track().Points().size(), static_cast<size_t>(points));
  EXPECT_TRUE(window->Page().lastError().isEmpty()) << window->Page().lastError().toStdString();
}

TEST_F(NavigateTest, NegativeCoordinatesCarryALeadingMinus) {
  UseOurPage();
  unit.longitude = -70.6;
  unit.latitude = -33.87;
  ASSERT_TRUE(Open());
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(2));
  const QVariantMap received = State().value("lastArguments").toMap();
  EXPECT_EQ(received.value("setStartMarkfun").toStringList(),
            (QStringList{"-70.600000", "-33.870000"}));
  EXPECT_EQ(received.value("justmarkfun").toStringList(),
            (QStringList{"-70.600000", "-33.870000"}));
}

TEST_F(NavigateTest, FormattingIgnoresTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const QLocale savedLocale;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(Navigate::FormatDegrees(116.3), "116.300000");
  EXPECT_EQ(Navigate::FormatDegrees(-33.87), "-33.870000");
  EXPECT_EQ(Navigate::FormatDegrees(0.0000004), "0.000000");
  EXPECT_EQ(Navigate::FormatDegrees(179.9999996), "180.000000");
  std::setlocale(LC_NUMERIC, saved.c_str());
  QLocale::setDefault(savedLocale);
}

TEST_F(NavigateTest, StartBeforeTheFirstSampleStartsAtTheFirstSample) {
  UseOurPage();
  unit.hasSample = false;
  ASSERT_TRUE(Open());
  Click(kStartButton);
  EXPECT_TRUE(window->IsMarking());
  ASSERT_TRUE(WaitTicks(3));
  EXPECT_EQ(State().value("calls").toMap().value("setStartMarkfun").toInt(), 0);
  EXPECT_EQ(Marks(), 0);

  unit.hasSample = true;
  unit.longitude = 121.5;
  unit.latitude = 31.2;
  ASSERT_TRUE(WaitForPage(Doc(), "geoState().calls.setStartMarkfun === 1"));
  const QVariantMap start = State().value("start").toMap();
  EXPECT_DOUBLE_EQ(start.value("lon").toDouble(), 121.5);
  EXPECT_DOUBLE_EQ(start.value("lat").toDouble(), 31.2);
  ASSERT_TRUE(WaitForTrack(3));
}

TEST_F(NavigateTest, StartPressedWhileThePageLoadsIsMarkedOnceItHasLoaded) {
  UseOurPage();
  CreateWindow();
  window->ShowOrRaise();
  ASSERT_EQ(Doc(), nullptr) << "the page loads in the background";
  Click(kStartButton);
  EXPECT_TRUE(window->IsMarking());
  // Refused at once, as every call without a page is.
  EXPECT_EQ(window->Page().lastError(), "Cannot GetScript");

  ASSERT_TRUE(ProcessEventsUntil([&] { return Doc() != nullptr; }, kPageDeadlineMs));
  ASSERT_TRUE(WaitForTrack(4));
  const QVariantMap state = State();
  EXPECT_EQ(state.value("calls").toMap().value("setStartMarkfun").toInt(), 1);
  EXPECT_EQ(state.value("lastArguments").toMap().value("setStartMarkfun").toStringList(),
            (QStringList{"116.300000", "39.900000"}));
  const QVariantMap start = state.value("start").toMap();
  EXPECT_DOUBLE_EQ(start.value("lon").toDouble(), 116.3);
  EXPECT_DOUBLE_EQ(start.value("lat").toDouble(), 39.9);
  // Centred on the start at street scale, not left at the country it opens on.
  EXPECT_GE(state.value("zoom").toInt(), 16);
  const QVariantMap centre = state.value("centre").toMap();
  EXPECT_NEAR(centre.value("lon").toDouble(), 116.3, 1e-6);
  EXPECT_NEAR(centre.value("lat").toDouble(), 39.9, 1e-6);
  EXPECT_EQ(window->Track().Points().size(), static_cast<size_t>(state.value("points").toInt()));
}

TEST_F(NavigateTest, FitsALaptopScreenAndTheMapTakesTheRoomItIsGiven) {
  UseOurPage();
  ASSERT_TRUE(Open());
  // 1366x768, less a title bar, borders and a desktop panel.
  const QSize laptopRoom(1366 - 2 * 8, 768 - 40 - 36);
  EXPECT_LE(window->width(), laptopRoom.width());
  EXPECT_LE(window->height(), laptopRoom.height());
  EXPECT_TRUE(window->isSizeGripEnabled());

  QPushButton* buttons[] = {Button(kSaveTrackButton), Button(kStartButton), Button(kClearButton),
                            Button(kExitButton)};
  // Every button whole inside the window, right of the map, none over
  // another; the map fills the rest.
  auto expectUsable = [&] {
    const QRect inside = window->rect();
    const QRect map = window->Browser().geometry();
    EXPECT_TRUE(inside.contains(map));
    for (QPushButton* b : buttons) {
      EXPECT_TRUE(inside.contains(b->geometry())) << b->text().toStdString();
      EXPECT_GT(b->geometry().left(), map.right()) << b->text().toStdString();
      for (QPushButton* other : buttons) {
        if (other == b) continue;
        EXPECT_FALSE(b->geometry().intersects(other->geometry()));
      }
    }
    EXPECT_GT(map.width(), inside.width() - 120);
    EXPECT_GT(map.height(), inside.height() - 40);
  };
  expectUsable();

  window->resize(window->minimumSize());
  ASSERT_TRUE(ProcessEventsUntil([&] { return window->size() == window->minimumSize(); }));
  expectUsable();

  const QSize before = window->size();
  const QRect mapBefore = window->Browser().geometry();
  const QRect exitBefore = Button(kExitButton)->geometry();
  const QSize grown = before + QSize(500, 300);
  window->resize(grown);
  ASSERT_TRUE(ProcessEventsUntil([&] { return window->size() == grown; }));
  expectUsable();
  EXPECT_EQ(window->Browser().size(), mapBefore.size() + QSize(500, 300));
  EXPECT_EQ(Button(kExitButton)->geometry(), exitBefore.translated(500, 300));
  // The page inside follows the browser area.
  EXPECT_TRUE(WaitForPage(Doc(), QString("window.innerWidth === %1 && window.innerHeight === %2")
                                     .arg(window->Browser().width())
                                     .arg(window->Browser().height())));
}

TEST_F(NavigateTest, ClearStopsTheMarksAndEmptiesThePage) {
  UseOurPage();
  ASSERT_TRUE(Open());
  unit.stepLongitude = 0.0001;
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(4));
  Click(kClearButton);
  EXPECT_FALSE(window->IsMarking());
  ASSERT_TRUE(WaitForPage(Doc(), "geoState().calls.clearMapfun === 1"));
  const int marks = Marks();
  ASSERT_TRUE(WaitTicks(5));
  QVariantMap state = State();
  EXPECT_EQ(state.value("calls").toMap().value("justmarkfun").toInt(), marks);
  EXPECT_EQ(state.value("points").toInt(), 0);
  EXPECT_TRUE(state.value("start").isNull());
  EXPECT_TRUE(window->Track().IsEmpty());

  // "开始" again starts a new track where the unit is now.
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(3));
  const QVariantMap start = State().value("start").toMap();
  EXPECT_GT(start.value("lon").toDouble(), 116.3 + 0.0003);
}

// Every way of closing stops the marks; the next opening starts not marking.
class NavigateCloseTest : public NavigateTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void CloseTheWay(const std::string& way) {
    if (way == "exit") {
      Click(kExitButton);
    } else if (way == "enter") {
      Button(kExitButton)->setFocus();
      QTest::keyClick(window.get(), Qt::Key_Return);
    } else if (way == "escape") {
      QTest::keyClick(window.get(), Qt::Key_Escape);
    } else {
      window->close();
    }
  }
};

TEST_P(NavigateCloseTest, ClosingWhileMarkingStopsAndReopeningStartsIdle) {
  UseOurPage();
  ASSERT_TRUE(Open());
  unit.stepLongitude = 0.0001;
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(3));
  CloseTheWay(GetParam());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !window->isVisible(); }));
  EXPECT_FALSE(window->IsMarking());
  EXPECT_FALSE(window->findChild<QTimer*>("markTimer")->isActive())
      << "no position is read while closed";
  EXPECT_EQ(window->Browser().Document(), nullptr);

  ASSERT_TRUE(Open());
  EXPECT_FALSE(window->IsMarking());
  ASSERT_TRUE(WaitTicks(4));
  QVariantMap state = State();
  EXPECT_EQ(state.value("points").toInt(), 0);
  EXPECT_EQ(state.value("calls").toMap().value("justmarkfun").toInt(), 0);
  EXPECT_TRUE(window->Track().IsEmpty());
  EXPECT_TRUE(services.MessageTexts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EveryWay, NavigateCloseTest,
                         ::testing::Values("exit", "enter", "escape", "closeBox"));

TEST_F(NavigateTest, PageWithoutClearFunctionStopsMarkingSilently) {
  UsePage(kPageWithoutClear);
  ASSERT_TRUE(Open());
  Click(kStartButton);
  ASSERT_TRUE(WaitForPage(Doc(), "marks.just >= 2"));
  EXPECT_EQ(RunScript(Doc(), "marks.start").toInt(), 1);
  Click(kClearButton);
  EXPECT_FALSE(window->IsMarking());
  ASSERT_TRUE(ProcessEventsUntil([&] { return window->Page().lastError().contains("clearMapfun"); },
                                 kPageDeadlineMs))
      << window->Page().lastError().toStdString();
  const int marks = RunScript(Doc(), "marks.just").toInt();
  ASSERT_TRUE(WaitTicks(5));
  EXPECT_EQ(RunScript(Doc(), "marks.just").toInt(), marks);
  EXPECT_TRUE(services.MessageTexts().isEmpty());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(NavigateTest, MissingPageGivesFailedCallsAndNothingElse) {
  // No geo.mth in the working folder.
  EXPECT_FALSE(Open());
  EXPECT_EQ(window->Browser().Document(), nullptr);
  EXPECT_EQ(window->Page().lastError(), "NULL pointer");
  Click(kStartButton);
  EXPECT_TRUE(window->IsMarking());
  EXPECT_EQ(window->Page().lastError(), "Cannot GetScript");
  ASSERT_TRUE(WaitTicks(3));
  Click(kTestButton);
  Click(kClearButton);
  EXPECT_FALSE(window->IsMarking());
  EXPECT_EQ(window->Page().lastError(), "Cannot GetScript");
  EXPECT_TRUE(window->Track().IsEmpty());
  EXPECT_TRUE(services.MessageTexts().isEmpty());
  EXPECT_TRUE(window->isVisible());
  Click(kExitButton);
  EXPECT_FALSE(window->isVisible());

  // With the page in place, the next opening works.
  UseOurPage();
  EXPECT_TRUE(Open());
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(2));
}

TEST_F(NavigateTest, TestButtonMarksOnceWithTheTextsLastFormatted) {
  UseOurPage();
  ASSERT_TRUE(Open());
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(1));
  Click(kClearButton);
  ASSERT_TRUE(WaitForPage(Doc(), "geoState().points === 0"));
  const int marks = Marks();
  unit.longitude = 100.0;
  unit.latitude = 20.0;

  Click(kTestButton);
  ASSERT_TRUE(WaitForPage(Doc(), QString("geoState().calls.justmarkfun === %1").arg(marks + 1)));
  const QVariantMap state = State();
  EXPECT_EQ(state.value("lastArguments").toMap().value("justmarkfun").toStringList(),
            (QStringList{"116.300000", "39.900000"}));
  EXPECT_EQ(state.value("points").toInt(), 1);
  EXPECT_FALSE(window->IsMarking());
  ASSERT_TRUE(WaitTicks(3));
  EXPECT_EQ(Marks(), marks + 1);
}

TEST_F(NavigateTest, SaveTrackWritesGpx) {
  UseOurPage();
  ASSERT_TRUE(Open());
  Click(kSaveTrackButton);
  ASSERT_EQ(services.MessageTexts().size(), 1u) << "nothing marked yet";
  EXPECT_TRUE(services.FileDialogs().empty());
  services.ClearMessages();

  unit.stepLongitude = 0.00005;
  unit.stepLatitude = -0.00002;
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(6));
  // Without samples the marks stop and the track stays as it is.
  unit.hasSample = false;
  ASSERT_TRUE(WaitTicks(2));
  const std::vector<TrackLog::Point> points = window->Track().Points();
  ASSERT_GE(points.size(), 6u);
  ASSERT_EQ(State().value("points").toInt(), static_cast<int>(points.size()));

  const QString path = folder.filePath("drive.gpx");
  services.QueueFileName(path);
  Click(kSaveTrackButton);
  ASSERT_EQ(services.FileDialogs().size(), 1u);
  const FileDialogSpec dialog = services.FileDialogs().front();
  EXPECT_EQ(dialog.title, QString::fromUtf8("保存轨迹"));
  EXPECT_EQ(dialog.defaultExtension, "gpx");
  EXPECT_TRUE(dialog.initialName.endsWith(".gpx"));
  EXPECT_TRUE(services.MessageTexts().isEmpty())
      << services.MessageTexts().join('\n').toStdString();

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader gpx(&file);
  QStringList longitudes;
  QStringList latitudes;
  while (!gpx.atEnd()) {
    if (gpx.readNext() == QXmlStreamReader::StartElement && gpx.name() == u"trkpt") {
      EXPECT_EQ(gpx.namespaceUri(), u"http://www.topografix.com/GPX/1/1");
      longitudes << gpx.attributes().value("lon").toString();
      latitudes << gpx.attributes().value("lat").toString();
    }
  }
  EXPECT_FALSE(gpx.hasError()) << gpx.errorString().toStdString();
  ASSERT_EQ(static_cast<size_t>(longitudes.size()), points.size());
  EXPECT_EQ(longitudes.front(), "116.300000");
  EXPECT_EQ(latitudes.front(), "39.900000");
  EXPECT_EQ(longitudes.back(), Navigate::FormatDegrees(points.back().longitude));
  EXPECT_EQ(latitudes.back(), Navigate::FormatDegrees(points.back().latitude));
  EXPECT_EQ(State().value("lastArguments").toMap().value("justmarkfun").toStringList(),
            (QStringList{longitudes.back(), latitudes.back()}));

  // A folder that does not exist: the user is told.
  services.QueueFileName(folder.filePath("no/such/folder/drive.gpx"));
  Click(kSaveTrackButton);
  ASSERT_EQ(services.Messages().size(), 1u);
  EXPECT_EQ(services.Messages().front().icon, MessageIcon::Exclamation);
  EXPECT_TRUE(services.MessageTexts().front().contains("no/such/folder/drive.gpx"));

  // Cancelled: nothing happens.
  services.ClearMessages();
  services.QueueFileName(std::nullopt);
  Click(kSaveTrackButton);
  EXPECT_TRUE(services.MessageTexts().isEmpty());
  EXPECT_EQ(services.FileDialogs().size(), 3u);

  // After "清除" there is nothing left to save.
  Click(kClearButton);
  Click(kSaveTrackButton);
  EXPECT_EQ(services.MessageTexts().size(), 1u);
  EXPECT_EQ(services.FileDialogs().size(), 3u);
}

TEST_F(NavigateTest, ScreenshotOfATrackOnTheOfflineBackground) {
  UseOurPage();
  unit.stepLongitude = 0.00012;
  unit.waveAmplitude = 0.0009;
  ASSERT_TRUE(Open());
  ASSERT_TRUE(WaitForPage(Doc(), "geoState().background === 'offline'"));
  Click(kStartButton);
  ASSERT_TRUE(WaitForTrack(70));
  unit.hasSample = false;
  QImage shot;
  ASSERT_TRUE(ProcessEventsUntil(
      [&] {
        shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int red = 0;
        for (int y = 0; y < shot.height(); y += 2) {
          for (int x = 0; x < shot.width(); x += 2) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 80 && c.blue() < 80) ++red;
          }
        }
        return red > 100;
      },
      kPageDeadlineMs));
  QDir().mkpath(TAVRIK_SCREENSHOT_DIR);
  ASSERT_TRUE(shot.save(TAVRIK_SCREENSHOT_DIR "/map_track.png"));
}

}  // namespace
