// The program's two Win32 windows as the start-up makes them, with test
// dialogs, and the messages that a user's clicks and keys send.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/win32/display_metrics.h"
#include "gui/win32/tform1.h"
#include "gui/win32/tform3.h"
#include "gui/win32/wide_text.h"
#include "win32_test_dialogs.h"

namespace testing_support {

using pagefold::gui::win32::WindowText;
using Texts = std::vector<std::wstring>;

class Win32WindowTest : public testing::Test {
 protected:
  Win32WindowTest() {
    form1.SetForm3(&form3);
    ShowWindow(form1.Form1, SW_SHOW);
    Pump();
  }

  // Handles every pending message.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  static void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

  void ListFolder(const std::filesystem::path& folder) {
    dialogs.folderAnswers.push_back(folder.wstring());
    Click(form1.Button1);
  }

  HWND List() const { return form1.CheckListBox1; }
  int Rows() const { return ListView_GetItemCount(List()); }

  Texts Items() const {
    Texts items;
    for (int row = 0; row < Rows(); ++row) {
      wchar_t text[1024] = {};
      ListView_GetItemText(List(), row, 0, text, 1024);
      items.push_back(text);
    }
    return items;
  }

  Texts Ticked() const {
    Texts ticked;
    const Texts items = Items();
    for (int row = 0; row < Rows(); ++row)
      if (ListView_GetCheckState(List(), row)) ticked.push_back(items[row]);
    return ticked;
  }

  // Where a row's tick box is, as the list's own hit test finds it.
  LPARAM TickBox(int row) const {
    RECT bounds;
    ListView_GetItemRect(List(), row, &bounds, LVIR_BOUNDS);
    LVHITTESTINFO hit = {};
    hit.pt.y = (bounds.top + bounds.bottom) / 2;
    for (hit.pt.x = bounds.left; hit.pt.x < bounds.right; ++hit.pt.x)
      if (ListView_HitTest(List(), &hit) == row && (hit.flags & LVHT_ONITEMSTATEICON)) break;
    EXPECT_LT(hit.pt.x, bounds.right) << "no tick box in row " << row;
    return MAKELPARAM(hit.pt.x, hit.pt.y);
  }

  // A click with the mouse on the tick box of an item, when its tick is not
  // the one asked for.
  void SetTick(const std::wstring& item, bool ticked) {
    const Texts items = Items();
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) return ADD_FAILURE() << "no item " << pagefold::gui::win32::Narrow(item).value_or("?");
    const int row = static_cast<int>(found - items.begin());
    if ((ListView_GetCheckState(List(), row) != 0) == ticked) return;
    const LPARAM at = TickBox(row);
    SendMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(List(), WM_LBUTTONUP, 0, at);
  }

  // A key pressed while the list has the focus; with Ctrl held when asked.
  void KeyInList(WORD key, bool control) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(List());
    SendMessageW(List(), WM_KEYDOWN, key, 1);
    SendMessageW(List(), WM_KEYUP, key, 0xC0000001);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }

  static Texts ListBoxItems(HWND list) {
    Texts items;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      wchar_t text[1024] = {};
      SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }

  // A click with the mouse on an item of the chooser; twice for a double click.
  void PickInChooser(const std::wstring& item, bool twice = false) {
    const Texts items = ListBoxItems(form3.ListBox1);
    for (int row = 0; row < static_cast<int>(items.size()); ++row) {
      if (items[row] != item) continue;
      RECT rect;
      SendMessageW(form3.ListBox1, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
      const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
      SendMessageW(form3.ListBox1, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(form3.ListBox1, WM_LBUTTONUP, 0, at);
      if (twice) {
        SendMessageW(form3.ListBox1, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(form3.ListBox1, WM_LBUTTONUP, 0, at);
      }
      return;
    }
    ADD_FAILURE() << "no item in the chooser";
  }

  pagefold::gui::win32::DisplayMetrics display;
  Win32TestDialogs dialogs;
  pagefold::gui::win32::TForm1 form1{display, &dialogs};
  pagefold::gui::win32::TForm3 form3{form1.Edit5, display};
};

}  // namespace testing_support
