#include <cstdio>
#include <memory>
#include <string>

#include "PseudoTerminal.h"
#include "SignalPipe.h"
#include "SimOptionParser.h"
#include "UnitSimRunner.h"
#include "tools/unitsim/ReplyLog.h"
#include "tools/unitsim/TeeFile.h"

int main(int argc, char** argv) {
  const SimOptionParser::Result parsed = SimOptionParser::Parse(argc, argv);
  if (parsed.outcome == SimOptionParser::Outcome::ShowHelp) {
    std::fputs(SimOptionParser::HelpText().c_str(), stdout);
    return 0;
  }
  if (parsed.outcome == SimOptionParser::Outcome::Error) {
    std::fprintf(stderr, "tavrik-unitsim: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }

  SignalPipe signals;
  std::string error;
  std::unique_ptr<TeeFile> tee;
  if (!parsed.options.teePath.empty()) {
    tee = TeeFile::Open(parsed.options.teePath, &error);
    if (!tee) {
      std::fprintf(stderr, "tavrik-unitsim: %s\n", error.c_str());
      return 1;
    }
  }
  std::unique_ptr<ReplyLog> replies;
  if (!parsed.options.replyLogPath.empty()) {
    replies = ReplyLog::Open(parsed.options.replyLogPath, &error);
    if (!replies) {
      std::fprintf(stderr, "tavrik-unitsim: %s\n", error.c_str());
      return 1;
    }
  }
  auto terminal = PseudoTerminal::Open(&error);
  if (!terminal) {
    std::fprintf(stderr, "tavrik-unitsim: %s\n", error.c_str());
    return 1;
  }
  if (!parsed.options.linkPath.empty() && !terminal->LinkTo(parsed.options.linkPath, &error)) {
    std::fprintf(stderr, "tavrik-unitsim: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", terminal->DevicePath().c_str());
  std::fflush(stdout);

  const SimStats stats =
      UnitSimRunner(parsed.options, *terminal, signals, tee.get(), replies.get()).Run();
  tee.reset();  // flushed before the statistics line tells the caller the unit is done
  std::printf("%s\n", stats.Line().c_str());
  std::fflush(stdout);
  return 0;
}
