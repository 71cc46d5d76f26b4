// Requests to end the program from outside (Ctrl+C, SIGTERM, SIGHUP; the
// console's control events on Windows): turned into a flag that the program
// checks, so that it can finish tidily instead of dying where it stands, or
// answered by removing an unfinished file before the program ends.
#pragma once

#include <string>

namespace pagefold::platform {

// From now on such a request sets the flag instead of ending the program.
void CatchInterrupts();

// True once a request has come after CatchInterrupts.
bool InterruptRequested();

// From now on such a request removes the file at the path, then ends the
// program as it would have without this; an empty path stops the removal.
void RemoveFileOnInterrupt(const std::string& path);

// While one lives, such requests wait; one that came meanwhile is answered
// when it ends. Lets a file be made and its removal set with no moment
// between the two in which a request would leave it behind. Not nested.
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
};

}  // namespace pagefold::platform
