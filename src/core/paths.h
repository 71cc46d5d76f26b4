// Joining and cutting the program's paths: absolute folders are in the
// platform's form, relative names use "\" between folders on every OS.
#pragma once

#include <string>

namespace pagefold {

// The folder, one platform separator (unless it is empty or already ends with
// one) and the relative name with its "\" turned into the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& relative);

// The folder part of a path up to and including its last separator (on
// POSIX "/"; on Windows "\", "/" or a drive colon); empty when there is none.
std::string FolderPart(const std::string& path);

// The path with the extension of its last component replaced by ext (which
// carries its dot), or ext appended when the component has none.
std::string ChangeExtension(const std::string& path, const std::string& ext);

}  // namespace pagefold
