#include <windows.h>

#include <atomic>

#include "platform/interrupts.h"

namespace platform {
namespace {

std::atomic<bool> requested{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI Record(DWORD) {
  requested = true;
  return TRUE;
}

}  // namespace

void CatchInterrupts() { ::SetConsoleCtrlHandler(Record, TRUE); }

bool InterruptRequested() { return requested; }

}  // namespace platform
