// The dialogs of the program: the system's message boxes and save dialog,
// and the shell's folder dialog.
#pragma once

#include "gui/common/dialogs.h"

namespace pagefold::gui::win32 {

class SystemDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override;
  void ShowLongMessage(const std::string& caption, const std::string& text) override;
  bool AskOkCancel(const std::string& caption, const std::string& text) override;
  void ShowError(const std::string& caption, const std::string& text) override;
  std::optional<std::u16string> ChooseSaveFile(const SaveDialog& dialog) override;
  std::u16string ChooseFolder(const std::string& title, const std::u16string& defaultPath) override;
};

}  // namespace pagefold::gui::win32
