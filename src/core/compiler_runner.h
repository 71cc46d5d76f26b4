// The resource compiler's road: the temporary folder, a private folder for
// one build's compiler, writing the compiler that the program carries out to
// a file, running it while the front end stays live, and removing what a
// compiler ended in the middle left.
#pragma once

#include <string>
#include <vector>

#include "core/build_host.h"
#include "platform/process.h"

namespace pagefold {

// The system's folder for temporary files, with its trailing separator.
std::string GetTempDir();

// The compiler's path in a folder that ends with its separator: the folder
// followed by "brcc32.exe". CompilerPath starts as the one in GetTempDir();
// each build writes its compiler into a CompilerFolder made beside it.
std::string CompilerPathIn(const std::string& folder);

// A folder of one build's own for its compiler, with an unpredictable name,
// open to this user alone (platform::MakePrivateFolder), so that nothing
// another user placed in the shared folder is ever run or stands in the way.
// Removed with the compiler in it when it goes.
class CompilerFolder {
 public:
  // Makes the folder inside the parent, which ends with its separator.
  // Raises "System Error.  Code: %d." with the system's text on the next line
  // when it cannot be made.
  explicit CompilerFolder(const std::string& parent);
  ~CompilerFolder();
  CompilerFolder(const CompilerFolder&) = delete;
  CompilerFolder& operator=(const CompilerFolder&) = delete;

  // CompilerPathIn of the folder.
  const std::string& CompilerPath() const { return compiler_; }

 private:
  std::string folder_;
  std::string compiler_;
};

// Writes the program's own resource of the type and name to a new file at the
// path, executable by the owner only. False when something already stands at
// the path (a dangling symbolic link too), which is then left untouched.
// Raises "Resource %s not found" when the program carries no such resource,
// and "System Error.  Code: %d." with the system's text on the next line when
// the file cannot be created or written; a half-written file is removed.
bool ExtractResourceFile(const std::string& type, const std::string& name, const std::string& path);

struct RunResult {
  bool started = false;  // false: the program could not be started
  bool refused = false;  // not started because the system runs no programs from its folder (noexec)
  int exitCode = -1;     // its exit status; -1 when it could not be waited on
  std::string output;    // what it printed on standard output and error
};

// Runs the program with the parameter as its one argument (no shell), handed
// what the handover holds, and returns once it has ended, handing the host
// all pending events every 50 ms meanwhile. When the start fails, shows the system's text for it in a
// message box captioned "Pagefold". When the host reports after a pump that
// the program is closing, ends the program and raises BuildCancelled.
RunResult RunAndWait(BuildHost& host, const std::string& program, const std::string& parameter,
                     const platform::Handover& handover = {});

// As RunAndWait, but a start that the system refuses because of the
// program's folder (RunResult::refused) shows nothing, so that the caller can
// try another folder.
RunResult RunUnlessRefused(BuildHost& host, const std::string& program, const std::string& parameter,
                           const platform::Handover& handover = {});

// The compiler's temporary files beside the compiled file (see
// resformat::TemporaryResPath) that do not exist when it is made. Remove()
// removes those that exist by then: what a compiler that was ended in the
// middle left behind. Files that were there before are never touched.
class UnfinishedOutput {
 public:
  explicit UnfinishedOutput(const std::string& resPath);
  void Remove() const;

 private:
  std::vector<std::string> absent_;
};

}  // namespace pagefold
