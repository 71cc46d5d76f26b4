#include "gui/win32/window_class.h"

#include <commctrl.h>

namespace pagefold::gui::win32 {

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW known = {};
  known.cbSize = sizeof known;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &known)) return;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = LoadIconW(windowClass.hInstance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

namespace {

LRESULT CALLBACK Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {  // group boxes and panels paint no background of their own
      RECT area;
      GetClientRect(window, &area);
      FillRect(reinterpret_cast<HDC>(wParam), &area, GetSysColorBrush(COLOR_BTNFACE));
      return TRUE;
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// The system's default handling passes WM_CONTEXTMENU on from parent to
// parent, each naming itself as the source: through a group box the main
// window would hear of the group box, not of the control. The menu key is
// taken on its release, as the system does, once.
LRESULT CALLBACK ContextMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const bool menuKey = (message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_APPS;
  if (message == WM_CONTEXTMENU || (menuKey && message == WM_KEYUP)) {
    SendMessageW(GetAncestor(window, GA_ROOT), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                 message == WM_CONTEXTMENU ? lParam : -1);
    return 0;
  }
  if (menuKey) return 0;
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void ForwardNotifications(HWND container) { SetWindowSubclass(container, &Forward, 0, 0); }

void ForwardContextMenu(HWND control) { SetWindowSubclass(control, &ContextMenu, 0, 0); }

}  // namespace pagefold::gui::win32
