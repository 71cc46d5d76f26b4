// Every dialog a window opens goes through this interface, so that tests can
// answer them; each window has its own implementation over its toolkit's or
// the system's dialogs. Captions and texts are the program's own, in
// Windows-1251; the names the user picks are UTF-16, as they may hold
// characters that Windows-1251 lacks.
#pragma once

#include <optional>
#include <string>

namespace pagefold::gui {

// The settings of the save dialog that chooses the target file.
struct SaveDialog {
  std::string filterDescription;
  std::string filterPattern;
  // The full name last chosen in it, offered at the next opening.
  std::u16string fileName;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A box with an OK button and no icon that keeps every window of the
  // program disabled until it is closed.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
  // The same for a long text: the box shows it in a read-only text area with
  // scroll bars, in which the user can select it and copy it.
  virtual void ShowLongMessage(const std::string& caption, const std::string& text) = 0;
  // The same with OK and Cancel; true for OK.
  virtual bool AskOkCancel(const std::string& caption, const std::string& text) = 0;
  // An error box with an OK button.
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
  // The full name chosen in the save dialog, or nothing when cancelled.
  virtual std::optional<std::u16string> ChooseSaveFile(const SaveDialog& dialog) = 0;
  // The folder picked in the folder dialog, or defaultPath when cancelled.
  virtual std::u16string ChooseFolder(const std::string& title, const std::u16string& defaultPath) = 0;
};

}  // namespace pagefold::gui
