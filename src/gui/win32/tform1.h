// The main window on Windows, with the Win32 API and the common controls:
// every input of a build, the build button, and the progress of a build in a
// progress bar and a two-panel status bar. It is the build's front end.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/build_command.h"
#include "gui/common/accepted_name.h"
#include "gui/common/dialogs.h"
#include "core/frame_clock.h"
#include "gui/common/group_type_rule.h"
#include "gui/common/main_window_view.h"
#include "gui/common/window_closing.h"
#include "gui/win32/check_list.h"
#include "gui/win32/display_metrics.h"

namespace pagefold::gui::win32 {

class TForm3;

// The command identifiers of the popup menu's items.
enum MenuItem : int { N1 = 101, N2, N3 };

class TForm1 : public MainWindowView {
 public:
  // The window opens its dialogs through dialogs; without one, the system's.
  explicit TForm1(const DisplayMetrics& display, Dialogs* dialogs = nullptr);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The start-file chooser that Button7Click fills and shows.
  void SetForm3(TForm3* chooser) { Form3 = chooser; }
  // GroupType, ResourceFolder, CompilerPath, UsedFlags.
  BuildCommand& Build() { return build_; }
  // The text of a status panel: 0 the counter, 1 the stage.
  std::wstring PanelText(int panel) const;

  // Members, in declaration order. N1 to N3 are items of PopupMenu1.
  HWND Form1 = nullptr;
  HMENU PopupMenu1 = nullptr;
  HWND GroupBox1 = nullptr;
  HWND Button1 = nullptr;
  HWND Edit1 = nullptr;
  HWND CheckListBox1 = nullptr;
  HWND Label6 = nullptr;
  HWND Label7 = nullptr;
  HWND GroupBox2 = nullptr;
  HWND save = nullptr;
  HWND Edit6 = nullptr;
  SaveDialog SaveDialog1;
  HWND Edit5 = nullptr;
  HWND Label5 = nullptr;
  HWND Button7 = nullptr;
  HWND StatusBar1 = nullptr;
  HWND CheckBox1 = nullptr;
  HWND Edit2 = nullptr;
  HWND CheckBox2 = nullptr;
  HWND Panel1 = nullptr;
  HWND ProgressBar1 = nullptr;
  HWND Button3 = nullptr;
  HWND abt = nullptr;

  // Handlers, in declaration order.
  void Button1Click();
  void FormCreate();
  void N1Click();
  void N2Click();
  void N3Click();
  void CheckListBox1ClickCheck();
  void Button5Click();
  void Button7Click();
  void saveClick();
  void abtClick();
  void CheckBox1Click();
  void Edit2Change();

  // Writes the folder into Edit1 and replaces the check list's items by the
  // names of every file below it, unticked.
  void FilesToStringsList(const std::string& folder);

  // BuildHost.
  std::string SourceFolder() override;
  std::vector<std::string> TickedItems() override;
  std::string StartFile() override;
  void SetStartFile(const std::string& name) override;
  std::string ResourceFile() override;
  bool KeepAll() override;
  void SetStatusText(int panel, const std::string& text) override;
  void SetProgressMax(int max) override;
  void SetProgressPosition(int position) override;
  void AdvanceProgress() override;
  void PumpOneEvent() override;
  void PumpAllEvents() override;
  bool AskOkCancel(const std::string& caption, const std::string& text) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  void SetWindowEnabled(bool enabled) override;
  void SetCheckListEnabled(bool enabled) override;
  bool Closing() override;

  // MainWindowView.
  std::vector<CheckListEntry> CheckListEntries() override;
  int TickedCount() override;
  void SetAllTicks(bool ticked) override;
  void SetCheckListNames(std::vector<std::string> names) override;
  void ShowChooser(const std::vector<std::string>& pages) override;
  void SetSourceFolderText(const std::string& folder) override;
  void SetTargetText(const std::string& name) override;
  void ShowProgressInFrames(bool inFrames) override;
  void Close() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateMembers();
  HWND Control(const wchar_t* kind, const std::string& caption, DWORD style, HWND parent, int id);
  void LayOut();
  void Place(HWND control, int left, int top, int width, int height);
  int TextWidth(HWND control, int designed) const;
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  void PopUp(LPARAM at);
  void Edit1Change();
  void SetEditText(HWND edit, const std::string& cp1251);
  void Restore(HWND edit, const Cp1251EditBox& box);
  void EnterPressed();
  void FolderDropped(HDROP drop);
  void ShowProgressWhenDue();
  void ShowProgress();

  const DisplayMetrics& display_;
  std::unique_ptr<Dialogs> ownDialogs_;
  Dialogs& dialogs_;
  TForm3* Form3 = nullptr;
  BuildCommand build_;
  // The rows of CheckListBox1: every name and its tick.
  std::unique_ptr<CheckList> files_;
  // Set while the program itself changes the boxes' texts, whose
  // notifications are not the user's.
  bool quiet_ = false;
  bool busy_ = false;
  // The control that had the focus when the inputs were disabled.
  HWND focusBeforeDisabled_ = nullptr;
  Cp1251EditBox sourceText_;
  Cp1251EditBox groupText_{AcceptGroupType};
  WindowClosing closing_;
  // The status texts and the progress position as the build set them last,
  // and as the controls show them: during a build the controls take them
  // once a frame.
  std::array<std::wstring, 2> panels_;
  std::array<std::wstring, 2> shownPanels_;
  int position_ = 0;
  int shownPosition_ = 0;
  FrameClock frames_;
};

}  // namespace pagefold::gui::win32
