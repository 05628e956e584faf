// The page scheme serves the page's own folder and what lies below it, and
// nothing else: not a file beside the folder, not one in a folder that only
// begins with the same name, not one a link inside the folder points out to.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "map/CExplorer_map.h"
#include "map/PageSchemeHandler.h"
#include "tests/map/PageScript.h"

namespace {

// Adds a script element per source and notes whether the browser got it.
const char* kProbePage = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><script>
var outcomes = {};
var served = [];
function load(src) {
  var script = document.createElement('script');
  script.onload = function () { outcomes[src] = 'loaded'; };
  script.onerror = function () { outcomes[src] = 'refused'; };
  script.src = src;
  document.head.appendChild(script);
  return true;
}
</script></head><body></body></html>
)";

bool Write(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A script that says it was served.
QByteArray Served(const char* name) {
  return QByteArray("served.push('") + name + "');\n";
}

TEST(PageSchemeHandler, ServesOnlyTheFilesOfThePagesFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString folder = root.filePath("page");
  ASSERT_TRUE(Write(folder + "/probe.mth", kProbePage));
  ASSERT_TRUE(Write(folder + "/inside.js", Served("inside")));
  ASSERT_TRUE(Write(folder + "/sub/below.js", Served("below")));
  ASSERT_TRUE(Write(root.filePath("outside.js"), Served("outside")));
  ASSERT_TRUE(Write(root.filePath("page-twin/twin.js"), Served("twin")));
  ASSERT_TRUE(QFile::link(root.filePath("outside.js"), folder + "/linked.js"));

  CExplorer_map view;
  view.resize(400, 300);
  view.show();
  bool finished = false;
  bool loaded = false;
  QObject::connect(&view, &CExplorer_map::DocumentReady, [&](bool ok) {
    finished = true;
    loaded = ok;
  });
  view.NavigateTo(folder + "/probe.mth");
  ASSERT_TRUE(ProcessEventsUntil([&] { return finished; }, kPageDeadlineMs));
  ASSERT_TRUE(loaded);
  QWebEnginePage* page = view.Document();

  const QString outsideByAddress =
      PageSchemeHandler::UrlForFile(root.filePath("outside.js")).toString();
  const QStringList sources{"inside.js", "sub/below.js",  "../outside.js", "../page-twin/twin.js",
                            "linked.js", outsideByAddress};
  for (const QString& source : sources) {
    ASSERT_TRUE(RunScript(page, QString("load('%1')").arg(source)).toBool());
  }
  ASSERT_TRUE(
      WaitForPage(page, QString("Object.keys(outcomes).length === %1").arg(sources.size())));
  const QVariantMap outcomes = RunScript(page, "outcomes").toMap();
  EXPECT_EQ(outcomes.value("inside.js").toString(), "loaded");
  EXPECT_EQ(outcomes.value("sub/below.js").toString(), "loaded");
  EXPECT_EQ(outcomes.value("../outside.js").toString(), "refused");
  EXPECT_EQ(outcomes.value("../page-twin/twin.js").toString(), "refused");
  EXPECT_EQ(outcomes.value("linked.js").toString(), "refused");
  EXPECT_EQ(outcomes.value(outsideByAddress).toString(), "refused");
  EXPECT_EQ(RunScript(page, "served.slice().sort().join(' ')").toString(), "below inside");
}

}  // namespace
