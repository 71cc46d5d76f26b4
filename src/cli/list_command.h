// pagefold-cli --list: what a resource file holds.
#pragma once

#include <string>

namespace pagefold::cli {

// Prints every resource of the .res file on stdout, in file order, one line
// "TYPE/NAME<TAB>size" each, with the control bytes of the names escaped (see
// EscapedControlBytes). Returns 0, or 1 when the file cannot be opened or is
// not read to its end (the resources before the fault are printed).
int RunListCommand(const std::string& resFile);

}  // namespace pagefold::cli
