// How the POSIX tests of pagefold-cli start it: the command line, as user
// 65534 through setpriv when asked while the tests run as root, and the
// environment with TMPDIR in a folder of the test's own.
#pragma once

#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace testing_support {

constexpr const char* kSetpriv = "/usr/bin/setpriv";
constexpr uid_t kNobody = 65534;

class CliCommand {
 public:
  // Built before the fork, so that the child allocates nothing.
  CliCommand(bool unprivileged, const std::vector<std::string>& args, const std::string& tmpdir) {
    if (unprivileged && ::geteuid() == 0)
      argv_ = {kSetpriv, "--reuid=" + std::to_string(kNobody), "--regid=" + std::to_string(kNobody), "--clear-groups"};
    argv_.push_back(PAGEFOLD_CLI_PATH);
    argv_.insert(argv_.end(), args.begin(), args.end());
    env_ = {"TMPDIR=" + tmpdir};
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("TMPDIR=", 0) != 0) env_.push_back(*e);
    for (std::string& a : argv_) rawArgv_.push_back(a.data());
    for (std::string& e : env_) rawEnv_.push_back(e.data());
    rawArgv_.push_back(nullptr);
    rawEnv_.push_back(nullptr);
  }

  // In the child: becomes the program, or ends with 127.
  [[noreturn]] void Exec() {
    ::execve(rawArgv_[0], rawArgv_.data(), rawEnv_.data());
    ::_exit(127);
  }

 private:
  std::vector<std::string> argv_, env_;
  std::vector<char*> rawArgv_, rawEnv_;
};

}  // namespace testing_support
