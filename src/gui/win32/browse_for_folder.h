// The shell's folder dialog: lets the user pick a folder of the file system.
#pragma once

#include <windows.h>

#include <string>

namespace pagefold::gui::win32 {

// The full path of the folder the user picks (no trailing backslash except
// for a drive's root), or defaultPath when the user cancels. owner is the
// window that owns the dialog, 0 for none. Each call starts afresh at the
// desktop with nothing selected.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& defaultPath);

}  // namespace pagefold::gui::win32
