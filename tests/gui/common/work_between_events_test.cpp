// Work of the window's thread run on a worker while the window handles its
// events. The work here waits for the window's first pump, so that it lasts
// until the window has handled events, however fast the machine.
#include "gui/common/work_between_events.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

#include "recording_host.h"

namespace {

using pagefold::gui::WorkBetweenEvents;
using testing_support::RecordingHost;
using Lines = std::vector<std::string>;

class WorkBetweenEventsTest : public testing::Test {
 protected:
  WorkBetweenEventsTest() {
    window.onPump = [this] {
      ++pumps;
      if (pumps == 1) pumped.set_value(std::this_thread::get_id());
    };
  }

  // The thread of the window's first pump, once it has run; waits for it at
  // most a minute.
  std::thread::id FirstPumpThread() {
    std::future<std::thread::id> first = pumped.get_future();
    return first.wait_for(std::chrono::minutes(1)) == std::future_status::ready ? first.get() : std::thread::id();
  }

  RecordingHost window;
  std::promise<std::thread::id> pumped;
  int pumps = 0;
};

TEST_F(WorkBetweenEventsTest, TheWindowHandlesItsEventsWithItsInputsDisabledWhileTheWorkRuns) {
  const std::thread::id windowThread = std::this_thread::get_id();
  const std::string result = WorkBetweenEvents(window, [&] {
    const std::thread::id pumpThread = FirstPumpThread();
    if (pumpThread == std::thread::id()) return std::string("no pump while the work ran");
    if (std::this_thread::get_id() == windowThread) return std::string("the work ran on the window's thread");
    if (pumpThread != windowThread) return std::string("the window pumped on another thread");
    return std::string("listed");
  });
  EXPECT_EQ(result, "listed");
  ASSERT_GE(window.log.size(), 3u);
  EXPECT_EQ(window.log.front(), "window off");
  EXPECT_EQ(window.log.back(), "window on");
  EXPECT_EQ(Lines(window.log.begin() + 1, window.log.end() - 1), Lines(window.log.size() - 2, "pumpall"));
  EXPECT_TRUE(window.windowEnabled);
}

TEST_F(WorkBetweenEventsTest, AnErrorOfTheWorkReachesTheWindowsThreadWithItsInputsEnabledAgain) {
  const auto work = [&]() -> int {
    FirstPumpThread();
    throw std::runtime_error("I/O error 5");
  };
  try {
    WorkBetweenEvents(window, work);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "I/O error 5");
  }
  EXPECT_EQ(window.log.back(), "window on");
  EXPECT_TRUE(window.windowEnabled);
  EXPECT_GE(pumps, 1);
}

}  // namespace
