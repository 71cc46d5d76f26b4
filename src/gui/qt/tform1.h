// The main window: every input of a build, the build button, and the progress
// of a build in a progress bar and a two-panel status bar. It is the build's
// front end: the pipeline reads its inputs and shows its progress through the
// BuildHost methods below.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>
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
#include "gui/qt/status_panel.h"

namespace pagefold::gui {

class TForm3;

class TForm1 : public QWidget, public MainWindowView {
  Q_OBJECT

 public:
  // The window opens its dialogs through dialogs; without one, through Qt's.
  explicit TForm1(Dialogs* dialogs = nullptr);
  ~TForm1() override;

  // The start-file chooser that Button7Click fills and shows.
  void SetForm3(TForm3* chooser) { Form3 = chooser; }

  // The build's state that lives from one build to the next: GroupType,
  // ResourceFolder, CompilerPath, UsedFlags.
  BuildCommand& Build() { return build_; }

  // The text of a status panel: 0 the counter, 1 the stage.
  QString PanelText(int panel) const;

  // Members, in declaration order.
  QMenu* PopupMenu1;
  QAction* N1;
  QAction* N2;
  QAction* N3;
  QGroupBox* GroupBox1;
  QPushButton* Button1;
  QLineEdit* Edit1;
  QListWidget* CheckListBox1;
  QLabel* Label6;
  QLabel* Label7;
  QGroupBox* GroupBox2;
  QPushButton* save;
  QLineEdit* Edit6;
  SaveDialog SaveDialog1;
  QLineEdit* Edit5;
  QLabel* Label5;
  QPushButton* Button7;
  QStatusBar* StatusBar1;
  QCheckBox* CheckBox1;
  QLineEdit* Edit2;
  QCheckBox* CheckBox2;
  QWidget* Panel1;
  QProgressBar* ProgressBar1;
  QPushButton* Button3;
  QPushButton* abt;

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

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateMembers();
  void LayOut();
  void SetTabOrder();
  void Connect();
  void Edit1Edited(const QString& text);
  void ListTypedFolder();
  void PaintProgress(bool painted);
  void Pump(int limitMs);

  std::unique_ptr<Dialogs> ownDialogs_;
  Dialogs& dialogs_;
  TForm3* Form3 = nullptr;
  BuildCommand build_;
  std::array<StatusPanel*, 2> panels_{};
  // Edit1, which refuses an edit that brings in a character without a
  // Windows-1251 form.
  Cp1251EditBox sourceText_;
  // Edit2, which refuses as well a text that is no plain resource type.
  Cp1251EditBox groupText_{AcceptGroupType};
  WindowClosing closing_;
  // During a build the status bar and the progress bar repaint once a frame,
  // and the window handles its events once a millisecond.
  FrameClock frames_;
  FrameClock events_{FrameClock::kEvents};
  // The control that had the focus when the inputs were disabled.
  QPointer<QWidget> focusBeforeDisabled_;
};

}  // namespace pagefold::gui
