// pagefold-cli's one job: pack a source folder into a resource file.
#pragma once

#include <string>
#include <vector>

namespace pagefold::cli {

// Runs the command line (arguments after the program name, Windows-1251) and
// returns the exit code: 0 built, 1 the build failed, 2 bad usage or a
// question that needs --yes.
int RunPackCommand(const std::vector<std::string>& args);

}  // namespace pagefold::cli
