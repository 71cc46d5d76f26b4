// The resource compiler's road: the temporary folder, writing the compiler
// that the program carries out to a file, and running it while the front end
// stays live.
#pragma once

#include <string>

#include "core/build_host.h"

namespace pagefold {

// The system's folder for temporary files, with its trailing separator.
std::string GetTempDir();

// Where the compiler is written out in a folder that ends with its separator:
// the folder followed by "brcc32.exe". CompilerPath starts as the one in
// GetTempDir().
std::string CompilerPathIn(const std::string& folder);

// Writes the program's own resource of the type and name to a new file at the
// path, executable by the owner only. False when something already stands at
// the path (a dangling symbolic link too), which is then left untouched.
// Raises "Resource %s not found" when the program carries no such resource,
// and "System Error.  Code: %d." with the system's text on the next line when
// the file cannot be created or written; a half-written file is removed.
bool ExtractResourceFile(const std::string& type, const std::string& name, const std::string& path);

struct RunResult {
  bool started = false;  // false: the program could not be started
  int exitCode = -1;     // its exit status; -1 when it could not be waited on
  std::string output;    // what it printed on standard output and error
};

// Runs the program with the parameter as its one argument (no shell) and
// returns once it has ended, handing the host all pending events every 50 ms
// meanwhile. When the start fails, shows the system's text for it in a
// message box captioned "Pagefold". When the host reports after a pump that
// the program is closing, ends the program and raises BuildCancelled.
RunResult RunAndWait(BuildHost& host, const std::string& program, const std::string& parameter);

}  // namespace pagefold
