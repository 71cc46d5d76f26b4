// Work of the window's thread that may take long (listing a large folder):
// it runs on a worker thread while the window goes on handling its events,
// so that it repaints and can be moved meanwhile.
#pragma once

#include <chrono>
#include <future>
#include <utility>

#include "core/build_host.h"

namespace pagefold::gui {

// How long work may keep the window waiting before its events are handled:
// short enough not to be seen, long enough that quick work changes nothing.
inline constexpr std::chrono::milliseconds kUnseenWait{100};
// How often the window's events are handled after that.
inline constexpr std::chrono::milliseconds kEventsEvery{16};

// Runs work (which must not touch the window) on a worker thread and returns
// its result, or raises what it raised. Should it outlast kUnseenWait, the
// window's controls that take input are disabled until it ends, so that
// nothing the user does can start work of its own, and the window handles
// its events every kEventsEvery.
template <typename Work>
auto WorkBetweenEvents(BuildHost& window, Work work) -> decltype(work()) {
  auto result = std::async(std::launch::async, std::move(work));
  if (result.wait_for(kUnseenWait) == std::future_status::ready) return result.get();
  struct InputsDisabled {
    explicit InputsDisabled(BuildHost& window) : window(window) { window.SetWindowEnabled(false); }
    ~InputsDisabled() { window.SetWindowEnabled(true); }
    InputsDisabled(const InputsDisabled&) = delete;
    InputsDisabled& operator=(const InputsDisabled&) = delete;
    BuildHost& window;
  } disabled(window);
  while (result.wait_for(kEventsEvery) != std::future_status::ready) window.PumpAllEvents();
  return result.get();
}

}  // namespace pagefold::gui
