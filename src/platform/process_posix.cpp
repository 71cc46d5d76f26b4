#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/folder_handle.h"
#include "platform/native_path.h"
#include "platform/process.h"
#include "platform/process_output.h"
#include "text/cp1251.h"

extern char** environ;

namespace pagefold::platform {
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

namespace {

// Everything the child needs, made before the fork: after it the child may
// only make system calls.
struct ChildSetup {
  std::vector<std::string> strings;  // argv, then the environment
  std::vector<char*> argv, envp;
  pid_t parent = ::getpid();
  int output = -1;  // the pipe's write end: its standard output and error
  int folder = -1;  // handed to it as FolderHandle::kHandedOverDescriptor
  int error = -1;   // a failed exec writes its errno here

  // Moves the descriptor to 10 or above, where the standard ones and the
  // handed-over one cannot overwrite it. -1 on failure.
  static int Above(int fd) { return fd < 0 ? fd : ::fcntl(fd, F_DUPFD_CLOEXEC, 10); }

  [[noreturn]] void Fail() {
    const int code = errno;
    while (::write(error, &code, sizeof code) < 0 && errno == EINTR) {
    }
    ::_exit(127);
  }

  [[noreturn]] void Run() {
    // Ends with the thread that started it; one that has ended already has
    // made this child an orphan before the request could take effect.
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != parent) Fail();
    // A group of its own: a terminal's Ctrl+C reaches this program, which
    // ends the child itself. Signals start at their defaults, none blocked.
    if (::setpgid(0, 0) != 0) Fail();
    for (int number = 1; number < NSIG; ++number)
      if (number != SIGKILL && number != SIGSTOP) ::signal(number, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    output = Above(output);
    folder = Above(folder);
    error = Above(error);
    const int input = ::open("/dev/null", O_RDONLY);
    if (output < 0 || error < 0 || input < 0 || ::dup2(input, 0) < 0 || ::dup2(output, 1) < 0 ||
        ::dup2(output, 2) < 0)
      Fail();
    int first = 3;
    if (folder >= 0) {
      if (::dup2(folder, FolderHandle::kHandedOverDescriptor) < 0) Fail();
      first = FolderHandle::kHandedOverDescriptor + 1;
    }
    // Nothing else that this program holds open reaches the child.
    ::close_range(static_cast<unsigned>(first), static_cast<unsigned>(error) - 1, 0);
    ::close_range(static_cast<unsigned>(error) + 1, ~0U, 0);
    ::execve(argv[0], argv.data(), envp.data());
    Fail();
  }
};

// The environment of this program with the handed-over entries added.
void AddEnvironment(ChildSetup& setup, const Handover& handover) {
  for (char** entry = environ; *entry; ++entry) setup.strings.emplace_back(*entry);
  for (const std::string& entry : handover.environment) setup.strings.push_back(entry);
}

// The errno a failed exec reported; 0 when the program runs.
int ExecError(int fd) {
  int code = 0;
  ssize_t n;
  while ((n = ::read(fd, &code, sizeof code)) < 0 && errno == EINTR) {
  }
  return n == sizeof code ? code : 0;
}

}  // namespace

bool Process::Start(const std::string& program, const std::string& argument, const Handover& handover) {
  const auto nativeProgram = ToNativePath(program);
  const auto nativeArgument = text::Cp1251ToUtf8(argument);
  if (!nativeProgram || !nativeArgument) {
    errno = EILSEQ;
    return false;
  }
  ChildSetup setup;
  setup.strings = {*nativeProgram, *nativeArgument};
  if (handover.folder) {
    const auto folder = ToNativePath(handover.folder->Path());
    if (!folder) {
      errno = EILSEQ;
      return false;
    }
    setup.strings.push_back(std::string(FolderHandle::kHandedOverName) + "=" + *folder);
    setup.folder = static_cast<int>(handover.folder->handle_);
  }
  AddEnvironment(setup, handover);
  for (std::size_t i = 0; i < 2; ++i) setup.argv.push_back(setup.strings[i].data());
  setup.argv.push_back(nullptr);
  for (std::size_t i = 2; i < setup.strings.size(); ++i) setup.envp.push_back(setup.strings[i].data());
  setup.envp.push_back(nullptr);

  int pipeFds[2], errorFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  if (::pipe2(errorFds, O_CLOEXEC) != 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return false;
  }
  setup.output = pipeFds[1];
  setup.error = errorFds[1];
  const pid_t pid = ::fork();
  if (pid == 0) setup.Run();
  const int forkError = errno;
  ::close(pipeFds[1]);
  ::close(errorFds[1]);
  const int error = pid < 0 ? forkError : ExecError(errorFds[0]);
  ::close(errorFds[0]);
  if (error != 0) {
    if (pid > 0)
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
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

}  // namespace pagefold::platform
