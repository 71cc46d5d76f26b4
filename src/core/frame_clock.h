// How often a front end shows something during a build. A build changes the
// counter and the progress bar for every file and lets a window handle its
// events between files, tens of thousands of times: painting or writing each
// change, or asking the system for events each time, costs more than the
// build itself, while a person sees no more than 60 frames a second and
// notices no delay of a millisecond.
#pragma once

#include <chrono>

namespace pagefold {

class FrameClock {
 public:
  using Clock = std::chrono::steady_clock;
  // A frame at 60 frames a second.
  static constexpr Clock::duration kFrame = std::chrono::microseconds(1000000 / 60);
  // How often a build lets the window handle its events: after every file it
  // would ask the system tens of thousands of times, a tenth of the build.
  static constexpr Clock::duration kEvents = std::chrono::milliseconds(1);

  explicit FrameClock(Clock::duration every = kFrame) : every_(every) {}

  // True when a frame is due at now: the first time, then once the interval
  // has passed since the last frame that was due.
  bool Due(Clock::time_point now = Clock::now());

 private:
  Clock::duration every_;
  bool started_ = false;
  Clock::time_point last_{};
};

}  // namespace pagefold
