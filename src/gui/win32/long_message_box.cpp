#include "gui/win32/long_message_box.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace pagefold::gui::win32 {
namespace {

constexpr WORD kTextId = 100;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kButtonClass = 0x0080;

// What the dialog needs while it is open.
struct Box {
  std::wstring text;  // with CR LF line breaks, as the edit control takes them
  std::vector<HWND> disabled;
};

// The text with every line break as CR LF.
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\n') {
      out += text[i];
      continue;
    }
    out += L"\r\n";
    if (i + 1 < text.size() && text[i + 1] == L'\r') ++i;
  }
  return out;
}

// The in-memory form of a dialog template, in WORDs.
class Template {
 public:
  void Dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void Word(WORD value) { words_.push_back(value); }
  void Text(const std::wstring& text) {
    words_.insert(words_.end(), text.begin(), text.end());
    words_.push_back(0);
  }
  void Rect(short x, short y, short cx, short cy) {
    for (const short value : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(value));
  }
  // Every item starts on a DWORD boundary.
  void Align() {
    if (words_.size() % 2) words_.push_back(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD windowClass, const std::wstring& text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Rect(x, y, cx, cy);
    Word(id);
    Word(0xFFFF);
    Word(windowClass);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

// In dialog units: the text area above an OK button at the right.
Template Layout(const std::wstring& caption) {
  Template layout;
  layout.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  layout.Dword(WS_EX_TOPMOST);
  layout.Word(2);  // items
  layout.Rect(0, 0, 300, 180);
  layout.Word(0);  // no menu
  layout.Word(0);  // the dialog class
  layout.Text(caption);
  layout.Word(8);
  layout.Text(L"MS Shell Dlg");
  layout.Item(WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                  ES_AUTOHSCROLL,
              7, 7, 286, 148, kTextId, kEditClass, L"");
  layout.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 243, 159, 50, 14, IDOK, kButtonClass, L"OK");
  return layout;
}

// Ctrl+A selects the whole text, which a multi-line edit control does not do
// by itself; its character is swallowed instead of beeping.
LRESULT CALLBACK SelectAllKey(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_KEYDOWN && wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return 0;
  }
  if (message == WM_CHAR && wParam == 1) return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, &SelectAllKey, 0);
  return DefSubclassProc(edit, message, wParam, lParam);
}

BOOL CALLBACK DisableEnabled(HWND window, LPARAM box) {
  if (IsWindowEnabled(window)) {
    reinterpret_cast<Box*>(box)->disabled.push_back(window);
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

INT_PTR CALLBACK BoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* box = reinterpret_cast<Box*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const HWND edit = GetDlgItem(dialog, kTextId);
    SetWindowTextW(edit, box->text.c_str());
    SetWindowSubclass(edit, &SelectAllKey, 0, 0);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    return FALSE;  // the focus is set
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    // The windows come back before the box goes, so that one of them, not
    // another program's, becomes active.
    auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(dialog, DWLP_USER));
    for (const HWND window : box->disabled) EnableWindow(window, TRUE);
    box->disabled.clear();
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowLongMessageBox(const std::wstring& caption, const std::wstring& text) {
  Box box{WithCrLf(text), {}};
  const HWND owner = GetActiveWindow();
  EnumThreadWindows(GetCurrentThreadId(), &DisableEnabled, reinterpret_cast<LPARAM>(&box));
  const Template layout = Layout(caption);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, &BoxProc, reinterpret_cast<LPARAM>(&box));
  for (const HWND window : box.disabled) EnableWindow(window, TRUE);
}

}  // namespace pagefold::gui::win32
