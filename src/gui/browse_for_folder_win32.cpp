#include <shlobj.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "gui/browse_for_folder.h"

namespace pagefold::gui {

// The shell's folder dialog. The wide-character calls give the path in full;
// the window then refuses a path that Windows-1251 cannot hold, instead of the
// silent "?" that the code-page calls would put in its place.
QString BrowseForFolder(WId owner, const QString& title, const QString& defaultPath) {
  constexpr int kBufferLength = 1025;
  wchar_t displayName[kBufferLength] = {};
  const std::wstring titleText = title.toStdWString();

  BROWSEINFOW info = {};
  info.hwndOwner = reinterpret_cast<HWND>(owner);
  info.pidlRoot = nullptr;  // the desktop, top of the shell's namespace
  info.pszDisplayName = displayName;
  info.lpszTitle = titleText.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = nullptr;  // no preselected folder, no status text

  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return defaultPath;
  wchar_t path[kBufferLength] = {};
  const bool converted = SHGetPathFromIDListW(item, path);
  CoTaskMemFree(item);
  if (!converted) return defaultPath;
  return QString::fromWCharArray(path, static_cast<qsizetype>(wcsnlen(path, kBufferLength)));
}

}  // namespace pagefold::gui
