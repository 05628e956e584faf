#include <gtest/gtest.h>

#include "update/common/ServerListReader.h"

TEST(ServerListReader, KeepsNamedServersTrimmedAndSkipsTheRest) {
  const auto servers = ServerListReader::read(
      "A|https://a.example/list.xml\n"
      "      \n"
      "|https://nameless.example/list.xml\n"
      "  B   |   https://b.example/list.xml   \n");
  ASSERT_EQ(servers.size(), 2u);
  EXPECT_EQ(servers[0].name, "A");
  EXPECT_EQ(servers[0].url, "https://a.example/list.xml");
  EXPECT_EQ(servers[1].name, "B");
  EXPECT_EQ(servers[1].url, "https://b.example/list.xml");
}

TEST(ServerListReader, LineEndsAndEmptyPartsAreHandled) {
  const auto servers = ServerListReader::read(
      "C|https://c.example/x\r\n"
      "no bar here\r\n"
      "D|   \r\n"
      "   |https://e.example/x\r\n"
      "F | https://f.example/a|b");  // the first bar splits; the last line has no line end
  ASSERT_EQ(servers.size(), 2u);
  EXPECT_EQ(servers[0].name, "C");
  EXPECT_EQ(servers[0].url, "https://c.example/x");
  EXPECT_EQ(servers[1].name, "F");
  EXPECT_EQ(servers[1].url, "https://f.example/a|b");
}

TEST(ServerListReader, LongLinesAreKeptWhole) {
  const std::string url = "https://long.example/" + std::string(3000, 'x');
  const auto servers = ServerListReader::read("L|" + url + "\n");
  ASSERT_EQ(servers.size(), 1u);
  EXPECT_EQ(servers[0].url, url);
}
