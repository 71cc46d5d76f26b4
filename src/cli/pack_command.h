// pagefold-cli's job: pack a source folder into a resource file (or, with
// --list, show what a resource file holds).
#pragma once

#include <string>
#include <vector>

namespace pagefold::cli {

// Runs the command line (arguments after the program name, Windows-1251) and
// returns the exit code: 0 built (or listed), 1 the build failed, the report
// could not be written (or the resource file not read), 2 bad usage or a
// question that needs --yes.
int RunPackCommand(const std::vector<std::string>& args);

}  // namespace pagefold::cli
