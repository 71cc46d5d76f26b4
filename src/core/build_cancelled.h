// The end of a build that the user cut short by closing the program.
#pragma once

#include <stdexcept>

#include "core/build_host.h"
#include "core/build_texts.h"

namespace pagefold {

// Raised inside a build when its host reports that the program is closing. A
// running compiler has been ended by then, and the build removes what it made
// on the way out, as after any error. Its text is "Сборка прервана".
class BuildCancelled : public std::runtime_error {
 public:
  BuildCancelled() : std::runtime_error(texts::kCancelled) {}
};

// Raises BuildCancelled when the host reports that the program is closing.
inline void StopWhenClosing(BuildHost& host) {
  if (host.Closing()) throw BuildCancelled();
}

}  // namespace pagefold
