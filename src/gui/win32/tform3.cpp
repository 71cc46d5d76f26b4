#include "gui/win32/tform3.h"

#include "gui/common/window_texts.h"
#include "gui/win32/redraw_paused.h"
#include "gui/win32/wide_text.h"
#include "gui/win32/window_class.h"

namespace pagefold::gui::win32 {
namespace {

constexpr wchar_t kClassName[] = L"PagefoldTForm3";
// Above IDOK and IDCANCEL, which Enter and Escape send.
constexpr int kListBox1 = 1001;

}  // namespace

TForm3::TForm3(HWND startFile, const DisplayMetrics& display) : startFile_(startFile) {
  RegisterWindowClass(kClassName, &TForm3::WindowProc);
  RECT frame = {0, 0, display.Scaled(319), display.Scaled(302)};
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_TOPMOST);
  Form3 = CreateWindowExW(WS_EX_TOPMOST, kClassName, Wide(texts::kForm3).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
  ListBox1 = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0,
                             0, 0, Form3, reinterpret_cast<HMENU>(kListBox1), GetModuleHandleW(nullptr), nullptr);
  SetFontOfAll(Form3, display.Font());
  LayOut();
}

TForm3::~TForm3() { DestroyWindow(Form3); }

void TForm3::ShowOver(HWND mainWindow) {
  if (!IsWindowVisible(Form3)) {
    RECT main, own;
    GetWindowRect(mainWindow, &main);
    GetWindowRect(Form3, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    SetWindowPos(Form3, nullptr, (main.left + main.right - width) / 2, (main.top + main.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(Form3, SW_SHOW);
  SetForegroundWindow(Form3);
}

void TForm3::SetItems(const std::vector<std::string>& names) {
  const RedrawPaused paused(ListBox1);
  SendMessageW(ListBox1, LB_RESETCONTENT, 0, 0);
  SendMessageW(ListBox1, LB_INITSTORAGE, names.size(), 0);
  for (const std::string& name : names)
    SendMessageW(ListBox1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
}

void TForm3::ListBox1Click() {
  const int count = static_cast<int>(SendMessageW(ListBox1, LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    if (SendMessageW(ListBox1, LB_GETSEL, row, 0) <= 0) continue;
    std::wstring item(static_cast<size_t>(SendMessageW(ListBox1, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
    item.resize(static_cast<size_t>(SendMessageW(ListBox1, LB_GETTEXT, row, reinterpret_cast<LPARAM>(item.data()))));
    SetWindowTextW(startFile_, item.c_str());
  }
}

void TForm3::ListBox1DblClick() { ShowWindow(Form3, SW_HIDE); }

void TForm3::LayOut() {
  RECT client;
  GetClientRect(Form3, &client);
  MoveWindow(ListBox1, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT CALLBACK TForm3::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowObject<TForm3>(window, message, lParam);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) self->Form3 = window;
  return self->Handle(message, wParam, lParam);
}

LRESULT TForm3::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) ListBox1DblClick();  // Enter
      if (LOWORD(wParam) == IDCANCEL) ShowWindow(Form3, SW_HIDE);  // Escape
      if (LOWORD(wParam) == kListBox1 && HIWORD(wParam) == LBN_SELCHANGE) ListBox1Click();
      if (LOWORD(wParam) == kListBox1 && HIWORD(wParam) == LBN_DBLCLK) ListBox1DblClick();
      return 0;
    case WM_SIZE:
      if (ListBox1) LayOut();
      return 0;
    case WM_CLOSE:  // closing hides; the chooser lives as long as the program
      ShowWindow(Form3, SW_HIDE);
      return 0;
  }
  return DefWindowProcW(Form3, message, wParam, lParam);
}

}  // namespace pagefold::gui::win32
