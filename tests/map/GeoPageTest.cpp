// The map page "geo.mth" alone in the embedded browser: its three functions,
// the offline background, the state it reports, bad texts, and script calls
// that fail.

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QImage>
#include <QRegularExpression>
#include <QVariantList>
#include <memory>

#include "map/CExplorer_map.h"
#include "map/CWebPage.h"
#include "tests/map/LocalTileServer.h"
#include "tests/map/PageScript.h"

namespace {

const QColor kOfflinePaper(0xf3, 0xf1, 0xea);
const QColor kGridLine(0xd3, 0xcc, 0xb8);
const QColor kTrackColour(0xd7, 0x19, 0x1c);
const QColor kGridText(0x7d, 0x75, 0x62);

bool Near(QColor a, QColor b, int tolerance = 6) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

int CountPixels(const QImage& image, QColor colour, int tolerance = 6, QRect area = {}) {
  area = area.isNull() ? image.rect() : area.intersected(image.rect());
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (Near(image.pixelColor(x, y), colour, tolerance)) ++count;
    }
  }
  return count;
}

// The grid label whose text matches, as the page reports it; empty if none.
QVariantMap GridLabel(const QVariantMap& state, const QString& pattern) {
  const QRegularExpression text(QRegularExpression::anchoredPattern(pattern));
  for (const QVariant& label : state.value("gridLabels").toList()) {
    if (text.match(label.toMap().value("text").toString()).hasMatch()) return label.toMap();
  }
  return {};
}

// Where a grid label's text stands: it begins at its point, on the baseline.
QRect LabelArea(const QVariantMap& label) {
  const QPoint baseline(qRound(label.value("x").toDouble()), qRound(label.value("y").toDouble()));
  return QRect(baseline.x(), baseline.y() - 11, 60, 14);
}

class GeoPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_unique<CExplorer_map>();
    view->resize(800, 600);
    view->show();
    bool finished = false;
    bool loaded = false;
    const auto connection =
        QObject::connect(view.get(), &CExplorer_map::DocumentReady, [&](bool ok) {
          finished = true;
          loaded = ok;
        });
    view->NavigateTo(TAVRIK_MAP_TEST_PAGE_DIR "/geo.mth");
    ProcessEventsUntil([&] { return finished; }, kPageDeadlineMs);
    QObject::disconnect(connection);
    ASSERT_TRUE(finished);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(page.setDocument(view->Document()));
  }
  void TearDown() override { view.reset(); }

  QWebEnginePage* Doc() { return view->Document(); }
  QVariantMap State() { return PageState(Doc()); }

  // Issues the call and waits for its outcome.
  bool Call(const QString& name, const QStringList& arguments = {}) {
    auto outcome = std::make_shared<std::optional<bool>>();
    const bool issued = page.callScriptFunction(
        name, arguments, [outcome](bool ok, const QVariant&) { *outcome = ok; });
    EXPECT_TRUE(issued) << name.toStdString();
    EXPECT_TRUE(ProcessEventsUntil([&] { return outcome->has_value(); }, kPageDeadlineMs));
    return outcome->value_or(false);
  }

  static void ExpectPosition(const QVariant& position, double lon, double lat) {
    const QVariantMap map = position.toMap();
    ASSERT_FALSE(map.isEmpty());
    EXPECT_DOUBLE_EQ(map.value("lon").toDouble(), lon);
    EXPECT_DOUBLE_EQ(map.value("lat").toDouble(), lat);
  }

  QImage Picture() { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  std::unique_ptr<CExplorer_map> view;
  CWebPage page;
};

TEST_F(GeoPageTest, StartMarkAndClearWithBothSignsOfCoordinates) {
  QVariantMap state = State();
  EXPECT_EQ(state.value("points").toInt(), 0);
  EXPECT_TRUE(state.value("start").isNull());
  EXPECT_TRUE(state.value("last").isNull());

  ASSERT_TRUE(Call("setStartMarkfun", {"116.300000", "39.900000"}));
  state = State();
  EXPECT_EQ(state.value("points").toInt(), 1);
  ExpectPosition(state.value("start"), 116.3, 39.9);
  ExpectPosition(state.value("last"), 116.3, 39.9);
  const QVariantMap centre = state.value("centre").toMap();
  EXPECT_NEAR(centre.value("lon").toDouble(), 116.3, 1e-6);
  EXPECT_NEAR(centre.value("lat").toDouble(), 39.9, 1e-6);
  EXPECT_GE(state.value("zoom").toInt(), 16);

  ASSERT_TRUE(Call("justmarkfun", {"116.301000", "39.900000"}));
  ASSERT_TRUE(Call("justmarkfun", {"116.302000", "39.901000"}));
  state = State();
  EXPECT_EQ(state.value("points").toInt(), 3);
  ExpectPosition(state.value("start"), 116.3, 39.9);
  ExpectPosition(state.value("last"), 116.302, 39.901);
  // 85 m east, then 85 m east and 111 m north.
  EXPECT_NEAR(state.value("distanceMetres").toDouble(), 225.5, 1.0);
  EXPECT_EQ(state.value("positionText").toString(), "116.302000, 39.901000");

  // Another start begins a new track, here south and west of Greenwich.
  ASSERT_TRUE(Call("setStartMarkfun", {"-70.600000", "-33.870000"}));
  ASSERT_TRUE(Call("justmarkfun", {"-70.600500", "-33.870500"}));
  state = State();
  EXPECT_EQ(state.value("points").toInt(), 2);
  ExpectPosition(state.value("start"), -70.6, -33.87);
  ExpectPosition(state.value("last"), -70.6005, -33.8705);
  EXPECT_NEAR(state.value("distanceMetres").toDouble(), 72.3, 1.0);

  ASSERT_TRUE(Call("clearMapfun"));
  state = State();
  EXPECT_EQ(state.value("points").toInt(), 0);
  EXPECT_TRUE(state.value("start").isNull());
  EXPECT_TRUE(state.value("last").isNull());
  EXPECT_DOUBLE_EQ(state.value("distanceMetres").toDouble(), 0.0);
  EXPECT_EQ(state.value("calls").toMap().value("justmarkfun").toInt(), 3);
  EXPECT_TRUE(page.lastError().isEmpty()) << page.lastError().toStdString();
}

TEST_F(GeoPageTest, MarkingWithoutStartBeginsTheTrack) {
  ASSERT_TRUE(Call("justmarkfun", {"2.350000", "48.850000"}));
  const QVariantMap state = State();
  EXPECT_EQ(state.value("points").toInt(), 1);
  EXPECT_TRUE(state.value("start").isNull());
  ExpectPosition(state.value("last"), 2.35, 48.85);
}

TEST_F(GeoPageTest, OfflineBackgroundWhenTilesFail) {
  ASSERT_TRUE(WaitForPage(Doc(), "geoState().background === 'offline'"));
  QVariantMap state = State();
  EXPECT_GT(state.value("tileErrors").toInt(), 0);
  EXPECT_EQ(state.value("tilesLoaded").toInt(), 0);

  ASSERT_TRUE(Call("setStartMarkfun", {"116.300000", "39.900000"}));
  for (int i = 1; i <= 30; ++i) {
    ASSERT_TRUE(Call("justmarkfun", {QString::number(116.3 + i * 0.0001, 'f', 6),
                                     QString::number(39.9 + i * 0.00005, 'f', 6)}));
  }
  // Paper, grid lines and the track are on screen once the frame is drawn.
  QImage picture;
  ASSERT_TRUE(ProcessEventsUntil(
      [&] {
        picture = Picture();
        return CountPixels(picture, kTrackColour, 30) > 100;
      },
      kPageDeadlineMs));
  EXPECT_GT(CountPixels(picture, kOfflinePaper), picture.width() * picture.height() / 2);
  EXPECT_GT(CountPixels(picture, kGridLine, 4), 500);
  const QString attribution =
      RunScript(Doc(), "document.querySelector('.leaflet-control-attribution').textContent")
          .toString();
  EXPECT_TRUE(attribution.contains(QString::fromUtf8("离线底图"))) << attribution.toStdString();

  // The grid's degrees are written on it: the map is centred on the start, so
  // the parallel and the meridian through it carry labels, and their text is
  // on screen.
  state = State();
  const QVariantMap parallel = GridLabel(state, QString::fromUtf8("39\\.90*°N"));
  const QVariantMap meridian = GridLabel(state, QString::fromUtf8("116\\.30*°E"));
  ASSERT_FALSE(parallel.isEmpty()) << state.value("gridLabels").toList().size() << " labels";
  ASSERT_FALSE(meridian.isEmpty());
  const QRect parallelText = LabelArea(parallel);
  EXPECT_GT(CountPixels(picture, kGridText, 40, parallelText), 15);
  EXPECT_GT(CountPixels(picture, kGridText, 40, LabelArea(meridian)), 15);
  // Left of the text, the same height: only paper and grid.
  EXPECT_EQ(CountPixels(picture, kGridText, 40, parallelText.translated(-100, 0)), 0);

  // South and west of Greenwich the letters turn.
  ASSERT_TRUE(Call("setStartMarkfun", {"-70.600000", "-33.870000"}));
  ASSERT_TRUE(WaitForPage(Doc(),
                          "geoState().gridLabels.some(function (label) {"
                          " return /^33\\.870*°S$/.test(label.text); })"));
  EXPECT_FALSE(GridLabel(State(), QString::fromUtf8("70\\.60*°W")).isEmpty());
  EXPECT_TRUE(GridLabel(State(), QString::fromUtf8(".*°[NE]")).isEmpty());
}

TEST_F(GeoPageTest, OnlineTilesWhenTheServerAnswers) {
  LocalTileServer server(QColor(0x4a, 0x90, 0xd9));
  ASSERT_TRUE(server.isListening());
  ASSERT_TRUE(Call("setStartMarkfun", {"116.300000", "39.900000"}));
  ASSERT_TRUE(
      RunScript(Doc(), QString("geoSetTileSource('%1', 'local'); true").arg(server.UrlTemplate()))
          .toBool());
  ASSERT_TRUE(WaitForPage(Doc(), "geoState().background === 'online'"));
  EXPECT_GT(server.Requests(), 0);
  QImage picture;
  ASSERT_TRUE(ProcessEventsUntil(
      [&] {
        picture = Picture();
        return CountPixels(picture, QColor(0x4a, 0x90, 0xd9)) >
               picture.width() * picture.height() / 2;
      },
      kPageDeadlineMs));
  // The grid is gone under real tiles, its degrees with it.
  EXPECT_EQ(CountPixels(picture, kGridLine, 2), 0);
  EXPECT_TRUE(State().value("gridLabels").toList().isEmpty());
}

TEST_F(GeoPageTest, RemoteHostsDoNotResolve) {
  // The same local server by address and by name: only the address is reached.
  LocalTileServer server(Qt::white);
  const QString fetch =
      "fetch('http://%1:%2/probe').then(function () { window.fetched = 'ok'; },"
      " function () { window.fetched = 'failed'; }); true";
  ASSERT_TRUE(RunScript(Doc(), fetch.arg("127.0.0.1").arg(server.serverPort())).toBool());
  ASSERT_TRUE(WaitForPage(Doc(), "window.fetched !== undefined"));
  EXPECT_EQ(RunScript(Doc(), "window.fetched").toString(), "ok");
  ASSERT_TRUE(RunScript(Doc(), "window.fetched = undefined; true").toBool());
  ASSERT_TRUE(RunScript(Doc(), fetch.arg("localhost").arg(server.serverPort())).toBool());
  ASSERT_TRUE(WaitForPage(Doc(), "window.fetched !== undefined"));
  EXPECT_EQ(RunScript(Doc(), "window.fetched").toString(), "failed");
}

TEST_F(GeoPageTest, MalformedTextsAreIgnoredWithoutScriptError) {
  ASSERT_TRUE(Call("setStartMarkfun", {"116.300000", "39.900000"}));
  const QList<QStringList> bad = {{"abc", "39.900000"}, {"116.3", "abc"}, {"", ""},
                                  {"116.3", ""},        {"1e3", "2"},     {"181.0", "10.0"},
                                  {"10.0", "-90.5"},    {"nan", "inf"},   {"116,3", "39,9"}};
  for (const QStringList& texts : bad) {
    EXPECT_TRUE(Call("justmarkfun", texts)) << texts.join('|').toStdString();
  }
  EXPECT_TRUE(Call("setStartMarkfun", {"abc", ""}));
  const QVariantMap state = State();
  EXPECT_EQ(state.value("ignoredCalls").toInt(), bad.size() + 1);
  EXPECT_EQ(state.value("points").toInt(), 1);
  ExpectPosition(state.value("start"), 116.3, 39.9);
  ExpectPosition(state.value("last"), 116.3, 39.9);
  EXPECT_TRUE(page.lastError().isEmpty()) << page.lastError().toStdString();
  // Signs, a leading point and spaces around a number are numbers still.
  EXPECT_TRUE(Call("justmarkfun", {" +116.5 ", "-.5"}));
  ExpectPosition(State().value("last"), 116.5, -0.5);
}

TEST_F(GeoPageTest, TextsArriveUnchangedAndNeverRunAsScript) {
  const QStringList texts = {
      R"(1"); window.injected = true; ("2)",
      R"(back\slash \\ \' \" </script> ${injected} `tick`)",
      QString::fromUtf8("行\n驶\t\u2028 end"),
  };
  EXPECT_TRUE(Call("justmarkfun", {texts[0], texts[1]}));
  EXPECT_TRUE(Call("setStartMarkfun", {texts[2], texts[0]}));
  const QVariantMap received = State().value("lastArguments").toMap();
  EXPECT_EQ(received.value("justmarkfun").toStringList(), (QStringList{texts[0], texts[1]}));
  EXPECT_EQ(received.value("setStartMarkfun").toStringList(), (QStringList{texts[2], texts[0]}));
  EXPECT_EQ(RunScript(Doc(), "typeof window.injected").toString(), "undefined");
  EXPECT_EQ(State().value("ignoredCalls").toInt(), 2);
}

TEST_F(GeoPageTest, MissingFunctionAndScriptErrorsAreRecordedNotShown) {
  auto outcome = std::make_shared<std::optional<bool>>();
  EXPECT_TRUE(page.callScriptFunction("noSuchFunction",
                                      [outcome](bool ok, const QVariant&) { *outcome = ok; }));
  ASSERT_TRUE(ProcessEventsUntil([&] { return outcome->has_value(); }, kPageDeadlineMs));
  EXPECT_FALSE(**outcome);
  EXPECT_TRUE(page.lastError().contains("noSuchFunction")) << page.lastError().toStdString();

  ASSERT_TRUE(RunScript(Doc(), "window.failingFun = function () { throw new Error('boom'); }; true")
                  .toBool());
  EXPECT_FALSE(Call("failingFun", {"1", "2"}));
  EXPECT_TRUE(page.lastError().contains("boom")) << page.lastError().toStdString();

  // A call that works leaves the last failure as it was.
  EXPECT_TRUE(Call("justmarkfun", {"116.300000", "39.900000"}));
  EXPECT_TRUE(page.lastError().contains("boom"));
}

TEST_F(GeoPageTest, NoDocumentFailsAtOnce) {
  CWebPage empty;
  EXPECT_TRUE(empty.lastError().isEmpty());
  bool called = false;
  EXPECT_FALSE(empty.callScriptFunction("justmarkfun", "1", "2",
                                        [&](bool, const QVariant&) { called = true; }));
  EXPECT_EQ(empty.lastError(), "Cannot GetScript");
  EXPECT_FALSE(empty.setDocument(nullptr));
  EXPECT_EQ(empty.lastError(), "NULL pointer");
  EXPECT_FALSE(empty.getScript());

  page.releaseDocument();
  EXPECT_FALSE(page.callScriptFunction("clearMapfun"));
  EXPECT_EQ(page.lastError(), "Cannot GetScript");
  // Nothing comes back later either.
  ProcessEventsUntil([&] { return called; }, 500);
  EXPECT_FALSE(called);
}

TEST_F(GeoPageTest, LongTrackIsDrawnInThinnedRuns) {
  ASSERT_TRUE(Call("setStartMarkfun", {"116.300000", "39.900000"}));
  // 2500 steps of about 2 m, then 200 marks at the same place.
  const QVariant points = RunScript(Doc(), R"(
      (function () {
        for (var i = 1; i <= 2500; i++) {
          justmarkfun((116.3 + i * 0.00002).toFixed(6), (39.9 + Math.sin(i / 50) * 0.0005).toFixed(6));
        }
        for (var j = 0; j < 200; j++) justmarkfun('116.350000', '39.900000');
        return geoState().points;
      })())");
  EXPECT_EQ(points.toInt(), 2701);
  QVariantMap state = State();
  const int drawn = state.value("drawnPoints").toInt();
  EXPECT_LE(drawn, 2502);
  EXPECT_GT(drawn, 1000);
  EXPECT_GE(state.value("runs").toInt(), (drawn + 999) / 1000);

  // Zoomed out, most points fall within a pixel of their neighbour.
  ASSERT_TRUE(RunScript(Doc(), "document.querySelector('.leaflet-control-zoom-out').click(); true")
                  .toBool());
  ASSERT_TRUE(WaitForPage(Doc(), QString("geoState().zoom < %1").arg(state.value("zoom").toInt())));
  ASSERT_TRUE(WaitForPage(Doc(), QString("geoState().drawnPoints < %1").arg(drawn)));
  EXPECT_EQ(State().value("points").toInt(), 2701);
}

TEST_F(GeoPageTest, FollowsTheVehicleUntilTurnedOff) {
  ASSERT_TRUE(Call("setStartMarkfun", {"116.300000", "39.900000"}));
  EXPECT_TRUE(State().value("following").toBool());
  // Far outside the view: the map comes after it.
  ASSERT_TRUE(Call("justmarkfun", {"116.400000", "39.900000"}));
  ASSERT_TRUE(WaitForPage(Doc(), "Math.abs(geoState().centre.lon - 116.4) < 1e-4"));

  ASSERT_TRUE(RunScript(Doc(), "document.querySelector('.geo-follow').click(); true").toBool());
  EXPECT_FALSE(State().value("following").toBool());
  ASSERT_TRUE(Call("justmarkfun", {"116.500000", "39.900000"}));
  EXPECT_NEAR(State().value("centre").toMap().value("lon").toDouble(), 116.4, 1e-4);

  // Turned on again, it brings the vehicle back.
  ASSERT_TRUE(RunScript(Doc(), "document.querySelector('.geo-follow').click(); true").toBool());
  EXPECT_TRUE(State().value("following").toBool());
  ASSERT_TRUE(WaitForPage(Doc(), "Math.abs(geoState().centre.lon - 116.5) < 1e-4"));
  EXPECT_EQ(State().value("distanceText").toString(), "17.061 km");
}

// Catches what would open in the desktop's browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public slots:
  void Open(const QUrl& url) { opened.push_back(url.toString().toStdString()); }

 public:
  std::vector<std::string> opened;
};

TEST_F(GeoPageTest, LinksOpenOutsideAndTheMapStays) {
  auto catcher = std::make_unique<UrlCatcher>();
  QDesktopServices::setUrlHandler("https", catcher.get(), "Open");
  const QUrl page = view->url();
  ASSERT_TRUE(
      RunScript(Doc(), "document.querySelector('.leaflet-control-attribution a').click(); true")
          .toBool());
  EXPECT_TRUE(ProcessEventsUntil([&] { return !catcher->opened.empty(); }, kPageDeadlineMs));
  QDesktopServices::unsetUrlHandler("https");
  ASSERT_EQ(catcher->opened.size(), 1u);
  EXPECT_EQ(catcher->opened.front().rfind("https://leafletjs.com", 0), 0u)
      << catcher->opened.front();
  EXPECT_EQ(view->url(), page);
  // The turned-away navigation leaves the page usable for the window.
  EXPECT_NE(view->Document(), nullptr);
  EXPECT_TRUE(Call("justmarkfun", {"116.300000", "39.900000"}));
}

}  // namespace

#include "GeoPageTest.moc"
