#include "gui/win32/browse_for_folder.h"

#include <shlobj.h>

#include <cwchar>

namespace pagefold::gui::win32 {

// The wide-character calls give the path in full; the window then refuses a
// path that Windows-1251 cannot hold, instead of the silent "?" that the
// code-page calls would put in its place.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& defaultPath) {
  constexpr int kBufferLength = 1025;
  wchar_t displayName[kBufferLength] = {};

  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the desktop, top of the shell's namespace
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = nullptr;  // no preselected folder, no status text

  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return defaultPath;
  wchar_t path[kBufferLength] = {};
  const bool converted = SHGetPathFromIDListW(item, path);
  CoTaskMemFree(item);
  if (!converted) return defaultPath;
  return std::wstring(path, wcsnlen(path, kBufferLength));
}

}  // namespace pagefold::gui::win32
