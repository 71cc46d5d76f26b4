// The folder for temporary files.
#pragma once

#include <string>

namespace platform {

// The system's folder for temporary files with its trailing separator, in
// Windows-1251: on POSIX $TMPDIR when it names a folder, else /tmp/.
std::string TempFolder();

}  // namespace platform
