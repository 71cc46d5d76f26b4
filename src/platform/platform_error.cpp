#include "platform/platform_error.h"

namespace pagefold::platform {

std::string InOutErrorText(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    default: return "I/O error " + std::to_string(code);
  }
}

}  // namespace pagefold::platform
