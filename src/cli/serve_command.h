// pagefold-cli --serve: a resource file shown to a browser over HTTP.
#pragma once

#include <string>

namespace pagefold::cli {

// Serves the resources of the .res file on 127.0.0.1 at the port (0: a free
// one) until Ctrl+C or SIGTERM, printing the address to open on stdout and a
// line "METHOD target status" per request on stderr. Returns 0 after such a
// stop, 1 when the file cannot be read or the port cannot be had.
int RunServeCommand(const std::string& resFile, int port);

}  // namespace pagefold::cli
