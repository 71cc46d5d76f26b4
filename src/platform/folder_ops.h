// Folders: create and remove, with failures as Windows error codes
// (183 already exists, 3 path not found, 5 access denied, 145 not empty).
#pragma once

#include <string>

namespace pagefold::platform {

// 0 on success, else the error code.
int CreateFolder(const std::string& path);

// The same for a folder open to this user alone: mode 0700 whatever rights
// the umask leaves to others, on Windows an access list with only the user.
int CreatePrivateFolder(const std::string& path);

// Removes an empty folder. 0 on success, else the error code.
int RemoveFolder(const std::string& path);

// True when a folder exists at the path.
bool FolderExists(const std::string& path);

}  // namespace pagefold::platform
