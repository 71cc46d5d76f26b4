// Dialogs for tests of the shared handlers: every dialog is recorded in
// UTF-8, one line each, and the save and folder dialogs are answered from
// queues that the test fills. A dialog that the test did not answer fails it.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialog_answers.h"
#include "gui/common/dialogs.h"
#include "text/cp1251.h"

namespace testing_support {

class RecordingDialogs : public pagefold::gui::Dialogs {
 public:
  // "message|caption|text", "save|offered name", "folder|title|default", ...
  std::vector<std::string> log;
  // An empty answer cancels the dialog.
  std::deque<std::u16string> saveAnswers;
  std::deque<std::u16string> folderAnswers;

  void ShowMessage(const std::string& caption, const std::string& text) override {
    log.push_back("message|" + Utf8(caption) + "|" + Utf8(text));
  }
  void ShowLongMessage(const std::string& caption, const std::string& text) override {
    log.push_back("long|" + Utf8(caption) + "|" + Utf8(text));
  }
  bool AskOkCancel(const std::string& caption, const std::string& text) override {
    log.push_back("ask|" + Utf8(caption) + "|" + Utf8(text));
    return true;
  }
  void ShowError(const std::string& caption, const std::string& text) override {
    log.push_back("error|" + Utf8(caption) + "|" + Utf8(text));
  }
  std::optional<std::u16string> ChooseSaveFile(const pagefold::gui::SaveDialog& dialog) override {
    log.push_back("save|" + Utf8(dialog.filterDescription) + "|" + dialog.filterPattern + "|" +
                  Utf8(dialog.fileName));
    const std::u16string answer = NextAnswer(saveAnswers, std::u16string());
    if (answer.empty()) return std::nullopt;
    return answer;
  }
  std::u16string ChooseFolder(const std::string& title, const std::u16string& defaultPath) override {
    log.push_back("folder|" + Utf8(title) + "|" + Utf8(defaultPath));
    return NextAnswer(folderAnswers, std::u16string());
  }

 private:
  static std::string Utf8(const std::string& cp1251) { return pagefold::text::Cp1251ToUtf8(cp1251).value(); }
  // The dialogs offer only names the window has accepted, which have a Windows-1251 form.
  static std::string Utf8(const std::u16string& name) { return Utf8(pagefold::text::Utf16ToCp1251(name).value()); }
};

}  // namespace testing_support
