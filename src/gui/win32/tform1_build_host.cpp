// The Win32 window as the build's front end and as the view of the shared
// handlers: its inputs and its check list from the controls, its progress
// into the status bar and the progress bar, its questions through the dialogs.
#include <windows.h>
#include <commctrl.h>

#include "gui/common/long_message.h"
#include "gui/win32/tform1.h"
#include "gui/win32/tform3.h"
#include "gui/win32/wide_text.h"

namespace pagefold::gui::win32 {
namespace {

// How long the pump for all pending events may run at most, in milliseconds.
constexpr DWORD kPumpLimitMs = 50;

// Handles one pending message, if there is one; never waits. A quit request
// stays in the queue for the program's message loop.
bool DispatchPending() {
  MSG message;
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (!IsDialogMessageW(GetAncestor(message.hwnd, GA_ROOT), &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

}  // namespace

// Every text in the window's boxes has a Windows-1251 form: the listed names
// come from it, and typed or chosen names without one are refused.
std::string TForm1::SourceFolder() { return Narrow(WindowText(Edit1)).value(); }

std::vector<std::string> TForm1::TickedItems() { return files_->TickedNames(); }

std::string TForm1::StartFile() { return Narrow(WindowText(Edit5)).value(); }

void TForm1::SetStartFile(const std::string& name) { SetEditText(Edit5, name); }

std::string TForm1::ResourceFile() { return Narrow(WindowText(Edit6)).value(); }

bool TForm1::KeepAll() { return SendMessageW(CheckBox2, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TForm1::SetStatusText(int panel, const std::string& text) {
  panels_.at(panel) = Wide(text);
  ShowProgressWhenDue();
}

void TForm1::SetProgressMax(int max) { SendMessageW(ProgressBar1, PBM_SETRANGE32, 0, max); }

void TForm1::SetProgressPosition(int position) {
  position_ = position;
  ShowProgressWhenDue();
}

void TForm1::AdvanceProgress() {
  ++position_;
  ShowProgressWhenDue();
}

// A new status text or progress position reaches its control at once, but
// during a build at most once a frame: the status bar repaints before it
// returns from every new text, which for every file of a build costs more
// than the build.
void TForm1::ShowProgressWhenDue() {
  if (!closing_.Building() || frames_.Due()) ShowProgress();
}

void TForm1::ShowProgress() {
  for (int panel = 0; panel < 2; ++panel) {
    if (panels_[panel] == shownPanels_[panel]) continue;
    SendMessageW(StatusBar1, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(panels_[panel].c_str()));
    shownPanels_[panel] = panels_[panel];
  }
  if (position_ != shownPosition_) SendMessageW(ProgressBar1, PBM_SETPOS, position_, 0);
  shownPosition_ = position_;
}

void TForm1::PumpOneEvent() {
  ShowProgressWhenDue();
  DispatchPending();
}

void TForm1::PumpAllEvents() {
  ShowProgressWhenDue();
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kPumpLimitMs && DispatchPending()) {
  }
}

bool TForm1::AskOkCancel(const std::string& caption, const std::string& text) {
  ShowProgress();
  return dialogs_.AskOkCancel(caption, text);
}

void TForm1::ShowMessage(const std::string& caption, const std::string& text) {
  ShowProgress();
  if (IsLongMessage(text)) dialogs_.ShowLongMessage(caption, text);
  else dialogs_.ShowMessage(caption, text);
}

// The controls that take input; the progress bar and the status bar keep
// their look, and the window its keys (Escape) and its close button. The
// control that had the focus gets it back, so that the keys go on where they
// were.
void TForm1::SetWindowEnabled(bool enabled) {
  const HWND focus = GetFocus();
  for (HWND input : {Button1, Edit1, CheckListBox1, Edit5, Button7, save, Edit6, CheckBox1, Edit2, CheckBox2, Button3, abt}) {
    if (!enabled && input == focus) {
      focusBeforeDisabled_ = input;
      SetFocus(Form1);
    }
    EnableWindow(input, enabled);
  }
  if (enabled && focusBeforeDisabled_ && IsWindowEnabled(focusBeforeDisabled_)) SetFocus(focusBeforeDisabled_);
  if (enabled) focusBeforeDisabled_ = nullptr;
}

void TForm1::SetCheckListEnabled(bool enabled) { EnableWindow(CheckListBox1, enabled); }

bool TForm1::Closing() { return closing_.Closing(); }

std::vector<CheckListEntry> TForm1::CheckListEntries() { return files_->Entries(); }

int TForm1::TickedCount() { return files_->TickedCount(); }

void TForm1::SetAllTicks(bool ticked) { files_->SetAllTicks(ticked); }

void TForm1::SetCheckListNames(std::vector<std::string> names) {
  files_->SetNames(std::move(names));
  ListView_SetColumnWidth(CheckListBox1, 0, LVSCW_AUTOSIZE_USEHEADER);  // within the scroll bar it may gain
}

void TForm1::ShowChooser(const std::vector<std::string>& pages) {
  Form3->ShowOver(Form1);
  Form3->SetItems(pages);
}

void TForm1::SetSourceFolderText(const std::string& folder) {
  SetEditText(Edit1, folder);
  sourceText_.Set(Utf16(WindowText(Edit1)));
}

void TForm1::SetTargetText(const std::string& name) { SetEditText(Edit6, name); }

// During a build the controls take what it sets once a frame on their own
// (ShowProgressWhenDue).
void TForm1::ShowProgressInFrames(bool inFrames) {
  if (!inFrames) ShowProgress();
}

void TForm1::Close() { DestroyWindow(Form1); }

}  // namespace pagefold::gui::win32
