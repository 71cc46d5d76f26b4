#include "cli/preview_server.h"

#include "cli/timed_stream.h"
#include "platform/socket_io.h"

namespace pagefold::cli {
namespace {

constexpr int kThreads = 64;
constexpr int kRequestsPerConnection = 5;
constexpr auto kRequestTime = std::chrono::seconds(10);  // for a request's line and headers
constexpr int kIdleMs = 5000;                             // between two requests of a connection
constexpr int kIdleStepMs = 100;                          // how soon a stopping server notices

}  // namespace

PreviewServer::PreviewServer() {
  new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  set_socket_options([](socket_t socket) { platform::RebindableButNotShared(socket); });
}

bool PreviewServer::process_and_close_socket(socket_t socket) {
  TimedStream stream(socket);
  for (int left = kRequestsPerConnection; left > 0; --left) {
    // The next request, unless the connection stays idle or the server stops.
    int idle = 0;
    while (svr_sock_ != INVALID_SOCKET && idle < kIdleMs && !platform::WaitReadable(socket, kIdleStepMs))
      idle += kIdleStepMs;
    if (svr_sock_ == INVALID_SOCKET || idle >= kIdleMs) break;
    stream.SetReadDeadline(TimedStream::Clock::now() + kRequestTime);
    bool closed = false;
    if (!process_request(stream, left == 1, closed, [](httplib::Request&) {}) || closed) break;
  }
  platform::ShutdownAndClose(socket);
  return true;
}

}  // namespace pagefold::cli
