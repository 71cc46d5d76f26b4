#include <signal.h>

#include <initializer_list>

#include "platform/interrupts.h"

namespace platform {
namespace {

volatile sig_atomic_t requested = 0;

void Record(int) { requested = 1; }

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = Record;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(number, &action, nullptr);
}

bool InterruptRequested() { return requested != 0; }

}  // namespace platform
