// An error in a resource script, with the line it belongs to.
#pragma once

#include <stdexcept>
#include <string>

namespace pagefold::rescomp {

class ScriptError : public std::runtime_error {
 public:
  // line 0: the error belongs to the script as a whole. The exit code is 1,
  // or one of resformat/compile_handover.h when the build's handover refuses.
  ScriptError(int line, const std::string& message, int exitCode = 1)
      : std::runtime_error(message), line_(line), exitCode_(exitCode) {}
  int line() const { return line_; }
  int exitCode() const { return exitCode_; }

 private:
  int line_;
  int exitCode_;
};

}  // namespace pagefold::rescomp
