// Dialogs for the Win32 window's tests: every box is recorded, and every
// question, save dialog and folder dialog is answered from a queue that the
// test fills. A dialog that the test did not expect fails the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialog_answers.h"
#include "gui/common/dialogs.h"
#include "gui/win32/wide_text.h"

namespace testing_support {

class Win32TestDialogs : public pagefold::gui::Dialogs {
 public:
  // One line per box, in order: "message|caption|text", "long|...", "ask|...", "error|...".
  std::vector<std::wstring> boxes;
  std::deque<bool> okCancelAnswers;
  // An empty answer cancels the dialog.
  std::deque<std::wstring> saveAnswers;
  // The settings of every save dialog, in order, as the dialog shows them.
  struct SaveRequest {
    std::wstring filterDescription;
    std::wstring filterPattern;
    std::wstring fileName;
  };
  std::vector<SaveRequest> saveRequests;
  std::deque<std::wstring> folderAnswers;
  // "title|default" of every folder dialog, in order.
  std::vector<std::wstring> folderRequests;

  void ShowMessage(const std::string& caption, const std::string& text) override { Record(L"message", caption, text); }
  void ShowLongMessage(const std::string& caption, const std::string& text) override {
    Record(L"long", caption, text);
  }
  bool AskOkCancel(const std::string& caption, const std::string& text) override {
    Record(L"ask", caption, text);
    return NextAnswer(okCancelAnswers, false);
  }
  void ShowError(const std::string& caption, const std::string& text) override { Record(L"error", caption, text); }
  std::optional<std::u16string> ChooseSaveFile(const pagefold::gui::SaveDialog& dialog) override {
    using pagefold::gui::win32::Wide;
    saveRequests.push_back({Wide(dialog.filterDescription), Wide(dialog.filterPattern), Wide(dialog.fileName)});
    const std::wstring answer = NextAnswer(saveAnswers, std::wstring());
    if (answer.empty()) return std::nullopt;
    return pagefold::gui::win32::Utf16(answer);
  }
  std::u16string ChooseFolder(const std::string& title, const std::u16string& defaultPath) override {
    using pagefold::gui::win32::Wide;
    folderRequests.push_back(Wide(title) + L"|" + Wide(defaultPath));
    return pagefold::gui::win32::Utf16(NextAnswer(folderAnswers, Wide(defaultPath)));
  }

 private:
  void Record(const wchar_t* kind, const std::string& caption, const std::string& text) {
    using pagefold::gui::win32::Wide;
    boxes.push_back(kind + (L"|" + Wide(caption)) + L"|" + Wide(text));
  }
};

}  // namespace testing_support
