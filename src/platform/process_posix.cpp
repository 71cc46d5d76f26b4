#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/native_path.h"
#include "platform/process.h"
#include "platform/process_output.h"
#include "text/cp1251.h"

extern char** environ;

namespace platform {
namespace {

constexpr long kEndStepMs = 2;

void SleepMs(long ms) {
  timespec delay{ms / 1000, (ms % 1000) * 1000000L};
  while (::nanosleep(&delay, &delay) != 0 && errno == EINTR) {
  }
}

}  // namespace

struct Process::Impl {
  pid_t pid = -1;      // -1: nothing to wait for
  int output = -1;     // read end of the pipe; -1 once it is closed
  bool exited = false;
  int status = 0;
  ProcessOutput printed;

  // Takes in what the pipe holds now; closes it at its end.
  void Drain() {
    char buffer[1 << 14];
    while (output >= 0) {
      const ssize_t n = ::read(output, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) return;
      if (n <= 0) {
        ::close(output);
        output = -1;
        return;
      }
      printed.Append(buffer, static_cast<std::size_t>(n));
    }
  }

  // Waits for output or the pipe's end, at most ms. Once the pipe is closed
  // the program is about to end, so the wait is short.
  void WaitForOutput(long ms) {
    if (output < 0) {
      SleepMs(std::min(ms, kEndStepMs));
      return;
    }
    pollfd fd{output, POLLIN, 0};
    if (::poll(&fd, 1, static_cast<int>(ms)) > 0) Drain();
  }
};

Process::Process() : impl_(std::make_unique<Impl>()) {}

Process::~Process() {
  Terminate();
  if (impl_->output >= 0) ::close(impl_->output);
}

bool Process::Start(const std::string& program, const std::string& argument) {
  const auto nativeProgram = ToNativePath(program);
  const auto nativeArgument = text::Cp1251ToUtf8(argument);
  if (!nativeProgram || !nativeArgument) {
    errno = EILSEQ;
    return false;
  }
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  // Nothing else that this program holds open reaches the child.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  // A group of its own: a terminal's Ctrl+C reaches this program, which ends
  // the child itself. Signals that this program ignores or catches start at
  // their defaults in the child.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  char* argv[] = {const_cast<char*>(nativeProgram->c_str()), const_cast<char*>(nativeArgument->c_str()),
                  nullptr};
  pid_t pid = -1;
  const int error = ::posix_spawn(&pid, nativeProgram->c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (error != 0) {
    ::close(pipeFds[0]);
    errno = error;
    return false;
  }
  ::fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
  impl_->pid = pid;
  impl_->output = pipeFds[0];
  return true;
}

Process::State Process::Wait(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (impl_->pid < 0) return impl_->exited ? State::Exited : State::Lost;
    const pid_t done = ::waitpid(impl_->pid, &impl_->status, WNOHANG);
    if (done < 0 && errno != EINTR) {
      impl_->pid = -1;
      return State::Lost;
    }
    if (done == impl_->pid) {
      impl_->pid = -1;
      impl_->exited = true;
      impl_->Drain();
      return State::Exited;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return State::Running;
    impl_->WaitForOutput(left.count());
  }
}

int Process::ExitCode() const {
  if (WIFSIGNALED(impl_->status)) return 128 + WTERMSIG(impl_->status);
  return WEXITSTATUS(impl_->status);
}

std::string Process::Output() const { return impl_->printed.Text(); }

void Process::Terminate() {
  if (impl_->pid < 0) return;
  ::kill(-impl_->pid, SIGKILL);  // the child's group: whatever it started goes too
  while (::waitpid(impl_->pid, &impl_->status, 0) < 0 && errno == EINTR) {
  }
  impl_->pid = -1;
}

bool RefusedToRunFrom(int code) { return code == EACCES || code == EPERM; }

}  // namespace platform
