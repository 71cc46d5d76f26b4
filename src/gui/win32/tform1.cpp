#include "gui/win32/tform1.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "gui/common/build_button.h"
#include "gui/common/check_list_actions.h"
#include "gui/common/chooser_items.h"
#include "gui/common/folder_step.h"
#include "gui/common/form_create.h"
#include "gui/common/save_step.h"
#include "gui/common/window_texts.h"
#include "gui/win32/system_dialogs.h"
#include "gui/win32/tform3.h"
#include "gui/win32/wide_text.h"
#include "gui/win32/window_class.h"

namespace pagefold::gui::win32 {
namespace {

constexpr wchar_t kClassName[] = L"PagefoldTForm1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
// Designed client area and status bar height.
constexpr int kWidth = 282, kHeight = 369;

// Control identifiers, for the notifications; above IDOK and IDCANCEL, which
// Enter and Escape send.
enum Id : int {
  kButton1 = 1001, kEdit1, kCheckListBox1, kSave, kEdit6, kEdit5, kButton7, kStatusBar1,
  kCheckBox1, kEdit2, kCheckBox2, kButton3, kAbt,
};

// The busy pointer over the window while it lives.
class BusyCursor {
 public:
  explicit BusyCursor(bool& busy) : busy_(busy) {
    busy_ = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  }
  ~BusyCursor() {
    busy_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  bool& busy_;
};

}  // namespace

TForm1::TForm1(const DisplayMetrics& display, Dialogs* dialogs)
    : display_(display),
      ownDialogs_(dialogs ? nullptr : std::make_unique<SystemDialogs>()),
      dialogs_(dialogs ? *dialogs : *ownDialogs_) {
  RegisterWindowClass(kClassName, &TForm1::WindowProc);
  RECT frame = {0, 0, display.Scaled(kWidth), display.Scaled(kHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT desktop;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
  CreateWindowExW(0, kClassName, Wide(texts::kProgramName).c_str(), kStyle,
                  (desktop.left + desktop.right - width) / 2, (desktop.top + desktop.bottom - height) / 2, width,
                  height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  CreateMembers();
  SetFontOfAll(Form1, display.Font());
  LayOut();
  FormCreate();
}

TForm1::~TForm1() {
  if (IsWindow(Form1)) DestroyWindow(Form1);
  DestroyMenu(PopupMenu1);
}

HWND TForm1::Control(const wchar_t* kind, const std::string& caption, DWORD style, HWND parent, int id) {
  return CreateWindowExW(0, kind, Wide(caption).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// Creation order is the tab order, so the controls come in it; the group
// boxes and the panel are parents of their members.
void TForm1::CreateMembers() {
  PopupMenu1 = CreatePopupMenu();
  AppendMenuW(PopupMenu1, MF_STRING, N1, (Wide(texts::kPopupSelectAll) + L"\tCtrl+A").c_str());
  AppendMenuW(PopupMenu1, MF_STRING, N2, Wide(texts::kPopupUnselectAll).c_str());
  AppendMenuW(PopupMenu1, MF_STRING, N3, (Wide(texts::kPopupClear) + L"\tDel").c_str());

  const DWORD container = WS_CLIPSIBLINGS;
  const DWORD edit = WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
  GroupBox1 = Control(L"BUTTON", texts::kGroupBox1, BS_GROUPBOX | container, Form1, 0);
  Button1 = Control(L"BUTTON", texts::kButton1, WS_TABSTOP | BS_PUSHBUTTON, GroupBox1, kButton1);
  Edit1 = Control(L"EDIT", "", edit, GroupBox1, kEdit1);
  files_ = std::make_unique<CheckList>(GroupBox1, kCheckListBox1, [this] { CheckListBox1ClickCheck(); });
  CheckListBox1 = files_->Control();
  Edit5 = Control(L"EDIT", "", edit | ES_READONLY, GroupBox1, kEdit5);
  Button7 = Control(L"BUTTON", texts::kButton7, WS_TABSTOP | BS_PUSHBUTTON, GroupBox1, kButton7);
  Label6 = Control(L"STATIC", texts::kLabel6, SS_LEFTNOWORDWRAP, GroupBox1, 0);
  Label7 = Control(L"STATIC", texts::kLabel7, SS_LEFTNOWORDWRAP, GroupBox1, 0);
  Label5 = Control(L"STATIC", texts::kLabel5, SS_LEFTNOWORDWRAP, GroupBox1, 0);

  GroupBox2 = Control(L"BUTTON", texts::kGroupBox2, BS_GROUPBOX | container, Form1, 0);
  save = Control(L"BUTTON", texts::kSave, WS_TABSTOP | BS_PUSHBUTTON, GroupBox2, kSave);
  Edit6 = Control(L"EDIT", "", edit | ES_READONLY, GroupBox2, kEdit6);
  SaveDialog1 = {texts::kSaveFilterDescription, texts::kSaveFilterPattern, u""};
  CheckBox1 = Control(L"BUTTON", texts::kCheckBox1, WS_TABSTOP | BS_AUTOCHECKBOX, GroupBox2, kCheckBox1);
  Edit2 = Control(L"EDIT", "", edit, GroupBox2, kEdit2);
  ShowWindow(Edit2, SW_HIDE);
  CheckBox2 = Control(L"BUTTON", texts::kCheckBox2, WS_TABSTOP | BS_AUTOCHECKBOX, GroupBox2, kCheckBox2);

  Panel1 = Control(L"STATIC", "", container, Form1, 0);
  ProgressBar1 = Control(PROGRESS_CLASSW, "", WS_TABSTOP, Panel1, 0);
  SendMessageW(ProgressBar1, PBM_SETRANGE32, 0, 1000);
  SendMessageW(ProgressBar1, PBM_SETPOS, 0, 0);
  Button3 = Control(L"BUTTON", texts::kButton3, WS_TABSTOP | BS_PUSHBUTTON, Panel1, kButton3);
  abt = Control(L"BUTTON", texts::kAbout, WS_TABSTOP | BS_PUSHBUTTON, Panel1, kAbt);

  StatusBar1 = Control(STATUSCLASSNAMEW, "", 0, Form1, kStatusBar1);
  DragAcceptFiles(Form1, TRUE);
  ForwardContextMenu(CheckListBox1);
  for (HWND parent : {GroupBox1, GroupBox2, Panel1}) {
    SetWindowLongPtrW(parent, GWL_EXSTYLE, GetWindowLongPtrW(parent, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    ForwardNotifications(parent);
  }
}

void TForm1::Place(HWND control, int left, int top, int width, int height) {
  MoveWindow(control, left, top, width, height, TRUE);
}

// The designed positions, scaled, with the anchors and alignments that keep
// the file list taking the room a maximised window gains.
void TForm1::LayOut() {
  const auto s = [this](int designed) { return display_.Scaled(designed); };
  RECT client;
  GetClientRect(Form1, &client);
  const int width = client.right, height = client.bottom;

  SendMessageW(StatusBar1, WM_SIZE, 0, 0);
  RECT bar;
  GetWindowRect(StatusBar1, &bar);
  const int parts[] = {s(100), -1};
  SendMessageW(StatusBar1, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));

  const int panelTop = height - (bar.bottom - bar.top) - s(30);
  Place(Panel1, 0, panelTop, width, s(30));
  const int abtLeft = width - s(3) - s(81);
  const int button3Left = abtLeft - s(6) - s(65);
  Place(abt, abtLeft, s(3), s(81), s(24));
  Place(Button3, button3Left, s(3), s(65), s(24));
  Place(ProgressBar1, s(3), s(3), button3Left - s(9), s(24));

  const int box2Top = panelTop - s(3) - s(83), boxWidth = width - s(6);
  Place(GroupBox2, s(3), box2Top, boxWidth, s(83));
  Place(save, boxWidth - s(90), s(15), s(81), s(25));
  Place(Edit6, s(8), s(16), boxWidth - s(104), s(21));
  Place(CheckBox1, s(8), s(40), std::min(TextWidth(CheckBox1, s(145)) + s(18), s(150)), s(17));
  Place(Edit2, s(160), s(40), s(108), s(21));
  Place(CheckBox2, s(8), s(64), std::min(TextWidth(CheckBox2, s(245)) + s(18), boxWidth - s(11)), s(17));

  const int box1Height = box2Top - s(6);
  Place(GroupBox1, s(3), s(3), boxWidth, box1Height);
  Place(Label6, s(8), s(16), TextWidth(Label6, s(90)), s(13));
  Place(Edit1, s(8), s(32), boxWidth - s(80), s(21));
  Place(Button1, boxWidth - s(66), s(30), s(57), s(25));
  Place(Label7, s(8), s(56), TextWidth(Label7, s(37)), s(13));
  Place(CheckListBox1, s(8), s(71), boxWidth - s(17), box1Height - s(120));
  ListView_SetColumnWidth(CheckListBox1, 0, LVSCW_AUTOSIZE_USEHEADER);
  Place(Label5, s(10), box1Height - s(43), TextWidth(Label5, s(87)), s(13));
  Place(Edit5, s(8), box1Height - s(27), boxWidth - s(88), s(21));
  Place(Button7, boxWidth - s(74), box1Height - s(28), s(65), s(25));
}

// The width that a control's caption needs in the window's font, at least
// the designed one.
int TForm1::TextWidth(HWND control, int designed) const {
  const std::wstring caption = WindowText(control);
  HDC context = GetDC(control);
  HGDIOBJ old = SelectObject(context, display_.Font());
  SIZE size = {};
  GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &size);
  SelectObject(context, old);
  ReleaseDC(control, context);
  return std::max(designed, static_cast<int>(size.cx) + 2);
}

std::wstring TForm1::PanelText(int panel) const {
  std::wstring text(LOWORD(SendMessageW(StatusBar1, SB_GETTEXTLENGTHW, panel, 0)) + 1, L'\0');
  text.resize(LOWORD(SendMessageW(StatusBar1, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

void TForm1::Button1Click() {
  BusyCursor busy(busy_);
  ChooseSourceFolder(build_, *this, closing_, dialogs_);
}

// Enter: the focused button is pressed; in the folder box, the folder typed
// there is listed.
void TForm1::EnterPressed() {
  const HWND focus = GetFocus();
  for (HWND button : {Button1, save, Button7, Button3, abt})
    if (focus == button) return static_cast<void>(SendMessageW(button, BM_CLICK, 0, 0));
  if (focus != Edit1) return;
  const std::string folder = SourceFolder();
  if (folder.empty()) return;
  BusyCursor busy(busy_);
  FilesToStringsList(folder);
}

// One folder dropped from a file manager, while no build runs.
void TForm1::FolderDropped(HDROP drop) {
  std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
  const bool one = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1;
  path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
  DragFinish(drop);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (closing_.Busy() || !one || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return;
  BusyCursor busy(busy_);
  ListPickedFolder(Utf16(path), build_, *this, closing_);
}

void TForm1::FormCreate() { gui::FormCreate(build_, *this); }

void TForm1::N1Click() { TickAll(*this, true); }

void TForm1::N2Click() { TickAll(*this, false); }

void TForm1::N3Click() { ClearCheckList(*this); }

void TForm1::CheckListBox1ClickCheck() { CheckListChanged(*this); }

void TForm1::Button5Click() { PressBuildButton(build_, *this, closing_, dialogs_); }

void TForm1::Button7Click() { FillChooser(*this); }

void TForm1::saveClick() { ChooseTargetFile(build_, *this, dialogs_, SaveDialog1); }

void TForm1::abtClick() { dialogs_.ShowMessage(texts::kAbout, texts::kAboutText); }

void TForm1::CheckBox1Click() {
  const bool ticked = SendMessageW(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED;
  ShowWindow(Edit2, ApplyGroupTypeRule(ticked, build_.GroupType) ? SW_SHOW : SW_HIDE);
}

// Edit2 holds Windows-1251 text only, as Edit1 does, and only a group type
// that can go into the script.
void TForm1::Edit2Change() {
  if (!groupText_.Edited(Utf16(WindowText(Edit2)), *this)) Restore(Edit2, groupText_);
  build_.GroupType = *Narrow(WindowText(Edit2));
}

void TForm1::FilesToStringsList(const std::string& folder) { ListFolder(folder, build_, *this, closing_); }

void TForm1::Edit1Change() {
  if (!sourceText_.Edited(Utf16(WindowText(Edit1)), *this)) Restore(Edit1, sourceText_);
}

void TForm1::Restore(HWND edit, const Cp1251EditBox& box) {
  quiet_ = true;
  SetWindowTextW(edit, Wide(box.Kept()).c_str());
  quiet_ = false;
}

void TForm1::SetEditText(HWND edit, const std::string& cp1251) {
  quiet_ = true;
  SetWindowTextW(edit, Wide(cp1251).c_str());
  quiet_ = false;
}

void TForm1::PopUp(LPARAM at) {
  POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (at == -1) {  // from the keyboard: at the list's top left corner
    point = {0, 0};
    ClientToScreen(CheckListBox1, &point);
  }
  TrackPopupMenu(PopupMenu1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Form1, nullptr);
}

void TForm1::OnCommand(int id, int code) {
  if (id == IDOK) return EnterPressed();
  if (id == IDCANCEL) return closing_.EscapePressed(*this);
  if (code == 0 || code == 1) {  // a menu item or an accelerator
    if (id == N1) return N1Click();
    if (id == N2) return N2Click();
    if (id == N3) return N3Click();
  }
  if (code == BN_CLICKED) {
    if (id == kButton1) return Button1Click();
    if (id == kButton3) return Button5Click();
    if (id == kButton7) return Button7Click();
    if (id == kSave) return saveClick();
    if (id == kAbt) return abtClick();
    if (id == kCheckBox1 || id == kCheckBox2) return CheckBox1Click();
  }
  if (code == EN_CHANGE && !quiet_) {
    if (id == kEdit1) return Edit1Change();
    if (id == kEdit2) return Edit2Change();
  }
}

// The list's own notifications go to it; the menu's shortcuts act while the
// list has the focus.
LRESULT TForm1::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != CheckListBox1) return 0;
  if (header.code == LVN_KEYDOWN) {
    const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
    if (key == 'A' && GetKeyState(VK_CONTROL) < 0) N1Click();
    if (key == VK_DELETE) N3Click();
  }
  return files_->Notified(header);
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowObject<TForm1>(window, message, lParam);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) self->Form1 = window;
  return self->Handle(message, wParam, lParam);
}

LRESULT TForm1::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == CheckListBox1) PopUp(lParam);
      return 0;
    case WM_DROPFILES:
      FolderDropped(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:  // labels, check boxes and read-only boxes on the button face
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (!busy_) break;
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_SIZE:
      if (StatusBar1) LayOut();
      return 0;
    case WM_CLOSE:
      // During a build the window stays open until the build has seen
      // Closing() and ended; Button5Click closes it then. During a listing it
      // stays open until the listing has ended; FilesToStringsList closes it.
      if (closing_.CloseAsked()) DestroyWindow(Form1);
      return 0;
  }
  return DefWindowProcW(Form1, message, wParam, lParam);
}

}  // namespace pagefold::gui::win32
