// Files: copy, rename, delete, test, read and write. Paths are Windows-1251.
#pragma once

#include <string>

namespace platform {

// Copies a file to a new name; fails when the target exists or the source is
// not a regular file (a named pipe, a device), without waiting on it. The
// copy keeps the source's read-only state. A failed copy leaves no target
// behind.
bool CopyFileNoOverwrite(const std::string& from, const std::string& to);

// Renames a file; fails when the target exists.
bool RenameNoOverwrite(const std::string& from, const std::string& to);

// Deletes a file (not a folder). A symbolic link is removed, not its target.
bool RemoveFile(const std::string& path);

// True when a file (not a folder) exists at the path.
bool FileExists(const std::string& path);

// The whole content of a file. Raises "Cannot open file "%s". %s".
std::string ReadFileBytes(const std::string& path);

// Creates the file anew, or empties it, and writes the bytes.
// Raises "Cannot create file "%s". %s".
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Appends the bytes to the file, creating it when missing. False on failure.
bool AppendFileBytes(const std::string& path, const std::string& bytes);

}  // namespace platform
