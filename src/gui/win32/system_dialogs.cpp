#include "gui/win32/system_dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "gui/win32/browse_for_folder.h"
#include "gui/win32/long_message_box.h"
#include "gui/win32/wide_text.h"

namespace pagefold::gui::win32 {
namespace {

// Task-modal boxes without an owner disable every window of the program,
// the chooser included, until they are closed.
int Box(const std::string& caption, const std::string& text, UINT kind) {
  return MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), kind | MB_TASKMODAL);
}

}  // namespace

void SystemDialogs::ShowMessage(const std::string& caption, const std::string& text) { Box(caption, text, MB_OK); }

void SystemDialogs::ShowLongMessage(const std::string& caption, const std::string& text) {
  ShowLongMessageBox(Wide(caption), Wide(text));
}

bool SystemDialogs::AskOkCancel(const std::string& caption, const std::string& text) {
  return Box(caption, text, MB_OKCANCEL) == IDOK;
}

void SystemDialogs::ShowError(const std::string& caption, const std::string& text) {
  Box(caption, text, MB_OK | MB_ICONERROR);
}

std::optional<std::u16string> SystemDialogs::ChooseSaveFile(const SaveDialog& dialog) {
  const std::wstring filter = Wide(dialog.filterDescription) + L'\0' + Wide(dialog.filterPattern) + L'\0';
  std::vector<wchar_t> name(32768, L'\0');
  Wide(dialog.fileName).copy(name.data(), name.size() - 1);
  OPENFILENAMEW request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = GetActiveWindow();
  request.lpstrFilter = filter.c_str();  // ends in two zeros with the string's own
  request.lpstrFile = name.data();
  request.nMaxFile = static_cast<DWORD>(name.size());
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;  // no question before overwriting
  if (!GetSaveFileNameW(&request)) return std::nullopt;
  return Utf16(std::wstring(name.data()));
}

std::u16string SystemDialogs::ChooseFolder(const std::string& title, const std::u16string& defaultPath) {
  return Utf16(BrowseForFolder(nullptr, Wide(title), Wide(defaultPath)));
}

}  // namespace pagefold::gui::win32
