// The folder for temporary files, and private folders made inside a folder.
#pragma once

#include <optional>
#include <string>

namespace pagefold::platform {

// The system's folder for temporary files with its trailing separator, in
// Windows-1251: on POSIX $TMPDIR when it names a folder, else /tmp/.
std::string TempFolder();

// Makes a new folder with an unpredictable name ("pagefold-" and six
// characters) inside the folder, which ends with its separator, open to this
// user alone (mode 0700; on Windows an access list with only the user). Its
// path with the trailing separator, or nothing with LastErrorCode() telling
// why.
std::optional<std::string> MakePrivateFolder(const std::string& parent);

}  // namespace pagefold::platform
