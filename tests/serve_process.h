// pagefold-cli --serve FILE --port 0 as a child process of a test, its
// address read from the first line it prints.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class ServeProcess {
 public:
  ServeProcess(const std::filesystem::path& res, const std::filesystem::path& log) {
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(err, 2);
      execl(PAGEFOLD_CLI_PATH, PAGEFOLD_CLI_PATH, "--serve", res.c_str(), "--port", "0", nullptr);
      _exit(127);
    }
    close(out[1]);
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') firstLine_ += c;
    close(out[0]);
    const size_t colon = firstLine_.find("127.0.0.1:");
    if (colon != std::string::npos) port_ = std::atoi(firstLine_.c_str() + colon + 10);
  }
  ServeProcess(const ServeProcess&) = delete;
  ServeProcess& operator=(const ServeProcess&) = delete;
  ~ServeProcess() { Stop(); }

  // SIGTERM; the exit code, -1 when it did not exit or was stopped before.
  int Stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int port() const { return port_; }
  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& firstLine() const { return firstLine_; }
  // The most memory it has held so far, in KiB.
  long PeakKiB() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string firstLine_;
};
