#include "platform/socket_io.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace pagefold::platform {
namespace {

bool WaitFor(int socket, short events, int ms) {
  pollfd fd{socket, events, 0};
  int n;
  while ((n = ::poll(&fd, 1, ms)) < 0 && errno == EINTR) {
  }
  return n > 0;
}

void Address(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = "";
  port = 0;
  if (address.ss_family == AF_INET) {
    const auto& in = reinterpret_cast<const sockaddr_in&>(address);
    ::inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
    port = ntohs(in.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& in = reinterpret_cast<const sockaddr_in6&>(address);
    ::inet_ntop(AF_INET6, &in.sin6_addr, text, sizeof text);
    port = ntohs(in.sin6_port);
  }
  ip = text;
}

}  // namespace

bool WaitReadable(int socket, int ms) { return WaitFor(socket, POLLIN, ms); }

bool WaitWritable(int socket, int ms) { return WaitFor(socket, POLLOUT, ms); }

std::int64_t ReceiveSome(int socket, void* buffer, std::size_t size) {
  ssize_t n;
  while ((n = ::recv(socket, buffer, size, 0)) < 0 && errno == EINTR) {
  }
  return n;
}

std::int64_t SendSome(int socket, const void* data, std::size_t size) {
  ssize_t n;
  while ((n = ::send(socket, data, size, MSG_NOSIGNAL)) < 0 && errno == EINTR) {
  }
  return n;
}

void PeerAddress(int socket, std::string& ip, int& port) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) address.ss_family = AF_UNSPEC;
  Address(address, ip, port);
}

void LocalAddress(int socket, std::string& ip, int& port) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) address.ss_family = AF_UNSPEC;
  Address(address, ip, port);
}

void ShutdownAndClose(int socket) {
  ::shutdown(socket, SHUT_RDWR);
  ::close(socket);
}

// On Linux SO_REUSEADDR lets a listening socket bind over connections still
// in TIME_WAIT, not over another listening socket; SO_REUSEPORT would.
bool RebindableButNotShared(int socket) {
  const int yes = 1;
  return ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0;
}

}  // namespace pagefold::platform
