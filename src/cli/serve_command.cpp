#include "cli/serve_command.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "cli/res_site.h"
#include "platform/console.h"
#include "platform/interrupts.h"
#include "platform/platform_error.h"
#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

const char kHost[] = "127.0.0.1";
constexpr size_t kLoggedTarget = 200;

// One line per request on stderr; long targets are cut.
void LogRequest(const httplib::Request& request, const httplib::Response& response) {
  static std::mutex mutex;
  std::string target = request.target.substr(0, kLoggedTarget);
  if (request.target.size() > kLoggedTarget) target += "...";
  const std::lock_guard<std::mutex> lock(mutex);
  platform::WriteToStderr(request.method + " " + target + " " + std::to_string(response.status) + "\n");
}

void Answer(const ResSite& site, const httplib::Request& request, httplib::Response& response) {
  if (request.method != "GET" && request.method != "HEAD") {
    response.status = 405;
    return;
  }
  SiteAnswer answer = site.Get(request.target);
  response.status = answer.status;
  if (answer.status == 200) response.set_content(std::move(answer.body), answer.contentType.c_str());
  if (answer.status == 302) response.set_redirect(answer.location);
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
  httplib::Server server;
  server.set_pre_routing_handler([&site](const httplib::Request& request, httplib::Response& response) {
    Answer(site, request, response);
    return httplib::Server::HandlerResponse::Handled;
  });
  // The library refuses targets beyond its own limit before they reach the
  // site; they get the site's answer to over-long paths.
  server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.status == 414) response.status = 404;
  });
  server.set_logger(LogRequest);
  if (port == 0) {
    port = server.bind_to_any_port(kHost);
  } else if (!server.bind_to_port(kHost, port)) {
    port = -1;
  }
  if (port <= 0) {
    platform::WriteToStderr(text::Cp1251Text("Не удалось открыть порт на ") + kHost + ": " +
                            platform::SystemErrorText(platform::LastErrorCode()) + "\n");
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
  if (!source.Open(resFile)) {
    platform::WriteToStderr("Cannot open file \"" + resFile + "\". " +
                            platform::SystemErrorText(platform::LastErrorCode()) + "\n");
    return 1;
  }
  const ResListing listing = ListResources(source);
  if (!listing.error.empty()) {
    platform::WriteToStderr(resFile + ": " + listing.error + "\n");
    return 1;
  }
  const ResSite site(source, listing);
  return Serve(site, port);
}

}  // namespace pagefold::cli
