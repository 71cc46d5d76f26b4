// Closing the window with and without a build, and how a window runs a build.
#include <gtest/gtest.h>

#include "core/build_command.h"
#include "gui/common/window_closing.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using pagefold::gui::RunBuild;
using pagefold::gui::WindowClosing;
using testing_support::RecordingHost;
using testing_support::ScratchDir;

TEST(WindowClosing, ClosesAtOnceUnlessABuildHasTheWindowDisabled) {
  WindowClosing idle;
  EXPECT_TRUE(idle.CloseAsked(true));
  EXPECT_FALSE(idle.Closing());
  WindowClosing busy;
  EXPECT_FALSE(busy.CloseAsked(false));
  EXPECT_TRUE(busy.Closing());
}

class RunBuildTest : public testing::Test {
 protected:
  RunBuildTest() {
    testing_support::WriteFile(source.path() / "index.htm", "<p>");
    window.sourceFolder = source.str();
    window.ticked = {"index.htm"};
    window.startFile = "index.htm";
    build.ResourceFolder = testing_support::OsPath(target.str() + "/");
    window.resourceFile = build.ResourceFolder + "site.res";
  }
  bool Run() {
    return RunBuild(build, window, closing, [&](const std::string& text) { errors.push_back(text); });
  }

  ScratchDir source, target;
  RecordingHost window;
  pagefold::BuildCommand build;
  WindowClosing closing;
  std::vector<std::string> errors;
};

TEST_F(RunBuildTest, ShowsAnErrorOfTheBuildAndKeepsTheWindow) {
  std::filesystem::create_directories(target.path() / "ARH" / "someone");
  EXPECT_FALSE(Run());
  EXPECT_EQ(errors, std::vector<std::string>{"I/O error 183"});
  EXPECT_TRUE(window.windowEnabled);
}

TEST_F(RunBuildTest, ABuildEndedByClosingShowsNothingAndClosesTheWindow) {
  window.onPump = [&] {
    if (!window.windowEnabled && closing.CloseAsked(window.windowEnabled)) FAIL() << "closed at once";
    window.closing = closing.Closing();
  };
  EXPECT_TRUE(Run());
  EXPECT_EQ(errors, std::vector<std::string>{});
  EXPECT_TRUE(window.windowEnabled);
  EXPECT_FALSE(std::filesystem::exists(target.path() / "ARH"));
  EXPECT_FALSE(std::filesystem::exists(target.path() / "site.res"));
}

}  // namespace
