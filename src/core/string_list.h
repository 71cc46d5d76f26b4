// The list of texts that listings and scans append to.
#pragma once

#include <string>
#include <vector>

namespace pagefold {

using StringList = std::vector<std::string>;

}  // namespace pagefold
