#include "core/page_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using pagefold::Checkpoint;
using pagefold::PagePool;
using namespace std::chrono_literals;

bool AllLight(size_t) { return true; }
bool NoneLight(size_t) { return false; }

// The works end in any order; the waiting thread takes each in order, only
// once it is done, and what one raised comes with it and nowhere else,
// whichever thread ran it.
TEST(PagePool, ResultsComeInOrderOfNumberWithTheirOwnErrors) {
  constexpr size_t kCount = 300;
  std::vector<std::atomic<bool>> done(kCount);
  PagePool pool(
      kCount,
      [&](size_t i, const Checkpoint&) {
        if (i % 7 == 0) std::this_thread::sleep_for(1ms);
        if (i % 50 == 3) throw std::runtime_error("page " + std::to_string(i));
        done[i] = true;
      },
      [](size_t i) { return i % 2 == 1; });
  std::vector<std::string> errors;
  for (size_t i = 0; i < kCount; ++i) {
    try {
      pool.Wait(i, [] {});
      EXPECT_TRUE(done[i]) << i;
    } catch (const std::runtime_error& e) {
      errors.push_back(e.what());
      EXPECT_FALSE(done[i]) << i;
    }
  }
  EXPECT_EQ(errors, (std::vector<std::string>{"page 3", "page 53", "page 103", "page 153", "page 203", "page 253"}));
}

// The waiting thread gets each work as soon as it is done, whatever the
// works after it are doing, and handles its events meanwhile.
TEST(PagePool, AWorkIsTakenWhileTheOnesAfterItStillRun) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  PagePool pool(
      100,
      [&](size_t i, const Checkpoint&) {
        if (i == 0) std::this_thread::sleep_for(60ms);
        if (i == 1) released.wait();
      },
      NoneLight);
  int idles = 0;
  auto first = std::async(std::launch::async, [&] { pool.Wait(0, [&] { ++idles; }); });
  const bool taken = first.wait_for(10s) == std::future_status::ready;
  release.set_value();
  ASSERT_TRUE(taken);
  EXPECT_GT(idles, 0);  // the first work took longer than one wait between events
  for (size_t i = 1; i < 100; ++i) pool.Wait(i, [] {});
}

// Ending the pool stops the works at their next checkpoint and those not
// begun never begin.
TEST(PagePool, EndingStopsRunningWorksAtTheirCheckpointAndStartsNoMore) {
  std::atomic<int> started{0};
  {
    PagePool pool(
        1000,
        [&](size_t, const Checkpoint& checkpoint) {
          ++started;
          for (;;) {
            checkpoint();
            std::this_thread::sleep_for(1ms);
          }
        },
        AllLight);
    while (started == 0) std::this_thread::sleep_for(1ms);
  }
  EXPECT_GE(started, 1);
  EXPECT_LE(started, static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
}

// While the works it waits for run, the waiting thread does the light works
// not begun, never a heavy one, and still calls idle() between them.
TEST(PagePool, TheWaitingThreadDoesLightWorksOnlyAndStaysIdleBetween) {
  constexpr size_t kCount = 400;
  constexpr int kFirstOnWaiting = 15;  // of 2 ms each: more than the time between two idle() calls
  // The heavy works come after those that the pool's own threads take at once.
  const auto light = [](size_t i) { return i < 100 || i % 10 != 5; };
  const std::thread::id waiting = std::this_thread::get_id();
  std::vector<std::thread::id> ranOn(kCount);
  std::atomic<int> onWaiting{0};
  const auto giveUp = std::chrono::steady_clock::now() + 10s;
  PagePool pool(
      kCount,
      [&](size_t i, const Checkpoint&) {
        ranOn[i] = std::this_thread::get_id();
        if (ranOn[i] == waiting) ++onWaiting;
        // The pool's own threads hold their first works until the waiting one has done some.
        while (ranOn[i] != waiting && onWaiting < kFirstOnWaiting && std::chrono::steady_clock::now() < giveUp)
          std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(2ms);
      },
      light);
  int idles = 0;
  pool.Wait(kCount - 1, [&] { ++idles; });
  EXPECT_GE(onWaiting, kFirstOnWaiting);
  EXPECT_GT(idles, 0);
  for (size_t i = 0; i < kCount; ++i) {
    pool.Wait(i, [] {});
    if (ranOn[i] == waiting) {
      EXPECT_TRUE(light(i)) << i;
    }
  }
}

}  // namespace
