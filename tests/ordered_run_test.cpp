#include "core/ordered_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

using pagefold::OrderedRun;
using namespace std::chrono_literals;

// Results come in order; a job's error comes out where its result would,
// after the results before it, and no job after it runs.
TEST(OrderedRun, ResultsComeInOrderAndAnErrorWhereItsResultWould) {
  std::atomic<int> ran = 0;
  OrderedRun<std::string> run(6, [&](size_t i) {
    ++ran;
    if (i == 3) throw std::runtime_error("job 3 failed");
    return "job " + std::to_string(i);
  });
  EXPECT_EQ(run.Take(0, 10s), "job 0");
  EXPECT_EQ(run.Take(1, 10s), "job 1");
  EXPECT_EQ(run.Take(2, 10s), "job 2");
  try {
    run.Take(3, 10s);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "job 3 failed");
  }
  EXPECT_EQ(ran, 4);
}

// A job not ended within the wait gives nothing yet; once it ends, its
// result. Ending the run lets the job under way end and starts no other.
TEST(OrderedRun, WaitsNoLongerThanAskedAndStopsAfterTheJobUnderWay) {
  std::promise<void> first, rest;
  std::shared_future<void> firstEnds = first.get_future().share(), restEnds = rest.get_future().share();
  std::atomic<int> ran = 0;
  std::thread releaser;
  {
    OrderedRun<int> run(1000, [&](size_t i) {
      ++ran;
      (i == 0 ? firstEnds : restEnds).wait();
      return static_cast<int>(i) * 2 + 1;
    });
    EXPECT_EQ(run.Take(0, 20ms), std::nullopt);
    first.set_value();
    EXPECT_EQ(run.Take(0, 10s), 1);
    // Job 1 is under way, and ends only after the run has been told to end.
    while (ran < 2) std::this_thread::yield();
    releaser = std::thread([&] {
      std::this_thread::sleep_for(200ms);
      rest.set_value();
    });
  }
  releaser.join();
  EXPECT_EQ(ran, 2);
}

}  // namespace
