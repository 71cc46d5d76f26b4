// The preview server's HTTP server: cpp-httplib's, with each connection
// read through a TimedStream and threads enough that clients which hang do
// not keep the others waiting.
#pragma once

#include <httplib.h>

namespace pagefold::cli {

class PreviewServer : public httplib::Server {
 public:
  PreviewServer();

 private:
  // Answers the requests of one connection (at most a few on it), each of
  // which must be in within its time limit, and closes it.
  bool process_and_close_socket(socket_t socket) override;
};

}  // namespace pagefold::cli
