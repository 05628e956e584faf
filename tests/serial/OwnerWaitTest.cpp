#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <utility>

#include "serial/OwnerWait.h"

namespace {

TEST(OwnerWaitTest, ReleaseEndsAWaitTheOwnerNeverAnswers) {
  OwnerWait wait;
  OwnerReceipt kept = wait.NewReceipt();
  auto waiting = std::async(std::launch::async, [&] { return wait.WaitFor(kept); });
  wait.Release();
  EXPECT_FALSE(waiting.get());
  // Once released, later waits do not block either.
  OwnerReceipt later = wait.NewReceipt();
  EXPECT_FALSE(wait.WaitFor(later));
}

TEST(OwnerWaitTest, AReceiptDroppedUnansweredReleasesTheWorker) {
  OwnerWait wait;
  auto* held = new OwnerReceipt(wait.NewReceipt());
  auto waiting = std::async(std::launch::async, [&wait, forWorker = *held]() mutable {
    return wait.WaitFor(std::move(forWorker));
  });
  delete held;  // e.g. a queued event discarded with its window
  EXPECT_TRUE(waiting.get());
}

TEST(OwnerWaitTest, ALateAnswerToAnEarlierHandOverDoesNotEndTheCurrentOne) {
  OwnerWait wait;
  OwnerReceipt first = wait.NewReceipt();
  OwnerReceipt second = wait.NewReceipt();
  first.Complete();
  wait.Release();
  // Only the release ended it: the stale answer did not count as this one.
  EXPECT_FALSE(wait.WaitFor(second));
}

}  // namespace
