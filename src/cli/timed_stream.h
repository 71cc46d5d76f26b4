// A connection of the preview server as its HTTP library reads and writes
// it: each request must arrive whole before a deadline, however slowly its
// bytes come, and each write must get through within a time limit, so that
// slow clients cannot hold the server's threads.
#pragma once

#include <httplib.h>

#include <chrono>

namespace pagefold::cli {

class TimedStream : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  explicit TimedStream(int socket) : socket_(socket) {}

  // From now on reads end at the deadline: the next request must be in by then.
  void SetReadDeadline(Clock::time_point deadline) { deadline_ = deadline; }

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return socket_; }

 private:
  int MsLeft() const;

  int socket_;
  Clock::time_point deadline_ = Clock::now();
  // Bytes received and not yet read: the library reads a request a byte at a time.
  char buffer_[4096];
  size_t begin_ = 0, end_ = 0;
};

}  // namespace pagefold::cli
