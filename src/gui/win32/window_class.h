// The plumbing that ties a window of the system to the object that handles
// its messages.
#pragma once

#include <windows.h>

namespace pagefold::gui::win32 {

// Registers a window class once: the program's icon, the arrow pointer and
// the button-face background.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure);

// The object given as the creation parameter of CreateWindowExW, kept with
// the window from its first message on; nullptr before that.
// Hands the notifications of the controls inside a container (a group box,
// a panel) on to the top-level window, where their handlers are.
void ForwardNotifications(HWND container);
// Hands the context menu requests of a control straight to the top-level
// window, naming the control.
void ForwardContextMenu(HWND control);

template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace pagefold::gui::win32
