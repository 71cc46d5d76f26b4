// A connected TCP socket read and written within time limits, and the
// options of a listening one: what the preview server needs beyond its
// HTTP library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pagefold::platform {

// Waits at most ms until the socket has bytes to read or has ended (true),
// or until bytes can be written.
bool WaitReadable(int socket, int ms);
bool WaitWritable(int socket, int ms);

// One receive or send: the count, 0 at the end of a receive, -1 on failure.
std::int64_t ReceiveSome(int socket, void* buffer, std::size_t size);
std::int64_t SendSome(int socket, const void* data, std::size_t size);

// The numeric address and port of the other end, or of this one.
void PeerAddress(int socket, std::string& ip, int& port);
void LocalAddress(int socket, std::string& ip, int& port);

// Ends both directions and closes the socket.
void ShutdownAndClose(int socket);

// For a listening socket: its address may be bound again at once after it
// closes, but never shared with another socket that listens on it.
bool RebindableButNotShared(int socket);

}  // namespace pagefold::platform
