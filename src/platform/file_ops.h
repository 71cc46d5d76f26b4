// Files: delete, test, read and write. Paths are Windows-1251.
#pragma once

#include <string>

namespace pagefold::platform {

// Deletes a file (not a folder). A symbolic link is removed, not its target.
bool RemoveFile(const std::string& path);

// True when a file (not a folder) exists at the path.
bool FileExists(const std::string& path);

// The whole content of a file. Raises "Cannot open file "%s". %s".
std::string ReadFileBytes(const std::string& path);

// Writes the bytes to a new file beside the path and renames it into place,
// replacing what stood there (a link is replaced, never written through) and
// keeping the permission bits of a file replaced. Raises "Cannot create file "%s". %s".
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Appends the bytes to the file, creating it when missing. False on failure.
bool AppendFileBytes(const std::string& path, const std::string& bytes);

}  // namespace pagefold::platform
