// The one place where the program's Windows-1251 paths meet the file system's
// own names.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The path as the OS takes it: on POSIX UTF-8 with "\" turned into "/".
// Nothing when the path holds a byte without a Unicode form (0x98).
std::optional<std::string> ToNativePath(const std::string& path);

// A name as the OS reports it, in Windows-1251; nothing when a character of it
// has no Windows-1251 form.
std::optional<std::string> FromNativeName(const std::string& name);

// The separator the OS puts between folders: "/" on POSIX, "\" on Windows.
char NativeSeparator();

}  // namespace platform
