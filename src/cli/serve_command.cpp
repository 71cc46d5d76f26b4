#include "cli/serve_command.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "core/escaped_text.h"
#include "cli/preview_server.h"
#include "cli/res_site.h"
#include "cli/open_res_file.h"
#include "platform/console.h"
#include "platform/interrupts.h"
#include "platform/platform_error.h"
#include "text/case_rules.h"
#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

const char kHost[] = "127.0.0.1";
constexpr size_t kLoggedTarget = 200;
constexpr size_t kMaxRanges = 16;
constexpr size_t kChunk = 1 << 16;

// One line per request on stderr; long targets are cut, control bytes escaped.
void LogRequest(const httplib::Request& request, const httplib::Response& response) {
  static std::mutex mutex;
  std::string target = EscapedControlBytes(request.target.substr(0, kLoggedTarget));
  if (request.target.size() > kLoggedTarget) target += "...";
  const std::string line =
      EscapedControlBytes(request.method) + " " + target + " " + std::to_string(response.status) + "\n";
  const std::lock_guard<std::mutex> lock(mutex);
  platform::WriteToStderr(line);
}

// Only addresses of this server by its own name: a page of another site that
// a browser reaches through DNS rebinding sends that site's name.
bool IsOwnHost(const httplib::Request& request, int port) {
  const std::string host = text::LowerAscii(request.get_header_value("Host"));
  const std::string suffix = ":" + std::to_string(port);
  return host == kHost + suffix || host == "localhost" + suffix;
}

// Ranges that start inside the resource and ask, together and in few
// ranges, for at most its size: more would let one short request ask for the
// resource many times.
bool RangesWithinOneCopy(const httplib::Ranges& ranges, std::uint64_t size) {
  if (ranges.size() > kMaxRanges) return false;
  std::uint64_t total = 0;
  for (const auto& [first, last] : ranges) {
    if (first >= 0 && static_cast<std::uint64_t>(first) >= size) return false;
    if (first < 0) total += std::min<std::uint64_t>(static_cast<std::uint64_t>(last), size);
    else if (last < 0) total += size - std::min<std::uint64_t>(static_cast<std::uint64_t>(first), size);
    else total += static_cast<std::uint64_t>(last - first + 1);
  }
  return total <= size;
}

void Answer(const ResSite& site, int port, const httplib::Request& request, httplib::Response& response) {
  if (!IsOwnHost(request, port)) {
    response.status = 403;
    return;
  }
  if (request.method != "GET" && request.method != "HEAD") {
    response.status = 405;
    return;
  }
  SiteAnswer answer = site.Get(request.target);
  if (answer.status == 302) response.set_redirect(answer.location);
  // The library answers 200, or 206 for ranges.
  if (answer.status != 200) {
    response.status = answer.status;
    return;
  }
  const ResEntry& entry = *answer.entry;
  if (!RangesWithinOneCopy(request.ranges, entry.dataSize)) {
    response.status = 416;
    response.set_header("Content-Range", "bytes */" + std::to_string(entry.dataSize));
    return;
  }
  // Read from the file piece by piece as the answer is sent; a HEAD request
  // reads nothing.
  response.set_content_provider(
      entry.dataSize, answer.contentType.c_str(),
      [&site, &entry](size_t offset, size_t length, httplib::DataSink& sink) {
        char chunk[kChunk];
        const size_t n = site.ReadData(entry, offset, chunk, std::min(length, kChunk));
        return n > 0 && sink.write(chunk, n);
      });
}

// Ends the server once Ctrl+C or SIGTERM has come, or once it has stopped.
void StopOnInterrupt(httplib::Server& server, const std::atomic<bool>& stopped) {
  while (!stopped) {
    if (platform::InterruptRequested()) {
      server.stop();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

int Serve(const ResSite& site, int port) {
  PreviewServer server;
  server.set_pre_routing_handler([&site, &port](const httplib::Request& request, httplib::Response& response) {
    Answer(site, port, request, response);
    return httplib::Server::HandlerResponse::Handled;
  });
  // The library refuses targets beyond its own limit before they reach the
  // site; they get the site's answer to over-long paths.
  server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.status == 414) response.status = 404;
  });
  server.set_logger(LogRequest);
  // A port that another server listens on is refused, that server's own too.
  const int asked = port;
  if (port == 0) {
    port = server.bind_to_any_port(kHost);
  } else if (!server.bind_to_port(kHost, port)) {
    port = -1;
  }
  if (port <= 0) {
    const std::string which = asked == 0 ? "" : " " + std::to_string(asked);
    platform::WriteToStderr(text::Cp1251Text("Не удалось открыть порт") + which + text::Cp1251Text(" на ") + kHost +
                            ": " + platform::SystemErrorText(platform::LastErrorCode()) + "\n");
    return 1;
  }
  platform::CatchInterrupts();
  platform::WriteToStdout(text::Cp1251Text("Откройте в браузере: http://") + kHost + ":" + std::to_string(port) +
                          text::Cp1251Text("/ (остановка: Ctrl+C)\n"));
  std::atomic<bool> stopped = false;
  std::thread watcher(StopOnInterrupt, std::ref(server), std::cref(stopped));
  server.listen_after_bind();
  stopped = true;
  watcher.join();
  return 0;
}

}  // namespace

int RunServeCommand(const std::string& resFile, int port) {
  FileResSource source;
  if (!OpenResFile(source, resFile)) return 1;
  const ResListing listing = ListResources(source);
  if (!listing.error.empty()) {
    platform::WriteToStderr(resFile + ": " + listing.error + "\n");
    return 1;
  }
  const ResSite site(source, listing);
  return Serve(site, port);
}

}  // namespace pagefold::cli
