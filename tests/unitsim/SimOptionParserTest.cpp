#include <gtest/gtest.h>

#include <vector>

#include "tools/unitsim/SimOptionParser.h"

namespace {

SimOptionParser::Result Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "tavrik-unitsim");
  return SimOptionParser::Parse(int(args.size()), args.data());
}

TEST(SimOptionParserTest, ReadsValuesInBothFormsAndRefusesBadOnes) {
  const auto good = Parse({"--baud=921600", "--variant", "kdv1", "--refuse", "BAUD", "--refuse",
                           "ODO", "--frame", "76", "--static", "--lat", "-20.25"});
  ASSERT_EQ(good.outcome, SimOptionParser::Outcome::Run) << good.error;
  EXPECT_EQ(good.options.baud, 921600);
  EXPECT_EQ(good.options.variant, DeviceVariant::KDV1);
  EXPECT_EQ(good.options.refusedWords, (std::vector<std::string>{"BAUD", "ODO"}));
  EXPECT_EQ(good.options.format.kind, FrameKind::Frame76);
  EXPECT_TRUE(good.options.staticFrame);
  EXPECT_DOUBLE_EQ(good.options.startLatitude, -20.25);

  for (auto bad : std::vector<std::vector<const char*>>{{"--bogus"},
                                                        {"--baud"},
                                                        {"--baud", "fast"},
                                                        {"--frame", "100"},
                                                        {"--rate", "-1"},
                                                        {"--sn", "ABCDEFGHIJKLMNOPQR"}}) {
    EXPECT_EQ(Parse(bad).outcome, SimOptionParser::Outcome::Error) << bad[0];
  }
}

TEST(SimOptionParserTest, HelpDocumentsEveryOptionAndTheStaticValues) {
  EXPECT_EQ(Parse({"--help"}).outcome, SimOptionParser::Outcome::ShowHelp);
  const std::string help = SimOptionParser::HelpText();
  for (const char* option :
       {"--link",      "--baud",         "--rate",     "--frame",          "--frames",
        "--stopped",   "--lon",          "--lat",      "--signed-heading", "--static",
        "--variant",   "--refuse",       "--sn",       "--wide-values",    "--image-out",
        "--nak-every", "--silent-after", "--noise",    "--corrupt-every",  "--seed",
        "--verbose",   "123.45",         "116.3123456"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

}  // namespace
