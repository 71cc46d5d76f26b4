// The dialogs of the program: Qt's message boxes and save dialog, and the
// folder dialog of BrowseForFolder.
#pragma once

#include "gui/qt/dialogs.h"

namespace pagefold::gui {

class QtDialogs : public Dialogs {
 public:
  void ShowMessage(const QString& caption, const QString& text) override;
  void ShowLongMessage(const QString& caption, const QString& text) override;
  bool AskOkCancel(const QString& caption, const QString& text) override;
  void ShowError(const QString& caption, const QString& text) override;
  std::optional<QString> ChooseSaveFile(const SaveDialog& dialog) override;
  QString ChooseFolder(const QString& title, const QString& defaultPath) override;
};

}  // namespace pagefold::gui
