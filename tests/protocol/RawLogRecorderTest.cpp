#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "protocol/ChunkReceiver.h"
#include "protocol/HexText.h"
#include "protocol/RawLogRecorder.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Scratch {
  Scratch() { fs::create_directories(dir); }
  ~Scratch() { fs::remove_all(dir); }
  fs::path dir = fs::temp_directory_path() / ("tavrik-recorder-" + std::to_string(::getpid()));
};

// Hands bytes to the recorder the way the pipeline does: through the ring's
// chunk receiver, so a chunk that wraps arrives in two pieces.
struct Feeder {
  ReceiveRing ring;
  ChunkReceiver receiver{ring};
  void Feed(RawLogRecorder& recorder, const std::vector<uint8_t>& bytes) {
    const auto accepted = receiver.Accept(bytes.data(), bytes.size());
    recorder.OnChunk({bytes.data(), bytes.size(), accepted.firstText, accepted.restText});
  }
};

TEST(RawLogRecorder, WritesEveryChunkAsHexTextAlsoAcrossTheRingsEnd) {
  Scratch s;
  RawLogRecorder recorder;
  Feeder feeder;
  const fs::path log = s.dir / "log.txt";
  feeder.Feed(recorder, {0x01});  // before the start: not recorded
  ASSERT_TRUE(recorder.Start(log.string()));
  std::vector<uint8_t> all;
  for (int i = 0; i < 120; ++i) {
    std::vector<uint8_t> chunk(997);
    for (size_t j = 0; j < chunk.size(); ++j) chunk[j] = uint8_t(i * 31 + j);
    feeder.Feed(recorder, chunk);  // the ring (102400) wraps within this run
    all.insert(all.end(), chunk.begin(), chunk.end());
  }
  EXPECT_EQ(recorder.CharactersWritten(), 3 * all.size());
  using Outcome = RawLogRecorder::StopResult::Outcome;
  EXPECT_EQ(recorder.Stop().outcome, Outcome::Saved);
  EXPECT_EQ(recorder.Stop().outcome, Outcome::NotRecording);
  feeder.Feed(recorder, {0x02});  // after the stop: not recorded
  EXPECT_EQ(ReadFile(log), ToHexText(all.data(), all.size()));
  EXPECT_FALSE(recorder.Start((s.dir / "no" / "such" / "dir.txt").string()));
  EXPECT_FALSE(recorder.Active());
}

// Stopping while the worker writes never meets a closed stream, and every
// file holds a whole run of chunks, in order.
TEST(RawLogRecorder, StartsAndStopsWhileAWorkerWritesWithoutLosingOrder) {
  Scratch s;
  RawLogRecorder recorder;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    Feeder feeder;
    std::vector<uint8_t> chunk(300);
    uint8_t value = 0;
    while (!done.load()) {
      for (auto& b : chunk) b = value++;
      feeder.Feed(recorder, chunk);
    }
  });
  for (int i = 0; i < 100; ++i) {
    const fs::path log = s.dir / ("log" + std::to_string(i) + ".txt");
    ASSERT_TRUE(recorder.Start(log.string()));
    std::this_thread::yield();
    recorder.Stop();
    const std::string text = ReadFile(log);
    ASSERT_EQ(text.size() % 3, 0u);
    std::vector<uint8_t> bytes(text.size() / 3);
    ASSERT_EQ(DecodeHexText(text.data(), text.size(), bytes.data()), bytes.size());
    for (size_t j = 1; j < bytes.size(); ++j) ASSERT_EQ(uint8_t(bytes[j - 1] + 1), bytes[j]) << i;
  }
  done.store(true);
  worker.join();
}

// A write the system refuses (here the file size limit) stops the recording
// once, with the reason, and the file keeps what went before.
TEST(RawLogRecorder, TheFirstWriteErrorStopsTheRecordingAndIsToldOnce) {
  Scratch s;
  int errors = 0;
  std::string reason;
  RawLogRecorder recorder([&](const std::string& path, const std::string& error) {
    ++errors;
    reason = path + ": " + error;
  });
  const fs::path log = s.dir / "limited.txt";
  ASSERT_TRUE(recorder.Start(log.string()));
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  Feeder feeder;
  std::vector<uint8_t> all;
  for (int i = 0; i < 100 && recorder.Active(); ++i) {
    std::vector<uint8_t> chunk(1000, uint8_t(i));
    feeder.Feed(recorder, chunk);
    all.insert(all.end(), chunk.begin(), chunk.end());
  }
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(recorder.Active());
  EXPECT_EQ(errors, 1);
  EXPECT_NE(reason.find("limited.txt"), std::string::npos) << reason;
  EXPECT_NE(reason.find("too large"), std::string::npos) << reason;
  const std::string text = ReadFile(log);
  EXPECT_EQ(text.size(), 100000u);
  const std::string expected = ToHexText(all.data(), all.size());
  EXPECT_EQ(text, expected.substr(0, text.size()));
  feeder.Feed(recorder, {0x01});
  EXPECT_EQ(errors, 1);
  // The stop after it adds nothing: the error has been told.
  EXPECT_EQ(recorder.Stop().outcome, RawLogRecorder::StopResult::Outcome::EndedByError);
  EXPECT_EQ(recorder.Stop().outcome, RawLogRecorder::StopResult::Outcome::NotRecording);
}

// Every write went into the stream's buffer; only the flush at the stop
// meets the limit. The stop says so instead of reporting a saved file.
TEST(RawLogRecorder, AFailedLastFlushIsTheStopsError) {
  Scratch s;
  int errors = 0;
  RawLogRecorder recorder([&](const std::string&, const std::string&) { ++errors; });
  const fs::path log = s.dir / "last.txt";
  ASSERT_TRUE(recorder.Start(log.string()));
  Feeder feeder;
  std::vector<uint8_t> all;
  for (int i = 0; i < 30; ++i) {
    std::vector<uint8_t> chunk(1000, uint8_t(i));
    feeder.Feed(recorder, chunk);
    all.insert(all.end(), chunk.begin(), chunk.end());
  }
  ASSERT_TRUE(recorder.Active());
  const uintmax_t onDisk = fs::file_size(log);
  ASSERT_GT(recorder.CharactersWritten(), onDisk + 1) << "nothing left for the last flush";
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = (onDisk + recorder.CharactersWritten()) / 2;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const RawLogRecorder::StopResult result = recorder.Stop();
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(result.outcome, RawLogRecorder::StopResult::Outcome::Failed);
  EXPECT_EQ(result.path, log.string());
  EXPECT_NE(result.error.find("too large"), std::string::npos) << result.error;
  EXPECT_EQ(errors, 0);
  EXPECT_FALSE(recorder.Active());
  const std::string text = ReadFile(log);
  EXPECT_EQ(text.size(), limited.rlim_cur);
  EXPECT_EQ(text, ToHexText(all.data(), all.size()).substr(0, text.size()));
}

}  // namespace
