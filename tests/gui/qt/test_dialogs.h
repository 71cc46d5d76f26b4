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
#include <string>
#include <vector>

#include "dialog_answers.h"
#include "gui/common/dialogs.h"
#include "gui/qt/qstring_cp1251.h"

namespace testing_support {

class TestDialogs : public pagefold::gui::Dialogs {
 public:
  // One line per box, in order: "message|caption|text", "long|...", "ask|...", "error|...".
  QStringList boxes;
  std::deque<bool> okCancelAnswers;
  // An empty answer cancels the dialog.
  std::deque<QString> saveAnswers;
  // The settings of every save dialog, in order, as the dialog shows them.
  struct SaveRequest {
    QString filterDescription;
    QString filterPattern;
    QString fileName;
  };
  std::vector<SaveRequest> saveRequests;
  std::deque<QString> folderAnswers;
  // "title|default" of every folder dialog, in order.
  QStringList folderRequests;
  // Runs while a dialog is open, before it answers.
  std::function<void()> whileOpen;

  void ShowMessage(const std::string& caption, const std::string& text) override { Record("message", caption, text); }
  void ShowLongMessage(const std::string& caption, const std::string& text) override {
    Record("long", caption, text);
  }
  bool AskOkCancel(const std::string& caption, const std::string& text) override {
    Record("ask", caption, text);
    return NextAnswer(okCancelAnswers, false);
  }
  void ShowError(const std::string& caption, const std::string& text) override { Record("error", caption, text); }
  std::optional<std::u16string> ChooseSaveFile(const pagefold::gui::SaveDialog& dialog) override {
    saveRequests.push_back({pagefold::gui::ToQString(dialog.filterDescription),
                            pagefold::gui::ToQString(dialog.filterPattern),
                            QString::fromStdU16String(dialog.fileName)});
    Opened();
    const QString answer = NextAnswer(saveAnswers, QString());
    if (answer.isEmpty()) return std::nullopt;
    return answer.toStdU16String();
  }
  std::u16string ChooseFolder(const std::string& title, const std::u16string& defaultPath) override {
    folderRequests.push_back(pagefold::gui::ToQString(title) + "|" + QString::fromStdU16String(defaultPath));
    Opened();
    return NextAnswer(folderAnswers, QString::fromStdU16String(defaultPath)).toStdU16String();
  }

 private:
  void Record(const char* kind, const std::string& caption, const std::string& text) {
    boxes.push_back(QString(kind) + "|" + pagefold::gui::ToQString(caption) + "|" + pagefold::gui::ToQString(text));
    Opened();
  }
  void Opened() {
    if (whileOpen) whileOpen();
  }
};

}  // namespace testing_support
