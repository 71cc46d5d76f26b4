// Dialogs for window tests: every box is recorded, and every question, save
// dialog and folder dialog is answered from a queue that the test fills. A
// dialog that the test did not expect fails the test.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "gui/qt/dialogs.h"

namespace testing_support {

class TestDialogs : public pagefold::gui::Dialogs {
 public:
  // One line per box, in order: "message|caption|text", "long|...", "ask|...", "error|...".
  QStringList boxes;
  std::deque<bool> okCancelAnswers;
  // An empty answer cancels the dialog.
  std::deque<QString> saveAnswers;
  std::vector<pagefold::gui::SaveDialog> saveRequests;
  std::deque<QString> folderAnswers;
  // "title|default" of every folder dialog, in order.
  QStringList folderRequests;
  // Runs while a dialog is open, before it answers.
  std::function<void()> whileOpen;

  void ShowMessage(const QString& caption, const QString& text) override { Record("message", caption, text); }
  void ShowLongMessage(const QString& caption, const QString& text) override { Record("long", caption, text); }
  bool AskOkCancel(const QString& caption, const QString& text) override {
    Record("ask", caption, text);
    return Next(okCancelAnswers, false);
  }
  void ShowError(const QString& caption, const QString& text) override { Record("error", caption, text); }
  std::optional<QString> ChooseSaveFile(const pagefold::gui::SaveDialog& dialog) override {
    saveRequests.push_back(dialog);
    Opened();
    const QString answer = Next(saveAnswers, QString());
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  }
  QString ChooseFolder(const QString& title, const QString& defaultPath) override {
    folderRequests.push_back(title + "|" + defaultPath);
    Opened();
    return Next(folderAnswers, defaultPath);
  }

 private:
  void Record(const char* kind, const QString& caption, const QString& text) {
    boxes.push_back(QString(kind) + "|" + caption + "|" + text);
    Opened();
  }
  void Opened() {
    if (whileOpen) whileOpen();
  }
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
