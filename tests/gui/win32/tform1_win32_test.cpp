// The Win32 main window and chooser, driven by the messages that a user's
// clicks, ticks and keys send to their controls.
#include <gtest/gtest.h>

#include "core/compiler_runner.h"
#include "test_support.h"
#include "win32_window_fixture.h"

namespace {

using testing_support::ScratchDir;
using testing_support::Texts;
using testing_support::Win32WindowTest;
using testing_support::WindowText;
using testing_support::WriteFile;
using testing_support::Utf8Path;
namespace fs = std::filesystem;

const std::wstring kRefused = L"message|Внимание|Имя папки или файла содержит символы вне кодировки Windows-1251";

bool Visible(HWND control) { return IsWindowVisible(control) != FALSE; }
bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool ReadOnly(HWND edit) { return (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0; }

std::wstring MenuText(HMENU menu, UINT item) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, item, text, 64, MF_BYCOMMAND);
  return text;
}

// A tree with files at several depths, an empty subfolder and a Cyrillic name.
void MakeTree(const ScratchDir& dir) {
  WriteFile(dir.path() / "a.htm", "a");
  WriteFile(dir.path() / "img" / "b.gif", "b");
  WriteFile(dir.path() / "img" / "small" / "c.gif", "c");
  WriteFile(dir.path() / "img" / Utf8Path("карта.gif"), "d");
  fs::create_directories(dir.path() / "empty");
}

TEST_F(Win32WindowTest, StartsUpWithItsCaptionsAndEverythingEmpty) {
  EXPECT_EQ(WindowText(form1.Form1), L"Pagefold");
  EXPECT_EQ(form1.PanelText(0), L"0\\0");
  EXPECT_EQ(form1.PanelText(1), L"");
  EXPECT_EQ(SendMessageW(form1.StatusBar1, SB_GETPARTS, 0, 0), 2);
  for (HWND edit : {form1.Edit1, form1.Edit2, form1.Edit5, form1.Edit6}) EXPECT_EQ(WindowText(edit), L"");
  EXPECT_FALSE(Visible(form1.Edit2));
  EXPECT_TRUE(Visible(form1.Edit1) && Visible(form1.CheckListBox1) && Visible(form1.Button3));
  EXPECT_FALSE(ReadOnly(form1.Edit1));
  EXPECT_TRUE(ReadOnly(form1.Edit5));
  EXPECT_TRUE(ReadOnly(form1.Edit6));
  EXPECT_FALSE(Checked(form1.CheckBox1));
  EXPECT_FALSE(Checked(form1.CheckBox2));
  EXPECT_EQ(Rows(), 0);
  PBRANGE range = {};
  SendMessageW(form1.ProgressBar1, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 1000);
  EXPECT_EQ(SendMessageW(form1.ProgressBar1, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(form1.Build().GroupType, "");
  EXPECT_EQ(form1.Build().ResourceFolder, "");
  EXPECT_EQ(form1.Build().CompilerPath, pagefold::GetTempDir() + "brcc32.exe");

  const std::pair<HWND, const wchar_t*> captions[] = {
      {form1.GroupBox1, L"Данные"},  {form1.Button1, L"Обзор"},        {form1.Label6, L"Папка с файлами"},
      {form1.Label7, L"Файлы"},      {form1.Label5, L"Стартовый файл:"}, {form1.Button7, L"Выбрать"},
      {form1.GroupBox2, L"Файл ресурс"}, {form1.save, L"Сохранить как"},
      {form1.CheckBox1, L"Группировать в один тип"}, {form1.CheckBox2, L"Не проверять используемость файлов"},
      {form1.Button3, L"Собрать"},   {form1.abt, L"О программе"},    {form3.Form3, L"Выберите файл . . ."}};
  for (const auto& [control, caption] : captions) EXPECT_EQ(WindowText(control), caption);
  EXPECT_EQ(GetParent(form1.Button1), form1.GroupBox1);
  EXPECT_EQ(GetParent(form1.Edit6), form1.GroupBox2);
  EXPECT_EQ(GetParent(form1.ProgressBar1), form1.Panel1);
  EXPECT_EQ(MenuText(form1.PopupMenu1, pagefold::gui::win32::N1), L"Выделить все\tCtrl+A");
  EXPECT_EQ(MenuText(form1.PopupMenu1, pagefold::gui::win32::N2), L"Отменить все");
  EXPECT_EQ(MenuText(form1.PopupMenu1, pagefold::gui::win32::N3), L"Очистить\tDel");

  EXPECT_FALSE(Visible(form3.Form3));
  EXPECT_NE(GetWindowLongW(form3.Form3, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetWindow(form3.Form3, GW_OWNER), nullptr);
  EXPECT_NE(GetClassLongPtrW(form1.Form1, GCLP_HICON), 0) << "the icon MAINICON";
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Win32WindowTest, TabOrderFollowsTheGroups) {
  const HWND order[] = {form1.Button1, form1.Edit1,     form1.CheckListBox1, form1.Edit5,        form1.Button7,
                        form1.save,    form1.Edit6,     form1.CheckBox1,     form1.CheckBox2,    form1.ProgressBar1,
                        form1.Button3, form1.abt,       form1.Button1};
  for (size_t i = 1; i < std::size(order); ++i)
    EXPECT_EQ(GetNextDlgTabItem(form1.Form1, order[i - 1], FALSE), order[i]) << "after tab stop " << i;
}

// A build or a long listing turns the inputs off; the control that had the
// focus has it again after, so that the keys go on where they were.
TEST_F(Win32WindowTest, TheFocusedControlHasTheFocusAgainWhenTheInputsComeBack) {
  SetFocus(form1.save);
  form1.SetWindowEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(form1.save));
  EXPECT_EQ(GetFocus(), form1.Form1);
  form1.SetWindowEnabled(true);
  EXPECT_EQ(GetFocus(), form1.save);
}

TEST_F(Win32WindowTest, ListsAFolderAndCountsTheTicksTheListGets) {
  ScratchDir dir;
  MakeTree(dir);
  ListFolder(dir.path());
  EXPECT_EQ(dialogs.folderRequests, Texts{L"Выберите папку с файлами!|"});
  EXPECT_EQ(WindowText(form1.Edit1), dir.path().wstring());
  EXPECT_EQ(form1.SourceFolder(), dir.str());
  EXPECT_EQ(Items(), (Texts{L"a.htm", L"img\\b.gif", L"img\\small\\c.gif", L"img\\карта.gif"}));
  EXPECT_EQ(Ticked(), Texts{});
  EXPECT_EQ(form1.PanelText(0), L"0\\0") << "listing alone leaves the counter";

  SetTick(L"img\\карта.gif", true);
  EXPECT_EQ(form1.PanelText(0), L"0\\1");
  SetTick(L"a.htm", true);
  EXPECT_EQ(form1.PanelText(0), L"0\\2");
  SetTick(L"a.htm", false);
  EXPECT_EQ(form1.PanelText(0), L"0\\1");
  EXPECT_EQ(form1.TickedItems(), std::vector<std::string>{testing_support::W("img\\карта.gif")});

  ListFolder(L"");  // cancelled
  EXPECT_EQ(Rows(), 4);
  EXPECT_EQ(WindowText(form1.Edit1), dir.path().wstring());

  ListFolder(dir.path() / "empty");
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(form1.PanelText(0), L"0\\1");
  ListFolder(L"C:\\日本");
  EXPECT_EQ(dialogs.boxes, Texts{kRefused});
  EXPECT_EQ(WindowText(form1.Edit1), (dir.path() / "empty").wstring());
}

TEST_F(Win32WindowTest, PopupCommandsAndTheirShortcutsInTheList) {
  ScratchDir dir;
  MakeTree(dir);
  ListFolder(dir.path());
  SendMessageW(form1.Form1, WM_COMMAND, pagefold::gui::win32::N1, 0);
  EXPECT_EQ(Ticked().size(), 4u);
  EXPECT_EQ(form1.PanelText(0), L"0\\4");
  SendMessageW(form1.Form1, WM_COMMAND, pagefold::gui::win32::N2, 0);
  EXPECT_EQ(Ticked(), Texts{});
  EXPECT_EQ(form1.PanelText(0), L"0\\0");

  KeyInList('A', true);
  EXPECT_EQ(Ticked().size(), 4u);
  EXPECT_EQ(form1.PanelText(0), L"0\\4");
  KeyInList('A', false);
  EXPECT_EQ(Ticked().size(), 4u) << "A without Ctrl";
  KeyInList(VK_DELETE, false);
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(form1.PanelText(0), L"0\\0");
  EXPECT_EQ(WindowText(form1.Edit1), dir.path().wstring()) << "clearing keeps the folder";
  EXPECT_EQ(form1.TickedItems(), std::vector<std::string>{});
}

TEST_F(Win32WindowTest, TheChooserOffersTheTickedPagesAndAPickSetsTheStartFile) {
  ScratchDir dir;
  for (const char* name : {"index.htm", "a.HTML", "b.shtml", "c.xhtml", "htm.txt", "noext", "off.htm"})
    WriteFile(dir.path() / name, "x");
  WriteFile(dir.path() / Utf8Path("стр") / Utf8Path("Главная.htm"), "x");
  ListFolder(dir.path());
  SendMessageW(form1.Form1, WM_COMMAND, pagefold::gui::win32::N1, 0);
  SetTick(L"off.htm", false);
  Click(form1.Button7);
  EXPECT_TRUE(Visible(form3.Form3));
  EXPECT_EQ(ListBoxItems(form3.ListBox1),
            (Texts{L"a.HTML", L"b.shtml", L"c.xhtml", L"index.htm", L"стр\\Главная.htm"}));

  PickInChooser(L"стр\\Главная.htm");
  EXPECT_EQ(WindowText(form1.Edit5), L"стр\\Главная.htm");
  EXPECT_EQ(form1.StartFile(), testing_support::W("стр\\Главная.htm"));
  PickInChooser(L"index.htm", true);
  EXPECT_EQ(WindowText(form1.Edit5), L"index.htm");
  EXPECT_FALSE(Visible(form3.Form3)) << "a double click hides the chooser";

  SetTick(L"index.htm", false);
  Click(form1.Button7);
  EXPECT_EQ(ListBoxItems(form3.ListBox1), (Texts{L"a.HTML", L"b.shtml", L"c.xhtml", L"стр\\Главная.htm"}));
  EXPECT_EQ(WindowText(form1.Edit5), L"index.htm") << "the start file stays";
  SendMessageW(form3.Form3, WM_CLOSE, 0, 0);
  EXPECT_FALSE(Visible(form3.Form3));
  EXPECT_TRUE(IsWindow(form3.Form3));
}

TEST_F(Win32WindowTest, SaveDialogAppliesTheTargetNameRuleAndRefusesForeignNames) {
  for (const wchar_t* answer : {L"D:\\out\\site", L"D:\\presets\\site.RES", L"", L"D:\\out\\日本"})
    dialogs.saveAnswers.push_back(answer);
  Click(form1.save);
  EXPECT_EQ(WindowText(form1.Edit6), L"D:\\out\\site.res");
  EXPECT_EQ(form1.Build().ResourceFolder, "D:\\out\\");
  Click(form1.save);
  EXPECT_EQ(WindowText(form1.Edit6), L"D:\\presets\\site.RES");
  EXPECT_EQ(form1.Build().ResourceFolder, "D:\\presets\\");
  Click(form1.save);  // cancelled
  Click(form1.save);  // refused
  EXPECT_EQ(WindowText(form1.Edit6), L"D:\\presets\\site.RES");
  EXPECT_EQ(form1.Build().ResourceFolder, "D:\\presets\\");
  EXPECT_EQ(dialogs.boxes, Texts{kRefused});
  ASSERT_EQ(dialogs.saveRequests.size(), 4u);
  EXPECT_EQ(dialogs.saveRequests[0].filterDescription, L"Файл ресурсов");
  EXPECT_EQ(dialogs.saveRequests[0].filterPattern, L"*.res");
  EXPECT_EQ(dialogs.saveRequests[0].fileName, L"");
  EXPECT_EQ(dialogs.saveRequests[1].fileName, L"D:\\out\\site");
  EXPECT_EQ(dialogs.saveRequests[3].fileName, L"D:\\presets\\site.RES");
}

TEST_F(Win32WindowTest, GroupTypeFollowsCheckBox1AndTheTextsStayInWindows1251) {
  Click(form1.CheckBox1);
  EXPECT_TRUE(Visible(form1.Edit2));
  SetWindowTextW(form1.Edit2, L"IMG");
  EXPECT_EQ(form1.Build().GroupType, "IMG");
  SetWindowTextW(form1.Edit2, L"IMG日");
  EXPECT_EQ(WindowText(form1.Edit2), L"IMG");
  EXPECT_EQ(form1.Build().GroupType, "IMG");
  Click(form1.CheckBox2);
  EXPECT_TRUE(Visible(form1.Edit2));
  EXPECT_EQ(form1.Build().GroupType, "IMG");
  EXPECT_TRUE(form1.KeepAll());
  Click(form1.CheckBox1);
  EXPECT_FALSE(Visible(form1.Edit2));
  EXPECT_EQ(form1.Build().GroupType, "");
  EXPECT_EQ(WindowText(form1.Edit2), L"IMG");
  Click(form1.CheckBox1);
  EXPECT_EQ(form1.Build().GroupType, "") << "until Edit2 is edited";

  SetWindowTextW(form1.Edit1, L"C:\\Сайт");
  SetWindowTextW(form1.Edit1, L"C:\\Сайт€日");
  EXPECT_EQ(WindowText(form1.Edit1), L"C:\\Сайт");
  EXPECT_EQ(form1.SourceFolder(), testing_support::W("C:\\Сайт"));
  EXPECT_EQ(dialogs.boxes, (Texts{kRefused, kRefused}));

  Click(form1.abt);
  EXPECT_EQ(dialogs.boxes.back(),
            L"message|О программе|Программа: \"Pagefold\"\n\rОписание: \"Программа встраивает html-странички\n\r"
            L"и все принадлежащие ей файлы в ресурсный файл *.RES\"\n\rИдея и разработка: Vostrak");
}

TEST_F(Win32WindowTest, Edit2RefusesATypeThatIsNoPlainResourceType) {
  Click(form1.CheckBox1);
  SetWindowTextW(form1.Edit2, L"IMG");
  SetWindowTextW(form1.Edit2, L"X\"SECRET.TXT\"//");
  EXPECT_EQ(WindowText(form1.Edit2), L"IMG");
  EXPECT_EQ(form1.Build().GroupType, "IMG");
  SetWindowTextW(form1.Edit2, L"Картинки 2");
  EXPECT_EQ(form1.Build().GroupType, testing_support::W("Картинки 2"));
  EXPECT_EQ(dialogs.boxes,
            Texts{L"message|Внимание|Тип для группировки может содержать только буквы, цифры и знак _"});
}

TEST_F(Win32WindowTest, ListingAFolderReplacesTheCountOfSkippedNames) {
  ScratchDir dir;
  testing_support::WriteFile(dir.path() / "a.htm", "a");
  testing_support::WriteFile(dir.path() / "sub" / "b.htm", "b");
  testing_support::WriteFile(dir.path() / testing_support::Utf8Path("日本.htm"), "c");
  ListFolder(dir.path());
  EXPECT_EQ(form1.PanelText(1), L"Пропущены файлы с недопустимыми именами: 1");
  ListFolder(dir.path() / "sub");
  EXPECT_EQ(form1.PanelText(1), L"");
}

TEST_F(Win32WindowTest, WindowClosedWhenNoBuildRunsGoesAtOnce) {
  SendMessageW(form1.Form1, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form1.Form1));
}

}  // namespace
