// pagefold-cli's job: pack a source folder into a resource file (or, with
// --list, show what a resource file holds).
#pragma once

#include <string>
#include <vector>

namespace pagefold::cli {

// The exit code of a build that made its resource file without some of the
// files it was given (BuildCommand::MissingFiles).
constexpr int kBuiltWithFilesMissing = 3;

// Runs the command line (arguments after the program name, Windows-1251) and
// returns the exit code: 0 built (or listed), 1 the build failed, the report
// could not be written (or the resource file not read), 2 bad usage or a
// question that needs --yes, 3 built without some files.
int RunPackCommand(const std::vector<std::string>& args);

}  // namespace pagefold::cli
