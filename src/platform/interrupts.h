// Requests to end the program from outside (Ctrl+C, SIGTERM, SIGHUP; the
// console's control events on Windows), turned into a flag that the program
// checks, so that it can finish tidily instead of dying where it stands.
#pragma once

namespace platform {

// From now on such a request sets the flag instead of ending the program.
void CatchInterrupts();

// True once a request has come after CatchInterrupts.
bool InterruptRequested();

}  // namespace platform
