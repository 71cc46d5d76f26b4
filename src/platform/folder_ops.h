// Folders: create and remove, with failures as Windows error codes
// (183 already exists, 3 path not found, 5 access denied, 145 not empty).
#pragma once

#include <string>

namespace platform {

// 0 on success, else the error code.
int CreateFolder(const std::string& path);

// Removes an empty folder. 0 on success, else the error code.
int RemoveFolder(const std::string& path);

// True when a folder exists at the path.
bool FolderExists(const std::string& path);

}  // namespace platform
