// The box of a long message as the program shows it: the whole text in a
// read-only edit control that scrolls, Ctrl+A and Ctrl+C, Enter to close, and
// the program's other windows disabled meanwhile.
#include <gtest/gtest.h>

#include "gui/win32/long_message_box.h"
#include "win32_window_fixture.h"

namespace {

using testing_support::Win32WindowTest;
using testing_support::WindowText;

const std::wstring kText = L"Сбор закончен !!!\r\nНе упакованы файлы: 1\r\nREADME";

// What the check saw while the box was open; it runs from a timer inside
// the box's own message loop.
struct Seen {
  static inline HWND form1 = nullptr, form3 = nullptr;
  static inline bool checked = false;
  static inline int waits = 0;
};

std::wstring Clipboard() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void Ctrl(HWND edit, WPARAM key, WPARAM character) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(edit, WM_KEYDOWN, key, 1);
  SendMessageW(edit, WM_CHAR, character, 1);
  SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
}

// A box that Enter left open is closed, so that the test ends.
void CALLBACK CloseWhenLeftOpen(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (const HWND box = FindWindowW(L"#32770", L"Внимание")) {
    ADD_FAILURE() << "Enter did not close the box";
    SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
  }
}

void CALLBACK CheckTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"Внимание");
  if (!box) {
    if (++Seen::waits == 200) {
      KillTimer(nullptr, timer);
      ADD_FAILURE() << "the box did not come up";
    }
    return;
  }
  KillTimer(nullptr, timer);
  const HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  const LONG style = GetWindowLongW(edit, GWL_STYLE);
  for (const LONG wanted : {LONG{ES_MULTILINE}, LONG{ES_READONLY}, LONG{WS_VSCROLL}, LONG{WS_HSCROLL}})
    EXPECT_EQ(style & wanted, wanted);
  EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(WindowText(box), L"Внимание");
  EXPECT_EQ(WindowText(edit), kText);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_FALSE(IsWindowEnabled(Seen::form1));
  EXPECT_FALSE(IsWindowEnabled(Seen::form3));

  SendMessageW(edit, WM_CHAR, L'x', 1);
  EXPECT_EQ(WindowText(edit), kText) << "typing changes nothing";
  Ctrl(edit, 'A', 1);
  DWORD from = 1, to = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, kText.size());
  Ctrl(edit, 'C', 3);
  EXPECT_EQ(Clipboard(), kText);
  Seen::checked = true;
  // Enter, as the box's loop hands it out, presses OK.
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
  SetTimer(nullptr, 0, 3000, &CloseWhenLeftOpen);
}

TEST_F(Win32WindowTest, TheLongMessageBoxShowsItsTextToScrollSelectAndCopy) {
  Seen::form1 = form1.Form1;
  Seen::form3 = form3.Form3;
  SetTimer(nullptr, 0, 20, &CheckTheBox);
  pagefold::gui::win32::ShowLongMessageBox(L"Внимание", L"Сбор закончен !!!\nНе упакованы файлы: 1\n\rREADME");
  EXPECT_TRUE(Seen::checked);
  EXPECT_TRUE(IsWindowEnabled(form1.Form1));
  EXPECT_TRUE(IsWindowEnabled(form3.Form3));
  EXPECT_EQ(FindWindowW(L"#32770", L"Внимание"), nullptr);
}

}  // namespace
