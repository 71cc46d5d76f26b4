#include "platform/short_path.h"

namespace pagefold::platform {

std::string ShortPath(const std::string& path) { return path; }

}  // namespace pagefold::platform
