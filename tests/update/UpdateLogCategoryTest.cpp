#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QString>
#include <vector>

#include "update/UpdateLogCategory.h"

namespace {

struct Message {
  QtMsgType type;
  QString category;
  QString text;
};
std::vector<Message> g_messages;

void record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  g_messages.push_back({type, QString::fromUtf8(context.category), text});
}

}  // namespace

TEST(UpdateLogCategory, StatusLinesAndTracesGoToTheirOwnCategory) {
  QLoggingCategory::setFilterRules("tavrik.update.debug=true\ntavrik.update.info=true");
  const QtMessageHandler previous = qInstallMessageHandler(record);
  const UpdateLogSink sink = updateLogCategorySink();
  sink(UpdateLogKind::Status, "12:34:56 正在连接获取服务器列表");
  sink(UpdateLogKind::Trace, "Thread started\n");
  qInstallMessageHandler(previous);
  ASSERT_EQ(g_messages.size(), 2u);
  EXPECT_EQ(g_messages[0].type, QtInfoMsg);
  EXPECT_EQ(g_messages[0].category, "tavrik.update");
  EXPECT_EQ(g_messages[0].text, QString::fromUtf8("12:34:56 正在连接获取服务器列表"));
  EXPECT_EQ(g_messages[1].type, QtDebugMsg);
  EXPECT_EQ(g_messages[1].text, "Thread started");
}
