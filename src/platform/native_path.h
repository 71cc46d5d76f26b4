// The one place where the program's Windows-1251 paths meet the file system's
// own names.
#pragma once

#include <optional>
#include <string>

namespace pagefold::platform {

// A path or name in the file system's own form: UTF-8 on POSIX; UTF-16 on
// Windows, for the wide-character calls, whatever the ANSI code page is.
#ifdef _WIN32
using NativeString = std::wstring;
#else
using NativeString = std::string;
#endif

// The path as the OS takes it: on POSIX UTF-8, where "\" is a letter of a
// name like any other, on Windows UTF-16. Nothing when the path holds a byte without a Unicode form
// (0x98).
std::optional<NativeString> ToNativePath(const std::string& path);

// A name as the OS reports it, in Windows-1251; nothing when a character of it
// has no Windows-1251 form.
std::optional<std::string> FromNativeName(const NativeString& name);

// The separator the OS puts between folders: "/" on POSIX, "\" on Windows.
char NativeSeparator();

}  // namespace pagefold::platform
