#include "platform/write_all.h"

namespace pagefold::platform {

bool WriteAll(std::intptr_t file, const char* data, std::size_t size) {
  while (size > 0) {
    const std::int64_t n = WriteSome(file, data, size);
    if (n < 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace pagefold::platform
