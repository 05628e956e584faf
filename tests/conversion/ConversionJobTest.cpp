// A conversion as the dialog runs it, without a window: which files it opens,
// what it refuses, and what a stopped conversion leaves behind.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "ConversionFiles.h"
#include "convert/ConversionJob.h"
#include "convert/ConvertedTextFormat.h"
#include "convert/LogConverter.h"
#include "protocol/HexText.h"
#include "tests/protocol/TestFrames.h"

namespace fs = std::filesystem;

namespace {

using Opening = ConversionJob::Opening;
using Status = LogConverter::Status;

ConvertColumns AllColumns() {
  ConvertColumns columns;
  columns.selected.fill(true);
  return columns;
}

ConversionJob::Request RequestFor(const fs::path& source, const fs::path& target,
                                  const ConvertColumns& columns = AllColumns()) {
  ConversionJob::Request request;
  request.sourcePath = source.string();
  request.targetPath = target.string();
  request.columns = columns;
  return request;
}

// Converts source into target with the given block size; the observer may stop.
LogConverter::Result RunJob(ConversionJob::Request request,
                            const LogConverter::Observer& observer = {}) {
  ConversionJob job(std::move(request));
  EXPECT_EQ(job.Open(), Opening::Ready);
  return job.Run(observer);
}

class ConversionJobTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteDemoLogFile(log, 600); }

  ScratchFolder folder;
  const fs::path log = folder / "log.txt";
  const fs::path target = folder / "out.txt";
};

TEST_F(ConversionJobTest, OutputDoesNotDependOnTheBlockSize) {
  auto request = RequestFor(log, target);
  const LogConverter::Result whole = RunJob(request);
  ASSERT_EQ(whole.status, Status::Ok);
  EXPECT_EQ(whole.rows, 600u);
  const std::string expected = ReadWholeFile(target);
  ASSERT_EQ(SplitLines(expected).size(), 601u);

  // Block edges fall inside pairs of digits and inside frames.
  for (size_t blockChars : {2, 3, 7, 1000, 65536}) {
    request.blockChars = blockChars;
    const LogConverter::Result result = RunJob(request);
    EXPECT_EQ(result.rows, whole.rows) << blockChars;
    EXPECT_EQ(ReadWholeFile(target), expected) << blockChars;
  }
}

TEST_F(ConversionJobTest, ObserverSeesEveryBlockAndTheLastOneCoversTheLog) {
  auto request = RequestFor(log, target);
  request.blockChars = 32768;
  std::vector<LogConverter::Step> steps;
  const LogConverter::Result result = RunJob(request, [&](const LogConverter::Step& step) {
    steps.push_back(step);
    return true;
  });
  const uint64_t size = fs::file_size(log);
  // One step per block; a log that fills its last block exactly has a
  // last, empty read.
  ASSERT_EQ(steps.size(), size / 32768 + 1);
  for (size_t i = 1; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].done, std::min<uint64_t>(steps[i - 1].done + 32768, size));
    EXPECT_GE(steps[i].rows, steps[i - 1].rows);
  }
  EXPECT_EQ(steps.back().done, size);
  EXPECT_EQ(steps.back().total, size);
  EXPECT_EQ(steps.back().rows, result.rows);
}

TEST_F(ConversionJobTest, AStopKeepsTheHeaderAndEveryWholeRowMadeSoFar) {
  auto request = RequestFor(log, target);
  RunJob(request);
  const std::vector<std::string> full = SplitLines(ReadWholeFile(target));

  request.blockChars = 40000;
  int blocks = 0;
  uint64_t rowsAtStop = 0;
  const LogConverter::Result result = RunJob(request, [&](const LogConverter::Step& step) {
    rowsAtStop = step.rows;
    return ++blocks < 3;
  });
  EXPECT_EQ(result.status, Status::Cancelled);
  EXPECT_EQ(blocks, 3);
  ASSERT_GT(rowsAtStop, 0u);
  ASSERT_LT(rowsAtStop, 600u);
  EXPECT_EQ(result.rows, rowsAtStop);

  const std::vector<std::string> kept = SplitLines(ReadWholeFile(target));
  ASSERT_EQ(kept.size(), rowsAtStop + 1);
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), full.begin()));
  EXPECT_TRUE(kept.back().ends_with("\r\n"));
}

TEST_F(ConversionJobTest, TheSourceItselfIsNeverOpenedAsTarget) {
  const std::string original = ReadWholeFile(log);
  fs::create_symlink(log, folder / "link.txt");
  fs::create_hard_link(log, folder / "hard.txt");
  for (const fs::path& same :
       {log, folder / "link.txt", folder / "hard.txt", folder / "." / "log.txt"}) {
    ConversionJob job(RequestFor(log, same));
    EXPECT_EQ(job.Open(), Opening::SameFile) << same;
    EXPECT_EQ(job.Run().status, Status::Ok);
    EXPECT_EQ(ReadWholeFile(log), original) << same;
  }
  // A copy is another file.
  fs::copy_file(log, folder / "copy.txt");
  ConversionJob job(RequestFor(log, folder / "copy.txt"));
  EXPECT_EQ(job.Open(), Opening::Ready);
}

TEST_F(ConversionJobTest, TheLogBeingRecordedIsNeverOpenedAsTarget) {
  const fs::path recording = folder / "recording.txt";
  WriteWholeFile(recording, "AA 55 ");
  fs::create_symlink(recording, folder / "link.txt");
  for (const fs::path& busy : {recording, folder / "link.txt"}) {
    auto request = RequestFor(log, busy);
    request.busyPath = recording.string();
    ConversionJob job(std::move(request));
    EXPECT_EQ(job.Open(), Opening::TargetBusy) << busy;
    EXPECT_EQ(ReadWholeFile(recording), "AA 55 ") << busy;
  }
  auto request = RequestFor(log, folder / "other.txt");
  request.busyPath = recording.string();
  ConversionJob job(std::move(request));
  EXPECT_EQ(job.Open(), Opening::Ready);
}

TEST_F(ConversionJobTest, WithoutASourceTheTargetHoldsJustTheHeader) {
  for (const fs::path& source : {folder / "absent.txt", folder.Path(), fs::path()}) {
    ConversionJob job(RequestFor(source, target));
    EXPECT_EQ(job.Open(), Opening::SourceFailed) << source;
    const LogConverter::Result result = job.Run();
    EXPECT_EQ(result.status, Status::Ok);
    EXPECT_EQ(result.rows, 0u);
    EXPECT_EQ(ReadWholeFile(target), HeaderLine(AllColumns())) << source;
  }
  // No group chosen: an empty file.
  ConversionJob job(RequestFor(folder / "absent.txt", target, ConvertColumns{}));
  ASSERT_EQ(job.Open(), Opening::SourceFailed);
  job.Run();
  EXPECT_TRUE(fs::exists(target));
  EXPECT_EQ(fs::file_size(target), 0u);
}

TEST_F(ConversionJobTest, ATargetThatCannotBeCreatedLeavesNothingOpen) {
  for (const fs::path& bad : {folder / "no-such-folder" / "out.txt", folder.Path(), fs::path()}) {
    ConversionJob job(RequestFor(log, bad));
    EXPECT_EQ(job.Open(), Opening::TargetFailed) << bad;
    EXPECT_EQ(job.Run().rows, 0u);
  }
  EXPECT_FALSE(fs::exists(folder / "no-such-folder"));
}

TEST_F(ConversionJobTest, AFullDiskIsAWriteErrorWithItsReason) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ConversionJob job(RequestFor(log, "/dev/full"));
  ASSERT_EQ(job.Open(), Opening::Ready);
  const LogConverter::Result result = job.Run();
  EXPECT_EQ(result.status, Status::WriteError);
  EXPECT_EQ(result.errorNumber, ENOSPC);

  ConversionJob headerOnly(RequestFor(folder / "absent.txt", "/dev/full"));
  ASSERT_EQ(headerOnly.Open(), Opening::SourceFailed);
  const LogConverter::Result header = headerOnly.Run();
  EXPECT_EQ(header.status, Status::WriteError);
  EXPECT_EQ(header.errorNumber, ENOSPC);
}

TEST_F(ConversionJobTest, HeadingsFollowTheConfiguration) {
  NavSample s = FullSample();
  s.yaw = 359.0;
  std::vector<uint8_t> bytes;
  Append(bytes, BuildFrame120(s));
  WriteWholeFile(log, ToHexText(bytes.data(), bytes.size()));
  ConvertColumns attitude;
  attitude.Select(ColumnGroup::Attitude);

  auto request = RequestFor(log, target, attitude);
  RunJob(request);
  EXPECT_NE(ReadWholeFile(target).find("359.00000  \r\n"), std::string::npos);
  request.config = {"V3.11", "zhengfu180"};
  RunJob(request);
  EXPECT_NE(ReadWholeFile(target).find("-296.36000  \r\n"), std::string::npos);
}

TEST_F(ConversionJobTest, ReportsTheLogSize) {
  ConversionJob job(RequestFor(log, target));
  ASSERT_EQ(job.Open(), Opening::Ready);
  EXPECT_EQ(job.LogSize(), fs::file_size(log));
}

}  // namespace
