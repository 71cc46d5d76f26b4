// An error in a resource script, with the line it belongs to.
#pragma once

#include <stdexcept>
#include <string>

namespace rescomp {

class ScriptError : public std::runtime_error {
 public:
  // line 0: the error belongs to the script as a whole.
  ScriptError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

}  // namespace rescomp
