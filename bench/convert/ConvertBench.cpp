// Log conversion throughput on a 100 MB generated log, file to file, in MB/s
// of log text: through the library and through the tavrik-convert command.
// When xxd is installed, its bare un-hexing of the same file is timed beside.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "convert/LogConverter.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "tools/makelog/DemoLog.h"

namespace fs = std::filesystem;

namespace {

const fs::path& LogPath() {
  static const fs::path path = [] {
    fs::path p = fs::temp_directory_path() / "tavrik-bench-100mb.log";
    if (!fs::exists(p) || fs::file_size(p) < 100'000'000) {
      DemoLogOptions options;
      options.frames = 216'000;  // a little over 100 MB of text with this mix and 3 % noise
      options.noisePercent = 3;
      std::FILE* f = std::fopen(p.c_str(), "wb");
      if (!f || !WriteDemoLog(f, options)) std::abort();
      std::fclose(f);
    }
    return p;
  }();
  return path;
}

const fs::path kTarget = fs::temp_directory_path() / "tavrik-bench-out.txt";

void BM_ConvertLibrary(benchmark::State& state) {
  const uint64_t size = fs::file_size(LogPath());
  for (auto _ : state) {
    CPorotocalRtkAnalyse analyser;
    LogConverter converter(analyser, ConvertColumns::Default());
    std::FILE* in = std::fopen(LogPath().c_str(), "rb");
    std::FILE* out = std::fopen(kTarget.c_str(), "wb+");
    const auto result = converter.Convert(in, out, size);
    std::fclose(in);
    std::fclose(out);
    if (result.status != LogConverter::Status::Ok) state.SkipWithError("conversion failed");
  }
  state.SetBytesProcessed(int64_t(size * state.iterations()));
}
BENCHMARK(BM_ConvertLibrary)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void RunCommand(benchmark::State& state, const std::string& command) {
  const uint64_t size = fs::file_size(LogPath());
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  }
  state.SetBytesProcessed(int64_t(size * state.iterations()));
}

void BM_ConvertTool(benchmark::State& state) {
  RunCommand(state, std::string("'" TAVRIK_CONVERT_BIN "' '") + LogPath().string() + "' '" +
                        kTarget.string() + "'");
}
BENCHMARK(BM_ConvertTool)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_XxdUnhexOnly(benchmark::State& state) {
  if (std::system("command -v xxd >/dev/null 2>&1") != 0) {
    state.SkipWithError("xxd is not installed");
    return;
  }
  RunCommand(state, "xxd -r -p '" + LogPath().string() + "' > '" + kTarget.string() + "'");
}
BENCHMARK(BM_XxdUnhexOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
