#include "gui/win32/system_dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "gui/win32/browse_for_folder.h"
#include "gui/win32/long_message_box.h"

namespace pagefold::gui::win32 {
namespace {

// Task-modal boxes without an owner disable every window of the program,
// the chooser included, until they are closed.
int Box(const std::wstring& caption, const std::wstring& text, UINT kind) {
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(), kind | MB_TASKMODAL);
}

}  // namespace

void SystemDialogs::ShowMessage(const std::wstring& caption, const std::wstring& text) { Box(caption, text, MB_OK); }

void SystemDialogs::ShowLongMessage(const std::wstring& caption, const std::wstring& text) {
  ShowLongMessageBox(caption, text);
}

bool SystemDialogs::AskOkCancel(const std::wstring& caption, const std::wstring& text) {
  return Box(caption, text, MB_OKCANCEL) == IDOK;
}

void SystemDialogs::ShowError(const std::wstring& caption, const std::wstring& text) {
  Box(caption, text, MB_OK | MB_ICONERROR);
}

std::optional<std::wstring> SystemDialogs::ChooseSaveFile(const SaveDialog& dialog) {
  const std::wstring filter = dialog.filterDescription + L'\0' + dialog.filterPattern + L'\0';
  std::vector<wchar_t> name(32768, L'\0');
  dialog.fileName.copy(name.data(), name.size() - 1);
  OPENFILENAMEW request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = GetActiveWindow();
  request.lpstrFilter = filter.c_str();  // ends in two zeros with the string's own
  request.lpstrFile = name.data();
  request.nMaxFile = static_cast<DWORD>(name.size());
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;  // no question before overwriting
  if (!GetSaveFileNameW(&request)) return std::nullopt;
  return std::wstring(name.data());
}

std::wstring SystemDialogs::ChooseFolder(const std::wstring& title, const std::wstring& defaultPath) {
  return BrowseForFolder(nullptr, title, defaultPath);
}

}  // namespace pagefold::gui::win32
