#include <windows.h>

#include <atomic>

#include "platform/interrupts.h"
#include "platform/native_path.h"

namespace pagefold::platform {
namespace {

std::atomic<bool> requested{false};
SRWLOCK removalLock = SRWLOCK_INIT;
std::wstring removal;  // the file that a request removes; empty for none
SRWLOCK holdLock = SRWLOCK_INIT;  // held by an InterruptsHeld

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI Record(DWORD) {
  requested = true;
  return TRUE;
}

// Returns FALSE so that the system's own handler then ends the program.
BOOL WINAPI RemoveAndEnd(DWORD) {
  ::AcquireSRWLockExclusive(&holdLock);
  ::ReleaseSRWLockExclusive(&holdLock);
  ::AcquireSRWLockExclusive(&removalLock);
  if (!removal.empty()) ::DeleteFileW(removal.c_str());
  ::ReleaseSRWLockExclusive(&removalLock);
  return FALSE;
}

}  // namespace

void CatchInterrupts() { ::SetConsoleCtrlHandler(Record, TRUE); }

bool InterruptRequested() { return requested; }

void RemoveFileOnInterrupt(const std::string& path) {
  const std::wstring native = path.empty() ? L"" : ToNativePath(path).value_or(L"");
  ::AcquireSRWLockExclusive(&removalLock);
  removal = native;
  ::ReleaseSRWLockExclusive(&removalLock);
  ::SetConsoleCtrlHandler(RemoveAndEnd, TRUE);
}

InterruptsHeld::InterruptsHeld() { ::AcquireSRWLockExclusive(&holdLock); }

InterruptsHeld::~InterruptsHeld() { ::ReleaseSRWLockExclusive(&holdLock); }

}  // namespace pagefold::platform
