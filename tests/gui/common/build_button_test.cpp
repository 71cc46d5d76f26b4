// The build button as both windows run it: the progress painted in frames
// during the build and as it stands before a box and at the end, the error
// box, and the close that waited for the build.
#include <gtest/gtest.h>

#include <filesystem>

#include "gui/common/build_button.h"
#include "one_page_build.h"
#include "recording_dialogs.h"
#include "recording_view.h"
#include "test_support.h"

namespace {

using pagefold::gui::PressBuildButton;
using pagefold::gui::WindowClosing;
using Lines = std::vector<std::string>;

class BuildButtonTest : public testing::Test, protected testing_support::OnePageBuild<testing_support::RecordingView> {
 protected:
  // The log's lines about frames and closing, in order.
  Lines FramesAndClose() const {
    Lines found;
    for (const std::string& line : window.log)
      if (line.rfind("frames", 0) == 0 || line == "close") found.push_back(line);
    return found;
  }

  testing_support::RecordingDialogs dialogs;
};

TEST_F(BuildButtonTest, AnErrorComesInTheErrorBoxOverTheProgressAsItStands) {
  std::filesystem::create_directories(target.path() / "ARH" / "someone");
  PressBuildButton(build, window, closing, dialogs);
  EXPECT_EQ(FramesAndClose(), (Lines{"frames on", "frames off", "frames off"}));
  ASSERT_EQ(dialogs.log.size(), 1u);
  EXPECT_EQ(dialogs.log[0].rfind("error|Pagefold|I/O error 183\n", 0), 0u) << dialogs.log[0];
  EXPECT_FALSE(window.closed);
}

TEST_F(BuildButtonTest, AWindowClosedDuringTheBuildClosesAtItsEndAndOnlyThen) {
  window.onPump = [&] {
    EXPECT_FALSE(closing.CloseAsked());
    window.closing = closing.Closing();
  };
  PressBuildButton(build, window, closing, dialogs);
  EXPECT_EQ(FramesAndClose(), (Lines{"frames on", "frames off", "close"}));
  EXPECT_TRUE(dialogs.log.empty());
  EXPECT_TRUE(std::filesystem::is_empty(target.path()));
}

}  // namespace
