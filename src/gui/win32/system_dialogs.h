// The dialogs of the program: the system's message boxes and save dialog,
// and the shell's folder dialog.
#pragma once

#include "gui/win32/dialogs.h"

namespace pagefold::gui::win32 {

class SystemDialogs : public Dialogs {
 public:
  void ShowMessage(const std::wstring& caption, const std::wstring& text) override;
  void ShowLongMessage(const std::wstring& caption, const std::wstring& text) override;
  bool AskOkCancel(const std::wstring& caption, const std::wstring& text) override;
  void ShowError(const std::wstring& caption, const std::wstring& text) override;
  std::optional<std::wstring> ChooseSaveFile(const SaveDialog& dialog) override;
  std::wstring ChooseFolder(const std::wstring& title, const std::wstring& defaultPath) override;
};

}  // namespace pagefold::gui::win32
