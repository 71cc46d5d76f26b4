#include <unistd.h>

#include <cerrno>

#include "platform/write_all.h"

namespace pagefold::platform {

std::int64_t WriteSome(std::intptr_t file, const char* data, std::size_t size) {
  for (;;) {
    const ssize_t n = ::write(static_cast<int>(file), data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;  // a write that takes nothing would be tried for ever
    return n > 0 ? n : -1;
  }
}

}  // namespace pagefold::platform
