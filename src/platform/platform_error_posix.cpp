#include <cerrno>
#include <cstring>

#include "platform/platform_error.h"

namespace platform {

std::string SystemErrorText(int code) { return std::strerror(code); }

int LastErrorCode() { return errno; }

}  // namespace platform
