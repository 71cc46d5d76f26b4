#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>

#include "platform/interrupts.h"
#include "platform/native_path.h"

namespace pagefold::platform {
namespace {

constexpr std::initializer_list<int> kRequests = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t requested = 0;

// The file that a request removes; empty for none. Written only while the
// requests are blocked, so the handler never sees half a path.
char removal[4096] = "";

void Record(int) { requested = 1; }

void RemoveAndEnd(int number) {
  if (removal[0] != '\0') ::unlink(removal);
  ::signal(number, SIG_DFL);
  ::raise(number);  // delivered when the handler returns
}

void Install(void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  for (int number : kRequests) ::sigaction(number, &action, nullptr);
}

}  // namespace

void CatchInterrupts() { Install(Record, SA_RESTART); }

bool InterruptRequested() { return requested != 0; }

void RemoveFileOnInterrupt(const std::string& path) {
  const std::string native = path.empty() ? "" : ToNativePath(path).value_or("");
  sigset_t blocked, saved;
  sigemptyset(&blocked);
  for (int number : kRequests) sigaddset(&blocked, number);
  ::sigprocmask(SIG_BLOCK, &blocked, &saved);
  if (native.size() < sizeof removal) std::memcpy(removal, native.c_str(), native.size() + 1);
  else removal[0] = '\0';
  Install(RemoveAndEnd, 0);
  ::sigprocmask(SIG_SETMASK, &saved, nullptr);
}

}  // namespace pagefold::platform
