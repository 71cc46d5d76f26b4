// Writing a whole buffer to an open file, for the platform layer's own use:
// the file is a descriptor on POSIX and a HANDLE on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pagefold::platform {

// Writes every byte. False when a write fails or makes no progress, with
// LastErrorCode() telling why.
bool WriteAll(std::intptr_t file, const char* data, std::size_t size);

// One write of at most `size` bytes (more than zero): how many were written,
// or -1 when none were, with LastErrorCode() telling why.
std::int64_t WriteSome(std::intptr_t file, const char* data, std::size_t size);

}  // namespace pagefold::platform
