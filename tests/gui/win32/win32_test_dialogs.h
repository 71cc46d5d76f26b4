// Dialogs for the Win32 window's tests: every box is recorded, and every
// question, save dialog and folder dialog is answered from a queue that the
// test fills. A dialog that the test did not expect fails the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "gui/win32/dialogs.h"

namespace testing_support {

class Win32TestDialogs : public pagefold::gui::win32::Dialogs {
 public:
  // One line per box, in order: "message|caption|text", "long|...", "ask|...", "error|...".
  std::vector<std::wstring> boxes;
  std::deque<bool> okCancelAnswers;
  // An empty answer cancels the dialog.
  std::deque<std::wstring> saveAnswers;
  std::vector<pagefold::gui::win32::SaveDialog> saveRequests;
  std::deque<std::wstring> folderAnswers;
  // "title|default" of every folder dialog, in order.
  std::vector<std::wstring> folderRequests;

  void ShowMessage(const std::wstring& caption, const std::wstring& text) override {
    boxes.push_back(L"message|" + caption + L"|" + text);
  }
  void ShowLongMessage(const std::wstring& caption, const std::wstring& text) override {
    boxes.push_back(L"long|" + caption + L"|" + text);
  }
  bool AskOkCancel(const std::wstring& caption, const std::wstring& text) override {
    boxes.push_back(L"ask|" + caption + L"|" + text);
    return Next(okCancelAnswers, false);
  }
  void ShowError(const std::wstring& caption, const std::wstring& text) override {
    boxes.push_back(L"error|" + caption + L"|" + text);
  }
  std::optional<std::wstring> ChooseSaveFile(const pagefold::gui::win32::SaveDialog& dialog) override {
    saveRequests.push_back(dialog);
    const std::wstring answer = Next(saveAnswers, std::wstring());
    if (answer.empty()) return std::nullopt;
    return answer;
  }
  std::wstring ChooseFolder(const std::wstring& title, const std::wstring& defaultPath) override {
    folderRequests.push_back(title + L"|" + defaultPath);
    return Next(folderAnswers, defaultPath);
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& answers, T cancelled) {
    if (answers.empty()) {
      ADD_FAILURE() << "a dialog opened that the test did not answer";
      return cancelled;
    }
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace testing_support
