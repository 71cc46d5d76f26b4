#include "gui/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "gui/qt/application.h"
#include "gui/qt/browse_for_folder.h"
#include "test_support.h"
#include "window_fixture.h"

namespace {

using pagefold::gui::BrowseForFolder;
using pagefold::gui::QtDialogs;
using testing_support::W;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Runs the check on the dialog once it is open; the check closes it.
template <typename Dialog>
void WhenOpen(std::function<void(Dialog&)> check) {
  QTimer::singleShot(0, [check] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    check(*dialog);
  });
}

void Press(QMessageBox& box, QMessageBox::StandardButton button) {
  ASSERT_NE(box.button(button), nullptr);
  box.button(button)->click();
}

TEST(QtDialogs, BoxesAreApplicationModalPlainAndAnswerAsPressed) {
  QtDialogs dialogs;
  WhenOpen<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), U("Внимание"));
    EXPECT_EQ(box.text(), "<b>a</b>\nb\rc");
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    Press(box, QMessageBox::Ok);
  });
  dialogs.ShowMessage(W("Внимание"), "<b>a</b>\n\rb\rc");

  WhenOpen<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    Press(box, QMessageBox::Cancel);
  });
  EXPECT_FALSE(dialogs.AskOkCancel(W("Внимание"), "q"));
  WhenOpen<QMessageBox>([](QMessageBox& box) { Press(box, QMessageBox::Ok); });
  EXPECT_TRUE(dialogs.AskOkCancel(W("Внимание"), "q"));

  WhenOpen<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), "Pagefold");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    Press(box, QMessageBox::Ok);
  });
  dialogs.ShowError("Pagefold", "I/O error 183");
}

// The box of a long message: its text whole, read-only, in one line break
// where the program writes LF CR, selected with Ctrl+A and copied with Ctrl+C;
// Enter in the text closes it.
TEST(QtDialogs, TheLongMessageBoxShowsItsTextToScrollSelectAndCopy) {
  QtDialogs dialogs;
  QApplication::clipboard()->setText("before");
  bool checked = false;
  WhenOpen<QDialog>([&](QDialog& box) {
    EXPECT_EQ(box.windowTitle(), U("Внимание"));
    EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    auto* area = box.findChild<QPlainTextEdit*>();
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(area->isReadOnly());
    EXPECT_EQ(area->toPlainText(), U("Сбор закончен !!!\n<b>a</b>\nb"));
    EXPECT_EQ(area->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(box.focusWidget(), area);
    QTest::keyClick(area, Qt::Key_X);
    EXPECT_EQ(area->toPlainText(), U("Сбор закончен !!!\n<b>a</b>\nb")) << "typing changes nothing";
    QTest::keyClick(area, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(area, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), U("Сбор закончен !!!\n<b>a</b>\nb"));
    const auto* buttons = box.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Ok);
    checked = true;
    QTest::keyClick(area, Qt::Key_Return);
    if (box.isVisible()) {
      ADD_FAILURE() << "Enter did not close the box";
      box.reject();
    }
  });
  dialogs.ShowLongMessage(W("Внимание"), W("Сбор закончен !!!\n\r<b>a</b>\nb"));
  EXPECT_TRUE(checked);
}

// Qt's own texts in the program's language, as the start-up sets them.
TEST(QtDialogs, QtsOwnButtonsAreInRussian) {
  pagefold::gui::SetUpApplication(*qApp);
  QtDialogs dialogs;
  WhenOpen<QMessageBox>([](QMessageBox& box) {
    ASSERT_NE(box.button(QMessageBox::Ok), nullptr);
    ASSERT_NE(box.button(QMessageBox::Cancel), nullptr);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "OK");  // so in Russian too
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), U("Отмена"));
    Press(box, QMessageBox::Cancel);
  });
  EXPECT_FALSE(dialogs.AskOkCancel(W("Внимание"), "q"));
  WhenOpen<QFileDialog>([](QFileDialog& browse) {
    const auto* buttons = browse.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QStringList texts;
    for (const QAbstractButton* button : buttons->buttons()) texts << button->text();
    EXPECT_EQ(texts, (QStringList{U("&Выбрать"), U("Отмена")}));
    browse.reject();
  });
  BrowseForFolder(0, "t", "");
}

TEST(QtDialogs, SaveDialogOffersTheLastNameWithOneFilter) {
  testing_support::ScratchDir dir;
  QtDialogs dialogs;
  const QString last = QString::fromStdString((dir.path() / "old.res").string());
  WhenOpen<QFileDialog>([&](QFileDialog& save) {
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save.nameFilters(), QStringList{U("Файл ресурсов (*.res)")});
    EXPECT_EQ(save.defaultSuffix(), "");
    EXPECT_TRUE(save.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save.directory().absolutePath(), QString::fromStdString(dir.str()));
    save.selectFile(QString::fromStdString((dir.path() / "site").string()));
    static_cast<QDialog&>(save).accept();
  });
  EXPECT_EQ(dialogs.ChooseSaveFile({W("Файл ресурсов"), "*.res", last.toStdU16String()}),
            QString::fromStdString((dir.path() / "site").string()).toStdU16String());
  WhenOpen<QFileDialog>([](QFileDialog& save) { save.reject(); });
  EXPECT_EQ(dialogs.ChooseSaveFile({W("Файл ресурсов"), "*.res", last.toStdU16String()}), std::nullopt);
}

TEST(BrowseForFolder, StartsAtTheRootEveryTimeAndCancelGivesTheDefault) {
  testing_support::ScratchDir dir;
  WhenOpen<QFileDialog>([&](QFileDialog& browse) {
    EXPECT_EQ(browse.windowTitle(), U("Выберите папку с файлами!"));
    EXPECT_EQ(browse.fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(browse.testOption(QFileDialog::ShowDirsOnly));
    EXPECT_EQ(browse.directory().absolutePath(), QDir::rootPath());
    browse.setDirectory(QString::fromStdString(dir.str()));
    static_cast<QDialog&>(browse).accept();
  });
  EXPECT_EQ(BrowseForFolder(0, U("Выберите папку с файлами!"), ""), QString::fromStdString(dir.str()));

  WhenOpen<QFileDialog>([](QFileDialog& browse) {
    EXPECT_EQ(browse.directory().absolutePath(), QDir::rootPath());
    browse.reject();
  });
  EXPECT_EQ(BrowseForFolder(0, "t", "fallback"), "fallback");
  WhenOpen<QFileDialog>([](QFileDialog& browse) {
    browse.setDirectory(QDir::rootPath());
    static_cast<QDialog&>(browse).accept();
  });
  EXPECT_EQ(BrowseForFolder(0, "t", ""), "/");
}

}  // namespace
