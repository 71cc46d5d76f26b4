// Every dialog the window opens goes through this interface, so that tests
// can answer them. QtDialogs is the implementation the program uses.
#pragma once

#include <QString>
#include <optional>

namespace pagefold::gui {

// The settings of the save dialog that chooses the target file.
struct SaveDialog {
  QString filterDescription;
  QString filterPattern;
  // The full name last chosen in it, offered at the next opening.
  QString fileName;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A box with an OK button and no icon that keeps every window of the
  // program disabled until it is closed.
  virtual void ShowMessage(const QString& caption, const QString& text) = 0;
  // The same for a long text: the box shows it in a read-only text area with
  // scroll bars, in which the user can select it and copy it.
  virtual void ShowLongMessage(const QString& caption, const QString& text) = 0;
  // The same with OK and Cancel; true for OK.
  virtual bool AskOkCancel(const QString& caption, const QString& text) = 0;
  // An error box with an OK button.
  virtual void ShowError(const QString& caption, const QString& text) = 0;
  // The full name chosen in the save dialog, or nothing when cancelled.
  virtual std::optional<QString> ChooseSaveFile(const SaveDialog& dialog) = 0;
  // The folder picked in the folder dialog, or defaultPath when cancelled.
  virtual QString ChooseFolder(const QString& title, const QString& defaultPath) = 0;
};

}  // namespace pagefold::gui
