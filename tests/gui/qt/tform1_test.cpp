#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QMimeData>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <cstdlib>
#include <filesystem>

#include "core/compiler_runner.h"
#include "gui/qt/application.h"
#include "gui/qt/qstring_cp1251.h"
#include "test_support.h"
#include "window_fixture.h"

namespace {

using pagefold::gui::TForm1;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WindowTest;
using testing_support::WriteFile;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

const QString kRefused =
    U("message|Внимание|Имя папки или файла содержит символы вне кодировки Windows-1251");

// A tree with files at several depths, an empty subfolder and a Cyrillic name.
void MakeTree(const ScratchDir& dir) {
  WriteFile(dir.path() / "a.htm", "a");
  WriteFile(dir.path() / "img" / "b.gif", "b");
  WriteFile(dir.path() / "img" / "small" / "c.gif", "c");
  WriteFile(dir.path() / "img" / "карта.gif", "d");
  std::filesystem::create_directories(dir.path() / "empty");
}

// The centre of an item's tick box.
QPoint TickBoxOf(QListWidget& list, int row) {
  QStyleOptionViewItem option;
  option.initFrom(&list);
  option.rect = list.visualItemRect(list.item(row));
  option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  option.text = list.item(row)->text();
  return list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list).center();
}

TEST_F(WindowTest, StartsUpEmptyWithCounterZero) {
  EXPECT_EQ(form1.windowTitle(), "Pagefold");
  EXPECT_EQ(form1.PanelText(0), "0\\0");
  EXPECT_EQ(form1.PanelText(1), "");
  for (QLineEdit* edit : {form1.Edit1, form1.Edit2, form1.Edit5, form1.Edit6}) EXPECT_EQ(edit->text(), "");
  EXPECT_TRUE(form1.Edit2->isHidden());
  EXPECT_FALSE(form1.Edit1->isReadOnly());
  EXPECT_TRUE(form1.Edit5->isReadOnly());
  EXPECT_TRUE(form1.Edit6->isReadOnly());
  EXPECT_FALSE(form1.CheckBox1->isChecked());
  EXPECT_FALSE(form1.CheckBox2->isChecked());
  EXPECT_EQ(form1.CheckListBox1->count(), 0);
  EXPECT_EQ(form1.ProgressBar1->minimum(), 0);
  EXPECT_EQ(form1.ProgressBar1->maximum(), 1000);
  EXPECT_EQ(form1.ProgressBar1->value(), 0);
  EXPECT_EQ(form1.Build().GroupType, "");
  EXPECT_EQ(form1.Build().ResourceFolder, "");
  // The temporary folder: $TMPDIR when it names a folder, else /tmp.
  const char* tmpdir = std::getenv("TMPDIR");
  std::string temp = tmpdir && *tmpdir && std::filesystem::is_directory(tmpdir) ? tmpdir : "/tmp";
  if (temp.back() != '/') temp += '/';
  EXPECT_EQ(form1.Build().CompilerPath, temp + "brcc32.exe");
  EXPECT_TRUE(form3.isHidden());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowTest, MembersHaveTheirCaptionsAndParents) {
  const std::pair<QAbstractButton*, const char*> buttons[] = {
      {form1.Button1, "Обзор"},
      {form1.save, "Сохранить как"},
      {form1.Button7, "Выбрать"},
      {form1.Button3, "Собрать"},
      {form1.abt, "О программе"},
      {form1.CheckBox1, "Группировать в один тип"},
      {form1.CheckBox2, "Не проверять используемость файлов"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(button->text(), U(caption));
  EXPECT_EQ(form1.GroupBox1->title(), U("Данные"));
  EXPECT_EQ(form1.GroupBox2->title(), U("Файл ресурс"));
  EXPECT_EQ(form1.Label6->text(), U("Папка с файлами"));
  EXPECT_EQ(form1.Label7->text(), U("Файлы"));
  EXPECT_EQ(form1.Label5->text(), U("Стартовый файл:"));

  for (QWidget* inData :
       std::initializer_list<QWidget*>{form1.Button1, form1.Edit1, form1.CheckListBox1, form1.Label6,
                                       form1.Label7, form1.Edit5, form1.Label5, form1.Button7})
    EXPECT_EQ(inData->parentWidget(), form1.GroupBox1) << inData->objectName().toStdString();
  for (QWidget* inTarget : std::initializer_list<QWidget*>{form1.save, form1.Edit6, form1.CheckBox1,
                                                           form1.Edit2, form1.CheckBox2})
    EXPECT_EQ(inTarget->parentWidget(), form1.GroupBox2) << inTarget->objectName().toStdString();
  for (QWidget* inPanel : std::initializer_list<QWidget*>{form1.ProgressBar1, form1.Button3, form1.abt})
    EXPECT_EQ(inPanel->parentWidget(), form1.Panel1) << inPanel->objectName().toStdString();

  EXPECT_EQ(form1.N1->text(), U("Выделить все"));
  EXPECT_EQ(form1.N1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
  EXPECT_EQ(form1.N2->text(), U("Отменить все"));
  EXPECT_TRUE(form1.N2->shortcut().isEmpty());
  EXPECT_EQ(form1.N3->text(), U("Очистить"));
  EXPECT_EQ(form1.N3->shortcut(), QKeySequence(Qt::Key_Delete));
  EXPECT_EQ(form1.PopupMenu1->actions(), (QList<QAction*>{form1.N1, form1.N2, form1.N3}));
  EXPECT_EQ(form1.SaveDialog1.filterDescription, W("Файл ресурсов"));
  EXPECT_EQ(form1.SaveDialog1.filterPattern, "*.res");
}

TEST_F(WindowTest, TabGoesThroughTheControlsInOrder) {
  ShowActive();
  form1.Button1->setFocus();
  QStringList order;
  for (int step = 0; step < 12; ++step) {
    order << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  // Edit2 is hidden, the progress bar takes no focus.
  EXPECT_EQ(order, (QStringList{"Button1", "Edit1", "CheckListBox1", "Edit5", "Button7", "save", "Edit6",
                                "CheckBox1", "CheckBox2", "Button3", "abt", "Button1"}));
  form1.CheckBox1->click();
  form1.CheckBox1->setFocus();
  QTest::keyClick(form1.CheckBox1, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form1.Edit2);
}

// A build or a long listing turns the inputs off; the control that had the
// focus has it again after, so that the keys go on where they were.
TEST_F(WindowTest, TheFocusedControlHasTheFocusAgainWhenTheInputsComeBack) {
  ShowActive();
  form1.save->setFocus();
  form1.SetWindowEnabled(false);
  EXPECT_FALSE(form1.save->isEnabled());
  EXPECT_NE(QApplication::focusWidget(), form1.save);
  form1.SetWindowEnabled(true);
  EXPECT_EQ(QApplication::focusWidget(), form1.save);
}

TEST_F(WindowTest, GrowingWindowStretchesByTheAnchors) {
  ShowActive();
  const auto rightGap = [](QWidget* w) { return w->parentWidget()->width() - w->geometry().right(); };
  const auto bottomGap = [](QWidget* w) { return w->parentWidget()->height() - w->geometry().bottom(); };
  struct Snapshot {
    QRect list, edit1, edit5, edit6, edit2, progress, group2, panel;
    int button1Right, button7Right, saveRight, button3Right, abtRight, edit5Bottom, label5Bottom, panel0Width;
  };
  const auto take = [&] {
    return Snapshot{form1.CheckListBox1->geometry(),
                    form1.Edit1->geometry(),
                    form1.Edit5->geometry(),
                    form1.Edit6->geometry(),
                    form1.Edit2->geometry(),
                    form1.ProgressBar1->geometry(),
                    form1.GroupBox2->geometry(),
                    form1.Panel1->geometry(),
                    rightGap(form1.Button1),
                    rightGap(form1.Button7),
                    rightGap(form1.save),
                    rightGap(form1.Button3),
                    rightGap(form1.abt),
                    bottomGap(form1.Edit5),
                    bottomGap(form1.Label5),
                    form1.StatusBar1->findChildren<pagefold::gui::StatusPanel*>().front()->width()};
  };
  const Snapshot before = take();
  form1.resize(form1.width() + 200, form1.height() + 150);
  QApplication::processEvents();
  const Snapshot after = take();

  EXPECT_EQ(after.list.width(), before.list.width() + 200);
  EXPECT_EQ(after.list.height(), before.list.height() + 150);
  EXPECT_EQ(after.edit1.width(), before.edit1.width() + 200);
  EXPECT_EQ(after.edit5.width(), before.edit5.width() + 200);
  EXPECT_EQ(after.edit6.width(), before.edit6.width() + 200);
  EXPECT_EQ(after.progress.width(), before.progress.width() + 200);
  EXPECT_EQ(after.edit2.x(), before.edit2.x());
  EXPECT_EQ(after.edit2.width(), 108);
  EXPECT_EQ(after.group2.height(), before.group2.height());
  EXPECT_EQ(after.panel.height(), before.panel.height());
  EXPECT_EQ(after.button1Right, before.button1Right);
  EXPECT_EQ(after.button7Right, before.button7Right);
  EXPECT_EQ(after.saveRight, before.saveRight);
  EXPECT_EQ(after.button3Right, before.button3Right);
  EXPECT_EQ(after.abtRight, before.abtRight);
  EXPECT_EQ(after.edit5Bottom, before.edit5Bottom);
  EXPECT_EQ(after.label5Bottom, before.label5Bottom);
  EXPECT_EQ(after.panel0Width, 100);
  EXPECT_LT(form1.Button3->x(), form1.abt->x());
}

TEST_F(WindowTest, Button1ListsTheChosenFolderAndCancelChangesNothing) {
  ScratchDir dir;
  MakeTree(dir);
  ListFolder(Q(dir.path()));
  EXPECT_EQ(dialogs.folderRequests, QStringList{U("Выберите папку с файлами!|")});
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path()));
  EXPECT_EQ(Texts(*form1.CheckListBox1),
            (QStringList{"a.htm", "img\\b.gif", "img\\small\\c.gif", U("img\\карта.gif")}));
  EXPECT_TRUE(Ticked().isEmpty());
  EXPECT_EQ(form1.SourceFolder(), dir.str());
  // The build gets the names in Windows-1251.
  Tick({U("img\\карта.gif")});
  EXPECT_EQ(form1.TickedItems(), std::vector<std::string>{W("img\\карта.gif")});
  EXPECT_EQ(form1.PanelText(0), "0\\1");

  // Cancelling keeps folder, list and ticks; the pointer is busy only while the dialog is open.
  Qt::CursorShape during = Qt::ArrowCursor;
  dialogs.whileOpen = [&] { during = form1.cursor().shape(); };
  dialogs.folderAnswers.push_back("");
  form1.Button1->click();
  EXPECT_EQ(during, Qt::WaitCursor);
  EXPECT_EQ(form1.cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path()));
  EXPECT_EQ(form1.CheckListBox1->count(), 4);
  EXPECT_EQ(Ticked(), QStringList{U("img\\карта.gif")});

  // Listing again replaces the items with unticked ones; the counter stays until a tick changes.
  dialogs.whileOpen = nullptr;
  ListFolder(Q(dir.path() / "img"));
  EXPECT_EQ(Texts(*form1.CheckListBox1), (QStringList{"b.gif", "small\\c.gif", U("карта.gif")}));
  EXPECT_TRUE(Ticked().isEmpty());
  EXPECT_EQ(form1.PanelText(0), "0\\1");

  // A folder with nothing but a subfolder gives an empty list.
  ListFolder(Q(dir.path() / "empty"));
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path() / "empty"));
  EXPECT_EQ(form1.CheckListBox1->count(), 0);
  EXPECT_EQ(form1.PanelText(1), "");
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowTest, NamesOutsideTheCodePageAreRefusedOrSkipped) {
  ScratchDir dir;
  WriteFile(dir.path() / "a.htm", "a");
  WriteFile(dir.path() / "中.htm", "b");
  WriteFile(dir.path() / "sub" / "€№.gif", "c");
  ListFolder(Q(dir.path()));
  EXPECT_EQ(Texts(*form1.CheckListBox1), (QStringList{"a.htm", U("sub\\€№.gif")}));
  EXPECT_EQ(form1.PanelText(1), U("Пропущены файлы с недопустимыми именами: 1"));
  // A later folder that skips nothing leaves no count from this one.
  ListFolder(Q(dir.path() / "sub"));
  EXPECT_EQ(form1.PanelText(1), "");
  ListFolder(Q(dir.path()));
  EXPECT_EQ(form1.PanelText(1), U("Пропущены файлы с недопустимыми именами: 1"));

  // A picked folder that Windows-1251 cannot name changes nothing.
  std::filesystem::create_directories(dir.path() / "папка中");
  ListFolder(Q(dir.path() / "папка中"));
  EXPECT_EQ(dialogs.boxes, QStringList{kRefused});
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path()));
  EXPECT_EQ(form1.CheckListBox1->count(), 2);

  // Typing such a character into the folder box is refused as well.
  ShowActive();
  form1.Edit1->setFocus();
  form1.Edit1->end(false);
  Type(form1.Edit1, U("/я"));
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path()) + U("/я"));
  Type(form1.Edit1, U("中"));
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path()) + U("/я"));
  EXPECT_EQ(dialogs.boxes, (QStringList{kRefused, kRefused}));
  EXPECT_EQ(form1.SourceFolder(), dir.str() + W("/я"));
}

TEST_F(WindowTest, TicksByClickOrSpaceUpdateTheCounter) {
  ScratchDir dir;
  MakeTree(dir);
  ListFolder(Q(dir.path()));
  ShowActive();
  QListWidget& list = *form1.CheckListBox1;
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, TickBoxOf(list, 1));
  EXPECT_EQ(Ticked(), QStringList{"img\\b.gif"});
  EXPECT_EQ(form1.PanelText(0), "0\\1");
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, TickBoxOf(list, 3));
  EXPECT_EQ(form1.PanelText(0), "0\\2");

  // A click on the text only selects.
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
  EXPECT_EQ(list.currentRow(), 0);
  EXPECT_EQ(Ticked(), (QStringList{"img\\b.gif", U("img\\карта.gif")}));

  // Space toggles the current item.
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Space);
  EXPECT_EQ(Ticked(), (QStringList{"a.htm", "img\\b.gif", U("img\\карта.gif")}));
  EXPECT_EQ(form1.PanelText(0), "0\\3");
  QTest::keyClick(&list, Qt::Key_Space);
  EXPECT_EQ(form1.PanelText(0), "0\\2");
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, TickBoxOf(list, 1));
  EXPECT_EQ(Ticked(), QStringList{U("img\\карта.gif")});
  EXPECT_EQ(form1.PanelText(0), "0\\1");
}

TEST_F(WindowTest, MenuTicksUnticksAndClearsTheList) {
  ScratchDir dir;
  MakeTree(dir);
  ListFolder(Q(dir.path()));
  ShowActive();
  QListWidget& list = *form1.CheckListBox1;
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Ticked().size(), 4);
  EXPECT_EQ(form1.PanelText(0), "0\\4");

  form1.N2->trigger();
  EXPECT_TRUE(Ticked().isEmpty());
  EXPECT_EQ(form1.PanelText(0), "0\\0");

  // The shortcuts belong to the list: in the folder box Ctrl+A and Delete edit the text.
  form1.Edit1->setFocus();
  QTest::keyClick(form1.Edit1, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(form1.Edit1, Qt::Key_Delete);
  EXPECT_EQ(form1.Edit1->text(), "");
  EXPECT_EQ(list.count(), 4);
  EXPECT_TRUE(Ticked().isEmpty());
  form1.Edit1->setText(Q(dir.path()));
  form1.Button1->setFocus();
  QTest::keyClick(form1.Button1, Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(Ticked().isEmpty());

  Tick({"a.htm"});
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Delete);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(form1.PanelText(0), "0\\0");
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path()));

  // A right click opens the menu.
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                               list.viewport()->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(list.viewport(), &rightClick);
  EXPECT_TRUE(form1.PopupMenu1->isVisible());
  form1.PopupMenu1->hide();
}

TEST_F(WindowTest, GroupTypeFollowsCheckBox1AndEdit2Only) {
  form1.CheckBox1->click();
  EXPECT_FALSE(form1.Edit2->isHidden());
  EXPECT_EQ(form1.Edit2->text(), "");
  EXPECT_EQ(form1.Build().GroupType, "");
  ShowActive();
  form1.Edit2->setFocus();
  QTest::keyClicks(form1.Edit2, "IMG");
  EXPECT_EQ(form1.Build().GroupType, "IMG");
  // No Windows-1251 form, no input.
  Type(form1.Edit2, U("中"));
  EXPECT_EQ(form1.Edit2->text(), "IMG");

  form1.CheckBox1->click();
  EXPECT_TRUE(form1.Edit2->isHidden());
  EXPECT_EQ(form1.Edit2->text(), "IMG");
  EXPECT_EQ(form1.Build().GroupType, "");

  form1.CheckBox1->click();
  EXPECT_FALSE(form1.Edit2->isHidden());
  EXPECT_EQ(form1.Edit2->text(), "IMG");
  EXPECT_EQ(form1.Build().GroupType, "");
  form1.Edit2->setFocus();
  Type(form1.Edit2, U("Я"));
  EXPECT_EQ(form1.Build().GroupType, W("IMGЯ"));

  // CheckBox2 shows or hides nothing and leaves the type alone, ticked or not.
  form1.CheckBox2->click();
  EXPECT_TRUE(form1.CheckBox2->isChecked());
  EXPECT_FALSE(form1.Edit2->isHidden());
  EXPECT_EQ(form1.Build().GroupType, W("IMGЯ"));
  EXPECT_TRUE(form1.KeepAll());
  form1.CheckBox1->click();
  form1.CheckBox2->click();
  EXPECT_TRUE(form1.Edit2->isHidden());
  EXPECT_FALSE(form1.KeepAll());
  form1.CheckBox2->click();
  EXPECT_TRUE(form1.Edit2->isHidden());
  EXPECT_EQ(form1.Build().GroupType, "");
}

TEST_F(WindowTest, SaveShowsTheTargetWithItsResExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:\\out\\site", "D:\\out\\site.res"},         {"D:\\out\\site.RES", "D:\\out\\site.RES"},
      {"D:\\presets\\site", "D:\\presets\\site.res"}, {"D:\\out\\address", "D:\\out\\address.res"},
      {"D:\\out\\site.txt", "D:\\out\\site.txt.res"}, {"/home/u/my.res/site", "/home/u/my.res/site.res"}};
  for (const auto& [chosen, shown] : cases) {
    dialogs.saveAnswers.push_back(U(chosen));
    form1.save->click();
    EXPECT_EQ(form1.Edit6->text(), U(shown));
    EXPECT_EQ(form1.ResourceFile(), shown);
  }
  EXPECT_EQ(form1.Build().ResourceFolder, "/home/u/my.res/");
  dialogs.saveAnswers.push_back(U("D:\\out\\site"));
  form1.save->click();
  // On Linux only "/" separates folders: "D:\out\site" is one name, in no folder.
  EXPECT_EQ(form1.Build().ResourceFolder, "");

  // Each opening offers the name chosen last; the filter is the one entry.
  ASSERT_EQ(dialogs.saveRequests.size(), 7u);
  EXPECT_EQ(dialogs.saveRequests[0].fileName, "");
  EXPECT_EQ(dialogs.saveRequests[1].fileName, "D:\\out\\site");
  EXPECT_EQ(dialogs.saveRequests[6].fileName, "/home/u/my.res/site");
  EXPECT_EQ(dialogs.saveRequests[0].filterDescription, U("Файл ресурсов"));
  EXPECT_EQ(dialogs.saveRequests[0].filterPattern, "*.res");

  // Cancelling changes nothing; a name outside Windows-1251 is refused.
  dialogs.saveAnswers.push_back("");
  form1.save->click();
  dialogs.saveAnswers.push_back(U("D:\\中\\site"));
  form1.save->click();
  EXPECT_EQ(form1.Edit6->text(), "D:\\out\\site.res");
  EXPECT_EQ(form1.Build().ResourceFolder, "");
  EXPECT_EQ(dialogs.boxes, QStringList{kRefused});
  dialogs.saveAnswers.push_back("");
  form1.save->click();
  EXPECT_EQ(dialogs.saveRequests.back().fileName, "D:\\out\\site");
}

TEST_F(WindowTest, AboutBoxTextByteForByte) {
  form1.abt->click();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  const QByteArray expected =
      "message|\xD0\x9E \xD0\xBF\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB5|"
      "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0: \"Pagefold\"\x0A\x0D"
      "\xD0\x9E\xD0\xBF\xD0\xB8\xD1\x81\xD0\xB0\xD0\xBD\xD0\xB8\xD0\xB5: \"" +
      U("Программа встраивает html-странички").toUtf8() + "\x0A\x0D" +
      U("и все принадлежащие ей файлы в ресурсный файл *.RES").toUtf8() + "\"\x0A\x0D" +
      U("Идея и разработка: Vostrak").toUtf8();
  EXPECT_EQ(dialogs.boxes[0].toUtf8(), expected);
}

TEST_F(WindowTest, BuildAsksThroughTheDialogsAndReportsMissingInputs) {
  ScratchDir dir;
  WriteFile(dir.path() / "a.htm", "a");
  form1.Button3->click();
  EXPECT_EQ(form1.PanelText(1), U("Укажите папку с файлами"));

  ListFolder(Q(dir.path()));
  form1.Button3->click();
  EXPECT_EQ(form1.PanelText(1), U("Выберите файлы для обработки"));

  // Declining the standard start page stops the build without a word.
  Tick({"a.htm"});
  form1.SetStatusText(1, "x");
  dialogs.okCancelAnswers.push_back(false);
  form1.Button3->click();
  EXPECT_EQ(dialogs.boxes, QStringList{U("ask|Внимание|Не указан стартовый файл, использовать стандартный "
                                         "filelist как стартовый")});
  EXPECT_EQ(form1.Edit5->text(), "");
  EXPECT_EQ(form1.PanelText(1), "x");

  dialogs.okCancelAnswers.push_back(true);
  form1.Button3->click();
  EXPECT_EQ(form1.Edit5->text(), "filelist.html");
  EXPECT_EQ(form1.PanelText(1), U("Укажите файл ресурс"));
  EXPECT_TRUE(form1.GroupBox1->isEnabled() && form1.Button3->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "ARH"));
}

const QString kBadGroupType =
    U("message|Внимание|Тип для группировки может содержать только буквы, цифры и знак _");

TEST_F(WindowTest, Edit2RefusesATypeThatIsNoPlainResourceType) {
  form1.CheckBox1->click();
  ShowActive();
  form1.Edit2->setFocus();
  QTest::keyClicks(form1.Edit2, "IMG");
  form1.Edit2->insert("\"SECRET.TXT\"//");  // as pasted
  EXPECT_EQ(form1.Edit2->text(), "IMG");
  EXPECT_EQ(form1.Build().GroupType, "IMG");
  QTest::keyClicks(form1.Edit2, " /2");
  EXPECT_EQ(form1.Edit2->text(), "IMG 2");
  EXPECT_EQ(form1.Build().GroupType, "IMG 2");
  EXPECT_EQ(dialogs.boxes, (QStringList{kBadGroupType, kBadGroupType}));
}

TEST_F(WindowTest, BuildRefusesAnInjectedGroupTypeBeforeStaging) {
  ScratchDir source, target;
  WriteFile(source.path() / "a.htm", "a");
  ReadyToBuildOnePage(source.path(), target.path());
  form1.Build().GroupType = "X\"SECRET.TXT\"//";
  form1.Button3->click();
  EXPECT_EQ(dialogs.boxes, QStringList{kBadGroupType});
  EXPECT_TRUE(std::filesystem::is_empty(target.path()));
  EXPECT_TRUE(form1.GroupBox1->isEnabled() && form1.Button3->isEnabled());
}

TEST_F(WindowTest, ABuildOfFilesThatAllVanishedLeavesAnEmptyBarNotABusyOne) {
  ScratchDir source, target;
  WriteFile(source.path() / "a.htm", "a");
  ReadyToBuildOnePage(source.path(), target.path());
  std::filesystem::remove(source.path() / "a.htm");
  form1.Button3->click();
  EXPECT_EQ(dialogs.boxes.size(), 1);  // the compiler's verdict on an empty script
  EXPECT_LT(form1.ProgressBar1->minimum(), form1.ProgressBar1->maximum()) << "Qt draws min == max as busy";
  EXPECT_EQ(form1.ProgressBar1->value(), form1.ProgressBar1->minimum());
}

TEST_F(WindowTest, BuildErrorsShowInAnErrorBoxAndLeaveTheWindowUsable) {
  ScratchDir source, target;
  WriteFile(source.path() / "a.htm", "a");
  std::filesystem::create_directories(target.path() / "ARH");
  ReadyToBuildOnePage(source.path(), target.path());
  form1.Button3->click();
  EXPECT_EQ(dialogs.boxes, QStringList{"error|Pagefold|I/O error 183\n" + U("Папка \"") + Q(target.path() / "ARH") +
                                       U("\" осталась от прерванной сборки, её можно удалить.")});
  EXPECT_TRUE(form1.GroupBox1->isEnabled() && form1.Button3->isEnabled());
  EXPECT_TRUE(form1.CheckListBox1->isEnabled());
}

TEST_F(WindowTest, EnterListsTheTypedFolderAndPressesTheFocusedButton) {
  ScratchDir dir;
  MakeTree(dir);
  ShowActive();
  form1.Edit1->setFocus();
  QTest::keyClicks(form1.Edit1, Q(dir.path()));
  QTest::keyClick(form1.Edit1, Qt::Key_Return);
  EXPECT_EQ(Texts(*form1.CheckListBox1), (QStringList{"a.htm", "img\\b.gif", "img\\small\\c.gif", U("img\\карта.gif")}));
  EXPECT_EQ(dialogs.folderRequests, QStringList{}) << "Enter is no click on Обзор";

  form1.abt->setFocus();
  QTest::keyClick(form1.abt, Qt::Key_Return);
  ASSERT_EQ(dialogs.boxes.size(), 1);
  EXPECT_TRUE(dialogs.boxes[0].startsWith(U("message|О программе|")));
  dialogs.folderAnswers.push_back(QString());
  form1.Button1->setFocus();
  QTest::keyClick(form1.Button1, Qt::Key_Enter);
  EXPECT_EQ(dialogs.folderRequests, QStringList{U("Выберите папку с файлами!|")});
}

TEST_F(WindowTest, LongStatusTextsKeepTheWindowsSizeAndShowWhole) {
  ShowActive();
  const QSize before = form1.size();
  const std::string compiling = W("ВНИМАНИЕ!!! Собирается ресурсный файл...");
  form1.SetStatusText(1, compiling + compiling);
  form1.SetStatusText(0, "123456\\123456");
  QApplication::processEvents();
  EXPECT_EQ(form1.size(), before);
  EXPECT_EQ(form1.PanelText(1), U("ВНИМАНИЕ!!! Собирается ресурсный файл...ВНИМАНИЕ!!! Собирается ресурсный файл..."));
  const auto panels = form1.StatusBar1->findChildren<pagefold::gui::StatusPanel*>();
  ASSERT_EQ(panels.size(), 2);
  EXPECT_EQ(panels[1]->toolTip(), form1.PanelText(1));
  EXPECT_EQ(panels[0]->toolTip(), "123456\\123456");
  EXPECT_EQ(panels[0]->width(), 100);
  EXPECT_GE(panels[1]->x(), panels[0]->x() + 100) << "the stage text lies over the counter";
}

TEST_F(WindowTest, AFolderDroppedOntoTheWindowIsListed) {
  ScratchDir dir;
  WriteFile(dir.path() / "sub" / "a.htm", "a");
  WriteFile(dir.path() / "b.gif", "b");
  const auto drop = [&](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form1, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form1, &dropped);
    return true;
  };
  const QUrl folder = QUrl::fromLocalFile(Q(dir.path() / "sub"));
  EXPECT_FALSE(drop({QUrl::fromLocalFile(Q(dir.path() / "b.gif"))})) << "a file";
  EXPECT_FALSE(drop({folder, QUrl::fromLocalFile(Q(dir.path()))})) << "two folders";
  EXPECT_FALSE(drop({QUrl("http://example.com/")}));
  EXPECT_EQ(form1.CheckListBox1->count(), 0);
  EXPECT_TRUE(drop({folder}));
  EXPECT_EQ(Texts(*form1.CheckListBox1), QStringList{"a.htm"});
  EXPECT_EQ(form1.Edit1->text(), Q(dir.path() / "sub"));
}

TEST(Application, HasItsTitleVersionAndIcon) {
  pagefold::gui::SetUpApplication(*qApp);
  EXPECT_EQ(QApplication::applicationName(), "Pagefold");
  EXPECT_EQ(QApplication::applicationVersion(), PAGEFOLD_VERSION);
  ASSERT_FALSE(QApplication::windowIcon().isNull());
  EXPECT_EQ(QApplication::windowIcon().pixmap(64, 64).size(), QSize(64, 64));
}

}  // namespace
