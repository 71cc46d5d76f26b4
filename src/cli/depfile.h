// The dependency file of a build for make and Ninja: the target, then every
// file the build read and every folder it listed, so that a changed page or
// a file added to a folder makes the build tool pack again.
#pragma once

#include <string>
#include <vector>

namespace pagefold::cli {

// "TARGET: DEP DEP ..." in UTF-8, one path a line, with the blanks, "#"
// and "$" escaped as make and Ninja read them. The paths are Windows-1251.
std::string DepfileText(const std::string& target, const std::vector<std::string>& paths);

// Writes the text to a new file renamed into place. Raises
// platform::PlatformError.
void WriteDepfile(const std::string& file, const std::string& target, const std::vector<std::string>& paths);

}  // namespace pagefold::cli
