// The window as the build's front end and as the view of the shared
// handlers: its inputs and its check list from the widgets, its progress into
// the status bar and the progress bar, its questions through the dialogs.
#include <QApplication>
#include <QCoreApplication>
#include <QSignalBlocker>
#include <algorithm>

#include "gui/common/long_message.h"
#include "gui/qt/check_list_item.h"
#include "gui/qt/qstring_cp1251.h"
#include "gui/qt/tform1.h"

#include <QApplication>
#include "gui/qt/tform3.h"

namespace pagefold::gui {
namespace {

// How long the pump for all pending events may run at most, in milliseconds.
constexpr int kPumpLimitMs = 50;

}  // namespace

// Every text in the window's boxes has a Windows-1251 form: the listed names
// come from it, and typed or chosen names without one are refused.
std::string TForm1::SourceFolder() { return ToCp1251(Edit1->text()).value(); }

std::vector<std::string> TForm1::TickedItems() {
  std::vector<std::string> ticked;
  for (int row = 0; row < CheckListBox1->count(); ++row) {
    const QListWidgetItem& item = *CheckListBox1->item(row);
    if (item.checkState() == Qt::Checked) ticked.push_back(FileItemName(item));
  }
  return ticked;
}

std::string TForm1::StartFile() { return ToCp1251(Edit5->text()).value(); }

void TForm1::SetStartFile(const std::string& name) { Edit5->setText(ToQString(name)); }

std::string TForm1::ResourceFile() { return ToCp1251(Edit6->text()).value(); }

bool TForm1::KeepAll() { return CheckBox2->isChecked(); }

void TForm1::SetStatusText(int panel, const std::string& text) { panels_.at(panel)->setText(ToQString(text)); }

// Qt draws a bar whose maximum equals its minimum as busy, without end; a
// maximum of 0 shows an empty bar instead.
void TForm1::SetProgressMax(int max) { ProgressBar1->setMaximum(std::max(max, 1)); }

void TForm1::SetProgressPosition(int position) { ProgressBar1->setValue(position); }

void TForm1::AdvanceProgress() { ProgressBar1->setValue(ProgressBar1->value() + 1); }

// Neither pump waits for input: each handles what is pending and returns.
void TForm1::PumpOneEvent() { Pump(0); }

void TForm1::PumpAllEvents() { Pump(kPumpLimitMs); }

// During a build the status bar and the progress bar take every change at
// once but paint only when a frame is due, and the window's other events are
// handled once a millisecond.
void TForm1::Pump(int limitMs) {
  if (closing_.Building() && !events_.Due()) return;
  const bool frame = closing_.Building() && frames_.Due();
  if (frame) PaintProgress(true);
  if (limitMs > 0)
    QCoreApplication::processEvents(QEventLoop::AllEvents, limitMs);
  else
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (frame && closing_.Building()) PaintProgress(false);
}

void TForm1::PaintProgress(bool painted) {
  StatusBar1->setUpdatesEnabled(painted);
  ProgressBar1->setUpdatesEnabled(painted);
}

// A box shows over the progress as it stands: the status bar and the
// progress bar paint their last texts and position first.
bool TForm1::AskOkCancel(const std::string& caption, const std::string& text) {
  PaintProgress(true);
  return dialogs_.AskOkCancel(caption, text);
}

void TForm1::ShowMessage(const std::string& caption, const std::string& text) {
  PaintProgress(true);
  if (IsLongMessage(text)) dialogs_.ShowLongMessage(caption, text);
  else dialogs_.ShowMessage(caption, text);
}

// The controls that take input; the progress bar and the status bar keep
// their look, and the window its keys (Escape) and its close button. The
// window handles its events at the next pump, which paints its new look.
// The control that had the focus gets it back, so that the keys go on where
// they were.
void TForm1::SetWindowEnabled(bool enabled) {
  events_ = FrameClock(FrameClock::kEvents);
  if (!enabled && isAncestorOf(QApplication::focusWidget())) focusBeforeDisabled_ = QApplication::focusWidget();
  for (QWidget* input : std::initializer_list<QWidget*>{GroupBox1, GroupBox2, Button3, abt})
    input->setEnabled(enabled);
  if (enabled && focusBeforeDisabled_ && focusBeforeDisabled_->isEnabled()) focusBeforeDisabled_->setFocus();
  if (enabled) focusBeforeDisabled_ = nullptr;
}

void TForm1::SetCheckListEnabled(bool enabled) { CheckListBox1->setEnabled(enabled); }

bool TForm1::Closing() { return closing_.Closing(); }

std::vector<CheckListEntry> TForm1::CheckListEntries() {
  std::vector<CheckListEntry> entries;
  for (int row = 0; row < CheckListBox1->count(); ++row) {
    const QListWidgetItem& item = *CheckListBox1->item(row);
    entries.push_back({FileItemName(item), item.checkState() == Qt::Checked});
  }
  return entries;
}

int TForm1::TickedCount() {
  int ticked = 0;
  for (int row = 0; row < CheckListBox1->count(); ++row)
    if (CheckListBox1->item(row)->checkState() == Qt::Checked) ++ticked;
  return ticked;
}

// The program's own ticks and rows are made with the list's signals blocked:
// its handler runs for the user's changes only.
void TForm1::SetAllTicks(bool ticked) {
  const QSignalBlocker quiet(CheckListBox1);
  for (int row = 0; row < CheckListBox1->count(); ++row)
    CheckListBox1->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void TForm1::SetCheckListNames(std::vector<std::string> names) {
  const QSignalBlocker quiet(CheckListBox1);
  CheckListBox1->clear();
  for (const std::string& name : names) CheckListBox1->addItem(NewFileItem(name));
}

void TForm1::ShowChooser(const std::vector<std::string>& pages) {
  Form3->ShowOver(*this);
  Form3->ListBox1->clear();
  for (const std::string& page : pages) Form3->ListBox1->addItem(ToQString(page));
}

void TForm1::SetSourceFolderText(const std::string& folder) {
  Edit1->setText(ToQString(folder));
  sourceText_.Set(Edit1->text().toStdU16String());
}

void TForm1::SetTargetText(const std::string& name) { Edit6->setText(ToQString(name)); }

void TForm1::ShowProgressInFrames(bool inFrames) { PaintProgress(!inFrames); }

void TForm1::Close() { close(); }

}  // namespace pagefold::gui
