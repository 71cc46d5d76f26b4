#include "core/frame_clock.h"

namespace pagefold {

bool FrameClock::Due(Clock::time_point now) {
  if (started_ && now - last_ < every_) return false;
  started_ = true;
  last_ = now;
  return true;
}

}  // namespace pagefold
