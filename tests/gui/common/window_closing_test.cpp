// Closing the window with and without a build, and how a window runs a build.
#include <gtest/gtest.h>

#include "core/build_command.h"
#include "gui/common/build_error_text.h"
#include "gui/common/form_create.h"
#include "core/frame_clock.h"
#include "gui/common/window_closing.h"
#include "one_page_build.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using pagefold::gui::RunBuild;
using pagefold::gui::WindowClosing;
using testing_support::RecordingHost;

class RunBuildTest : public testing::Test, protected testing_support::OnePageBuild<RecordingHost> {
 protected:
  bool Run() {
    return RunBuild(build, window, closing, [&](const std::string& text) { errors.push_back(text); });
  }

  std::vector<std::string> errors;
};

TEST_F(RunBuildTest, ShowsAnErrorOfTheBuildAndKeepsTheWindow) {
  std::filesystem::create_directories(target.path() / "ARH" / "someone");
  EXPECT_FALSE(Run());
  const std::string arh = testing_support::OsPath(target.str() + "/ARH");
  EXPECT_EQ(errors, std::vector<std::string>{"I/O error 183\n" + testing_support::W("Папка \"") + arh +
                                             testing_support::W("\" осталась от прерванной сборки, её можно удалить.")});
  EXPECT_TRUE(window.windowEnabled);
}

// A build that left files out names them in its closing message and keeps
// their count in panel 1, where the ending has emptied the stage text.
TEST_F(RunBuildTest, AFinishedBuildWithoutSomeFilesKeepsTheirCountInPanelOne) {
  pagefold::gui::FormCreate(build, window);
  testing_support::WriteFile(source.path() / "README", "plain");
  build.LeftOut = {{"img\\s\\x.gif", pagefold::MissingReason::Backslash, ""}};
  window.ticked = {"README", "index.htm"};
  EXPECT_FALSE(Run());
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(window.Lines("message "),
            std::vector<std::string>{"message Внимание | Сбор закончен !!!\nНе упакованы файлы: 2\n"
                                     "img\\s\\x.gif: в имени есть знак \\\nREADME: нет расширения, а значит и типа ресурса"});
  EXPECT_EQ(window.log.back(), "panel1 Не упакованы файлы: 2");
}

TEST(BuildErrorText, AddsOurLineWhereTheBuildsTextLeavesTheUserGuessing) {
  using pagefold::gui::BuildErrorText;
  using testing_support::W;
  const std::string arh = W("D:\\сайт\\ARH");
  EXPECT_EQ(BuildErrorText("I/O error 183", arh),
            W("I/O error 183\nПапка \"D:\\сайт\\ARH\" осталась от прерванной сборки, её можно удалить."));
  EXPECT_EQ(BuildErrorText("File access denied", arh),
            W("File access denied\nНет доступа к папке \"D:\\сайт\\ARH\"."));
  EXPECT_EQ(BuildErrorText("Invalid filename", arh),
            W("Invalid filename\nНе найден путь к папке \"D:\\сайт\\ARH\"."));
  // Texts that say enough stay alone, byte for byte.
  for (const std::string& error : {std::string("I/O error 145"), std::string("I/O error 1830"),
                                   std::string("System Error.  Code: 5."), W("Рабочая папка \"x\" подменена")})
    EXPECT_EQ(BuildErrorText(error, arh), error);
}

TEST_F(RunBuildTest, ClosesAtOnceWhenNoBuildRuns) {
  EXPECT_TRUE(closing.CloseAsked());
  EXPECT_FALSE(closing.Closing());
  EXPECT_FALSE(Run());
  EXPECT_TRUE(closing.CloseAsked()) << "after a build";
}

TEST(WindowClosing, ACloseDuringAListingWaitsForItsEnd) {
  WindowClosing closing;
  {
    const WindowClosing::Listing listing(closing);
    EXPECT_TRUE(closing.Busy());
    EXPECT_FALSE(closing.Building());
    EXPECT_FALSE(closing.CloseAsked());
    EXPECT_TRUE(closing.Closing()) << "the window closes once the listing has ended";
  }
  EXPECT_FALSE(closing.Busy());
  EXPECT_TRUE(closing.CloseAsked());
}

// The window asks to close at the pump with the given number, counted from
// the first pump of the build; true when that close waited for the build.
class ClosingDuringBuild : public RunBuildTest {
 protected:
  bool CloseAtPump(int closeAt) {
    int pumps = 0;
    bool waited = false;
    window.onPump = [&] {
      if (++pumps == closeAt) waited = !closing.CloseAsked();
      window.closing = closing.Closing();
    };
    return Run() && waited;
  }
  void ExpectEndedWithoutTrace() {
    EXPECT_EQ(errors, std::vector<std::string>{});
    EXPECT_TRUE(window.windowEnabled);
    EXPECT_TRUE(window.checkListEnabled);
    EXPECT_EQ(window.Lines("message"), std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_empty(target.path()));
  }
};

TEST_F(ClosingDuringBuild, BeforeStagingEndsTheBuildThere) {
  EXPECT_TRUE(CloseAtPump(1));
  EXPECT_EQ(window.Lines("panel1 "), std::vector<std::string>{"panel1 "});
  ExpectEndedWithoutTrace();
}

TEST_F(ClosingDuringBuild, DuringStagingEndsTheBuildAtTheNextPump) {
  window.ticked = {"index.htm", "index.htm"};
  EXPECT_TRUE(CloseAtPump(3));  // after the first copy, the window still enabled
  EXPECT_EQ(window.Lines("pos "), (std::vector<std::string>{"pos 1", "pos 0"}));
  EXPECT_EQ(window.Lines("panel1 М"), std::vector<std::string>{}) << "links were rewritten";
  ExpectEndedWithoutTrace();
}

TEST_F(ClosingDuringBuild, LaterEndsTheBuildAtTheNextPump) {
  EXPECT_TRUE(CloseAtPump(5));
  EXPECT_EQ(window.Lines("panel1 В"), std::vector<std::string>{}) << "the compiler ran";
  ExpectEndedWithoutTrace();
}

// Escape pressed at the pump with the given number, the question answered
// with ok; the window closes never.
class EscapeDuringBuild : public ClosingDuringBuild {
 protected:
  EscapeDuringBuild() {
    pagefold::gui::FormCreate(build, window);
    window.log.clear();
  }
  bool EscapeAtPump(int escapeAt, bool ok) {
    int pumps = 0;
    window.answerOk = ok;
    window.onPump = [&] {
      if (++pumps == escapeAt) closing.EscapePressed(window);
      window.closing = closing.Closing();
    };
    return Run();
  }
};

TEST_F(EscapeDuringBuild, OkEndsTheBuildWithItsCleanUpAndKeepsTheWindow) {
  window.ticked = {"index.htm", "index.htm"};
  EXPECT_FALSE(EscapeAtPump(3, true));
  EXPECT_EQ(window.Lines("ask "), std::vector<std::string>{"ask Внимание | Прервать сборку?"});
  EXPECT_EQ(window.Lines("pos "), (std::vector<std::string>{"pos 1", "pos 0"}));
  EXPECT_EQ(window.panel[1], testing_support::W("Сборка прервана"));
  EXPECT_EQ(errors, std::vector<std::string>{});
  EXPECT_TRUE(window.windowEnabled && window.checkListEnabled);
  EXPECT_EQ(window.Lines("message"), std::vector<std::string>{});
  EXPECT_TRUE(std::filesystem::is_empty(target.path()));
  // The next build runs to its end.
  window.onPump = nullptr;
  window.closing = closing.Closing();
  EXPECT_FALSE(window.closing);
  EXPECT_FALSE(Run());
  EXPECT_TRUE(std::filesystem::exists(target.path() / "site.res"));
}

TEST_F(EscapeDuringBuild, CancelLetsTheBuildGoOn) {
  EXPECT_FALSE(EscapeAtPump(3, false));
  EXPECT_EQ(window.Lines("ask ").size(), 1);
  EXPECT_EQ(window.Lines("message ").back(), "message Внимание | Сбор закончен !!!");
  EXPECT_TRUE(std::filesystem::exists(target.path() / "site.res"));
}

TEST_F(RunBuildTest, EscapeWithoutABuildAsksNothing) {
  closing.EscapePressed(window);
  EXPECT_FALSE(closing.Closing());
  EXPECT_EQ(window.log, std::vector<std::string>{});
}

TEST(FrameClock, IsDueFirstThenOnceAFrameHasPassed) {
  using pagefold::FrameClock;
  FrameClock frames;
  const FrameClock::Clock::time_point start{std::chrono::seconds(5)};
  EXPECT_TRUE(frames.Due(start));
  EXPECT_FALSE(frames.Due(start));
  EXPECT_FALSE(frames.Due(start + FrameClock::kFrame - std::chrono::nanoseconds(1)));
  EXPECT_TRUE(frames.Due(start + FrameClock::kFrame));
  // A frame counts from the last one that was due, not from the last question.
  EXPECT_FALSE(frames.Due(start + FrameClock::kFrame * 2 - std::chrono::nanoseconds(1)));
  EXPECT_TRUE(frames.Due(start + FrameClock::kFrame * 3));
  EXPECT_EQ(FrameClock::kFrame, std::chrono::microseconds(16666));
}

}  // namespace
