// A main window for tests of the shared handlers: a check list of names and
// ticks, the source and target boxes and the chooser's items, every change
// recorded in the log of RecordingHost beside the calls a build makes.
#pragma once

#include <string>
#include <vector>

#include "gui/common/main_window_view.h"
#include "recording_host.h"

namespace testing_support {

class RecordingView : public RecordingHostOf<pagefold::gui::MainWindowView> {
 public:
  std::vector<pagefold::gui::CheckListEntry> rows;
  // The chooser's items as last shown.
  std::vector<std::string> chooser;
  std::string sourceBox;
  std::string targetBox;
  bool closed = false;

  std::vector<pagefold::gui::CheckListEntry> CheckListEntries() override { return rows; }
  int TickedCount() override {
    int ticked = 0;
    for (const pagefold::gui::CheckListEntry& row : rows) ticked += row.ticked ? 1 : 0;
    return ticked;
  }
  void SetAllTicks(bool ticked) override {
    for (pagefold::gui::CheckListEntry& row : rows) row.ticked = ticked;
    Record(ticked ? "tick all" : "untick all");
  }
  void SetCheckListNames(std::vector<std::string> names) override {
    rows.clear();
    for (std::string& name : names) rows.push_back({std::move(name), false});
    Record("rows " + std::to_string(rows.size()));
  }
  void ShowChooser(const std::vector<std::string>& pages) override {
    chooser = pages;
    Record("chooser " + std::to_string(pages.size()));
  }
  void SetSourceFolderText(const std::string& folder) override {
    sourceBox = folder;
    Record("source " + folder);
  }
  void SetTargetText(const std::string& name) override {
    targetBox = name;
    Record("target " + name);
  }
  void ShowProgressInFrames(bool inFrames) override { Record(inFrames ? "frames on" : "frames off"); }
  void Close() override {
    closed = true;
    Record("close");
  }
};

}  // namespace testing_support
