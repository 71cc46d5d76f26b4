// pagefold-cli --check: the links of a resource file that name no resource in it.
#pragma once

#include <string>

namespace pagefold::cli {

// Prints every such link on stdout as "page -> link", one line each, then
// "Ссылок без ресурса: N". Returns 0 when there are none, 1 when there are
// or the file cannot be read (the reason on stderr).
int RunCheckCommand(const std::string& resFile);

}  // namespace pagefold::cli
