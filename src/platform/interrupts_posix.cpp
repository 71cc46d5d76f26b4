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

sigset_t Requests() {
  sigset_t set;
  sigemptyset(&set);
  for (int number : kRequests) sigaddset(&set, number);
  return set;
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
  const sigset_t blocked = Requests();
  sigset_t saved;
  ::sigprocmask(SIG_BLOCK, &blocked, &saved);
  if (native.size() < sizeof removal) std::memcpy(removal, native.c_str(), native.size() + 1);
  else removal[0] = '\0';
  Install(RemoveAndEnd, 0);
  ::sigprocmask(SIG_SETMASK, &saved, nullptr);
}

InterruptsHeld::InterruptsHeld() {
  const sigset_t blocked = Requests();
  ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
}

InterruptsHeld::~InterruptsHeld() {
  const sigset_t blocked = Requests();
  ::sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
}

}  // namespace pagefold::platform
