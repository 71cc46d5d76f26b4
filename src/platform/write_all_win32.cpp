#include <windows.h>

#include <algorithm>

#include "platform/write_all.h"

namespace pagefold::platform {

std::int64_t WriteSome(std::intptr_t file, const char* data, std::size_t size) {
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  DWORD written = 0;
  if (!::WriteFile(reinterpret_cast<HANDLE>(file), data, chunk, &written, nullptr)) return -1;
  if (written == 0) {
    ::SetLastError(ERROR_WRITE_FAULT);  // a write that takes nothing would be tried for ever
    return -1;
  }
  return written;
}

}  // namespace pagefold::platform
