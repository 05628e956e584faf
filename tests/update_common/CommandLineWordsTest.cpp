#include <gtest/gtest.h>

#include "update/common/CommandLineWords.h"

using Words = std::vector<std::string>;

TEST(CommandLineWords, SplitsLikeAShellWithoutExpanding) {
  EXPECT_EQ(CommandLineWords::split("  one\ttwo  three "), (Words{"one", "two", "three"}));
  EXPECT_EQ(CommandLineWords::split("'two words' \"and $HOME\" $PATH *"),
            (Words{"two words", "and $HOME", "$PATH", "*"}));
  EXPECT_EQ(CommandLineWords::split(R"(a\ b "c\"d" 'e\f' "g\h" x""y '')"),
            (Words{"a b", "c\"d", "e\\f", "g\\h", "xy", ""}));
  EXPECT_EQ(CommandLineWords::split("--mode=\"quiet run\"x"), (Words{"--mode=quiet runx"}));
  EXPECT_EQ(CommandLineWords::split(""), Words{});
  EXPECT_EQ(CommandLineWords::split("a; rm -rf x | y"), (Words{"a;", "rm", "-rf", "x", "|", "y"}));
}

TEST(CommandLineWords, UnclosedQuotesAreRefused) {
  EXPECT_FALSE(CommandLineWords::split("'open"));
  EXPECT_FALSE(CommandLineWords::split("a \"open"));
  EXPECT_FALSE(CommandLineWords::split("\"ends in escape\\\""));
}
