// Decoder and scanner throughput.
#include <benchmark/benchmark.h>

#include <random>

#include "protocol/FrameBuilder.h"
#include "protocol/FrameScanner.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "tools/makelog/DemoLog.h"

namespace {

void BM_CheckAndDecodeFrame120(benchmark::State& state) {
  DemoLogOptions options;
  options.frames = 64;
  options.mixKinds = false;
  const std::vector<uint8_t> stream = MakeDemoStream(options);
  CPorotocalRtkAnalyse analyser;
  size_t i = 0;
  for (auto _ : state) {
    const uint8_t* frame = stream.data() + (i++ % 64) * 120;
    analyser.LoadFrame(120, frame);
    if (!analyser.CheckFrame()) state.SkipWithError("frame failed its check");
    analyser.DecodeFrame120();
    benchmark::DoNotOptimize(analyser.GetYaw());
  }
  state.counters["frames/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CheckAndDecodeFrame120);

void BM_ScanMixedStreamWithNoise(benchmark::State& state) {
  DemoLogOptions options;
  options.frames = 20000;
  options.noisePercent = 10;
  const std::vector<uint8_t> stream = MakeDemoStream(options);
  CPorotocalRtkAnalyse analyser;
  FrameScanner scanner(analyser);
  uint64_t frames = 0;
  for (auto _ : state) {
    scanner.Scan(stream.data(), stream.size(), true, [&](const uint8_t*, size_t) { ++frames; });
  }
  if (frames != options.frames * state.iterations()) state.SkipWithError("frames were lost");
  state.SetBytesProcessed(int64_t(stream.size() * state.iterations()));
  state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScanMixedStreamWithNoise)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
