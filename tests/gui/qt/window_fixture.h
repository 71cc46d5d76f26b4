// The program's two windows as the start-up makes them, with test dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTest>
#include <filesystem>
#include <ostream>

#include "gui/qt/tform1.h"
#include "gui/qt/tform3.h"
#include "test_dialogs.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace testing_support {

class WindowTest : public testing::Test {
 protected:
  WindowTest() { form1.SetForm3(&form3); }

  // The files below the folder listed through the browse button.
  void ListFolder(const QString& folder) {
    dialogs.folderAnswers.push_back(folder);
    form1.Button1->click();
  }

  // Shows the main window and gives it the keyboard.
  void ShowActive() {
    form1.show();
    form1.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form1));
  }

  // Types the text into the widget, one key a character (QTest's key clicks
  // take ASCII only).
  static void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &press);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &release);
    }
  }

  static QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
    return texts;
  }

  QStringList Ticked() const {
    QStringList ticked;
    for (int row = 0; row < form1.CheckListBox1->count(); ++row)
      if (form1.CheckListBox1->item(row)->checkState() == Qt::Checked)
        ticked << form1.CheckListBox1->item(row)->text();
    return ticked;
  }

  void Tick(const QStringList& names) {
    for (const QString& name : names) {
      const auto found = form1.CheckListBox1->findItems(name, Qt::MatchExactly);
      ASSERT_EQ(found.size(), 1) << name.toStdString();
      found.front()->setCheckState(Qt::Checked);
    }
  }

  // Lists the source folder, ticks its one page "a.htm", picks it as the
  // start page and "site" in the target folder as the target.
  void ReadyToBuildOnePage(const std::filesystem::path& source, const std::filesystem::path& target) {
    ListFolder(QString::fromStdString(source.string()));
    Tick({"a.htm"});
    form1.SetStartFile("a.htm");
    dialogs.saveAnswers.push_back(QString::fromStdString((target / "site").string()));
    form1.save->click();
  }

  TestDialogs dialogs;
  pagefold::gui::TForm1 form1{&dialogs};
  pagefold::gui::TForm3 form3{*form1.Edit5};
};

}  // namespace testing_support
