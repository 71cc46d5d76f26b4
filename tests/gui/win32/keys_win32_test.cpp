// The Win32 window's keys, its popup menu and a folder dropped onto it, as
// the program's own message loop hands them out.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "test_support.h"
#include "win32_window_fixture.h"

namespace {

using testing_support::ScratchDir;
using testing_support::Texts;
using testing_support::Win32WindowTest;
using testing_support::WindowText;
using testing_support::WriteFile;
namespace fs = std::filesystem;

class Win32KeysTest : public Win32WindowTest {
 protected:
  // A key pressed and released in the control, handed out as the program's
  // loop does, through the dialog keys.
  void Key(HWND control, WORD key, bool shift = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(control);
    const bool system = key == VK_F10;
    PostMessageW(control, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    PostMessageW(control, system ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001);
    form1.PumpAllEvents();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }

  ScratchDir dir;
};

TEST_F(Win32KeysTest, EnterListsTheTypedFolderAndPressesTheFocusedButton) {
  WriteFile(dir.path() / "a.htm", "a");
  SetWindowTextW(form1.Edit1, dir.path().wstring().c_str());
  Key(form1.Edit1, VK_RETURN);
  EXPECT_EQ(Items(), Texts{L"a.htm"});
  EXPECT_EQ(dialogs.folderRequests, Texts{}) << "Enter is no click on Обзор";

  Key(form1.abt, VK_RETURN);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].substr(0, 20), L"message|О программе|");
  dialogs.folderAnswers.push_back(L"");
  Key(form1.Button1, VK_RETURN);
  EXPECT_EQ(dialogs.folderRequests, Texts{L"Выберите папку с файлами!|"});
  Key(form1.Edit5, VK_RETURN);
  Key(form1.Form1, VK_ESCAPE);
  EXPECT_EQ(dialogs.boxes.size(), 1u) << "Enter elsewhere and Escape without a build do nothing";
}

TEST_F(Win32KeysTest, TheChooserTakesEnterAsADoubleClickAndEscapeClosesIt) {
  for (const char* name : {"a.htm", "b.htm"}) WriteFile(dir.path() / name, "x");
  ListFolder(dir.path());
  SendMessageW(form1.Form1, WM_COMMAND, pagefold::gui::win32::N1, 0);
  Click(form1.Button7);
  Key(form3.ListBox1, VK_DOWN);
  EXPECT_EQ(WindowText(form1.Edit5), L"a.htm");
  Key(form3.ListBox1, VK_RETURN);
  EXPECT_FALSE(IsWindowVisible(form3.Form3));
  EXPECT_EQ(WindowText(form1.Edit5), L"a.htm");

  Click(form1.Button7);
  EXPECT_TRUE(IsWindowVisible(form3.Form3));
  EXPECT_TRUE(GetWindowLongW(form3.Form3, GWL_EXSTYLE) & WS_EX_TOPMOST);
  Key(form3.ListBox1, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(form3.Form3));
  EXPECT_EQ(WindowText(form1.Edit5), L"a.htm");
}

// A click on a row's name, away from its tick box.
void ClickName(HWND list, int row) {
  RECT label;
  ListView_GetItemRect(list, row, &label, LVIR_LABEL);
  const LPARAM at = MAKELPARAM(label.left + 5, (label.top + label.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
}

TEST_F(Win32KeysTest, TheSpaceBarTicksTheFocusedFileAndATickBoxTakesEveryClick) {
  for (const char* name : {"a.htm", "b.gif", "c.gif"}) WriteFile(dir.path() / name, "x");
  ListFolder(dir.path());
  ClickName(List(), 1);
  EXPECT_EQ(Ticked(), Texts{}) << "a click on the name";
  Key(List(), VK_SPACE);
  EXPECT_EQ(Ticked(), Texts{L"b.gif"});
  EXPECT_EQ(form1.PanelText(0), L"0\\1");
  Key(List(), 'X');  // the list's search as one types finds nothing, so the focus stays
  Key(List(), VK_DOWN);
  Key(List(), VK_SPACE);
  EXPECT_EQ(Ticked(), (Texts{L"b.gif", L"c.gif"}));
  Key(List(), VK_SPACE);
  EXPECT_EQ(Ticked(), Texts{L"b.gif"});
  EXPECT_EQ(form1.PanelText(0), L"0\\1");

  SetTick(L"a.htm", true);
  EXPECT_EQ(Ticked(), (Texts{L"a.htm", L"b.gif"}));
  EXPECT_EQ(form1.PanelText(0), L"0\\2");
  // Both clicks of a double click on the box change it, the second back.
  const LPARAM at = TickBox(2);
  SendMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(List(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(Ticked(), (Texts{L"a.htm", L"b.gif", L"c.gif"}));
  SendMessageW(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(List(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(Ticked(), (Texts{L"a.htm", L"b.gif"}));
  EXPECT_EQ(form1.PanelText(0), L"0\\2");
  EXPECT_EQ(form1.TickedItems(), (std::vector<std::string>{"a.htm", "b.gif"}));
}

// Counts the popup menus that open and closes each at once.
struct MenuWatch {
  static inline int opened = 0;
};

void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  ++MenuWatch::opened;
  EndMenu();
}

TEST_F(Win32KeysTest, ThePopupMenuOpensOnRightClickShiftF10AndTheMenuKey) {
  WriteFile(dir.path() / "a.htm", "a");
  ListFolder(dir.path());
  MenuWatch::opened = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CloseOpenMenu);
  RECT item;
  ListView_GetItemRect(List(), 0, &item, LVIR_LABEL);
  const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
  PostMessageW(List(), WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(List(), WM_RBUTTONUP, 0, at);
  form1.PumpAllEvents();
  EXPECT_EQ(MenuWatch::opened, 1) << "right click";
  Key(List(), VK_F10, true);
  EXPECT_EQ(MenuWatch::opened, 2) << "Shift+F10";
  Key(List(), VK_APPS);
  EXPECT_EQ(MenuWatch::opened, 3) << "the menu key";
  Key(List(), VK_F10);
  EXPECT_EQ(MenuWatch::opened, 3) << "F10 alone";
  KillTimer(nullptr, timer);
}

// What the shell posts for files dropped onto a window.
void Drop(HWND window, const std::vector<fs::path>& paths) {
  std::wstring names;
  for (const fs::path& path : paths) names += path.wstring() + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

TEST_F(Win32KeysTest, AFolderDroppedOntoTheWindowIsListed) {
  WriteFile(dir.path() / "sub" / "a.htm", "a");
  WriteFile(dir.path() / "b.gif", "b");
  Drop(form1.Form1, {dir.path() / "b.gif"});
  Drop(form1.Form1, {dir.path(), dir.path() / "sub"});
  form1.PumpAllEvents();
  EXPECT_EQ(Rows(), 0) << "a file, or two things, list nothing";
  Drop(form1.Form1, {dir.path() / "sub"});
  form1.PumpAllEvents();
  EXPECT_EQ(Items(), Texts{L"a.htm"});
  EXPECT_EQ(WindowText(form1.Edit1), (dir.path() / "sub").wstring());
}

}  // namespace
