// The check list's handlers and the chooser's filling, as both windows run
// them against their view.
#include <gtest/gtest.h>

#include "gui/common/check_list_actions.h"
#include "gui/common/chooser_items.h"
#include "recording_view.h"
#include "test_support.h"

namespace {

using namespace pagefold::gui;
using testing_support::RecordingView;
using testing_support::W;
using Lines = std::vector<std::string>;

RecordingView ThreeRows() {
  RecordingView window;
  window.rows = {{"index.htm", true}, {"a.gif", false}, {"b.htm", false}};
  return window;
}

TEST(CheckListActions, CountTheTicksBeforeThePumpAndShowThemInPanelZero) {
  RecordingView window = ThreeRows();
  // A tick the pump brings in is counted at the next change, not this one.
  window.onPump = [&] { window.rows[1].ticked = true; };
  CheckListChanged(window);
  EXPECT_EQ(window.log, (Lines{"pump1", "panel0 0\\1"}));
  window.onPump = nullptr;
  CheckListChanged(window);
  EXPECT_EQ(window.panel[0], "0\\2");
}

TEST(CheckListActions, TickAllUntickAllAndClearEndWithTheNewCount) {
  RecordingView window = ThreeRows();
  TickAll(window, true);
  TickAll(window, false);
  ClearCheckList(window);
  EXPECT_EQ(window.log, (Lines{"tick all", "pump1", "panel0 0\\3", "untick all", "pump1", "panel0 0\\0", "rows 0",
                               "pump1", "panel0 0\\0"}));
  EXPECT_TRUE(window.rows.empty());
  TickAll(window, true);
  EXPECT_EQ(window.panel[0], "0\\0") << "an empty list has nothing to tick";
}

TEST(FillChooser, ShowsTheChooserWithTheTickedPagesEvenWhenThereAreNone) {
  RecordingView window = ThreeRows();
  window.rows.push_back({W("стр\\Главная.HTML"), true});
  window.rows.push_back({"notes.txt", true});
  FillChooser(window);
  EXPECT_EQ(window.chooser, (Lines{"index.htm", W("стр\\Главная.HTML")}));
  window.rows.clear();
  FillChooser(window);
  EXPECT_EQ(window.chooser, Lines{});
  EXPECT_EQ(window.log, (Lines{"chooser 2", "chooser 0"}));
}

}  // namespace
