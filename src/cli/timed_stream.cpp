#include "cli/timed_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/socket_io.h"

namespace pagefold::cli {
namespace {

constexpr int kWriteMs = 5000;

}  // namespace

int TimedStream::MsLeft() const {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
  return static_cast<int>(std::max<long long>(left, 0));
}

bool TimedStream::is_readable() const {
  return begin_ < end_ || (MsLeft() > 0 && platform::WaitReadable(socket_, MsLeft()));
}

bool TimedStream::is_writable() const { return platform::WaitWritable(socket_, kWriteMs); }

ssize_t TimedStream::read(char* ptr, size_t size) {
  if (begin_ == end_) {
    if (!is_readable()) return -1;
    const std::int64_t n = platform::ReceiveSome(socket_, buffer_, sizeof buffer_);
    if (n <= 0) return static_cast<ssize_t>(n);
    begin_ = 0;
    end_ = static_cast<size_t>(n);
  }
  const size_t n = std::min(size, end_ - begin_);
  std::memcpy(ptr, buffer_ + begin_, n);
  begin_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t TimedStream::write(const char* ptr, size_t size) {
  if (!is_writable()) return -1;
  return static_cast<ssize_t>(platform::SendSome(socket_, ptr, size));
}

void TimedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  platform::PeerAddress(socket_, ip, port);
}

void TimedStream::get_local_ip_and_port(std::string& ip, int& port) const {
  platform::LocalAddress(socket_, ip, port);
}

}  // namespace pagefold::cli
