// The save step and the source folder's step, as both windows run them
// against their view and their dialogs.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/build_command.h"
#include "gui/common/folder_step.h"
#include "gui/common/save_step.h"
#include "gui/common/window_closing.h"
#include "recording_dialogs.h"
#include "recording_view.h"
#include "test_support.h"

namespace {

using namespace pagefold::gui;
using testing_support::RecordingDialogs;
using testing_support::RecordingView;
using testing_support::W;
using Lines = std::vector<std::string>;

const std::string kRefusal =
    "message Внимание | Имя папки или файла содержит символы вне кодировки Windows-1251";

// Names with "/", which separates folders on every system.
TEST(ChooseTargetFile, TakesAnAcceptedNameAndOffersItNextTime) {
  pagefold::BuildCommand build;
  build.ResourceFolder = "kept/";
  RecordingView window;
  RecordingDialogs dialogs;
  SaveDialog dialog{W("Файл ресурсов"), "*.res", u""};
  dialogs.saveAnswers = {u"", u"/Сайт/site", u"/中/site", u"/out/site.RES"};

  ChooseTargetFile(build, window, dialogs, dialog);  // cancelled
  EXPECT_EQ(build.ResourceFolder, "kept/");
  EXPECT_EQ(window.log, Lines{});

  ChooseTargetFile(build, window, dialogs, dialog);
  EXPECT_EQ(build.ResourceFolder, W("/Сайт/"));
  EXPECT_EQ(window.targetBox, W("/Сайт/site.res"));
  EXPECT_EQ(dialog.fileName, u"/Сайт/site");

  ChooseTargetFile(build, window, dialogs, dialog);  // refused: nothing changes
  EXPECT_EQ(build.ResourceFolder, W("/Сайт/"));
  EXPECT_EQ(dialog.fileName, u"/Сайт/site");

  ChooseTargetFile(build, window, dialogs, dialog);
  EXPECT_EQ(build.ResourceFolder, "/out/");
  EXPECT_EQ(dialog.fileName, u"/out/site.RES");
  EXPECT_EQ(window.log, (Lines{"target /Сайт/site.res", kRefusal, "target /out/site.RES"}));
  EXPECT_EQ(dialogs.log, (Lines{"save|Файл ресурсов|*.res|", "save|Файл ресурсов|*.res|",
                                "save|Файл ресурсов|*.res|/Сайт/site", "save|Файл ресурсов|*.res|/Сайт/site"}));
}

TEST(FolderStep, ListsAnAcceptedFolderIntoTheBoxesAndTheBuild) {
  testing_support::ScratchDir dir;
  testing_support::WriteFile(dir.path() / "index.htm", "<p>");
  testing_support::WriteFile(dir.path() / testing_support::Utf8Path("日本.htm"), "d");
  pagefold::BuildCommand build;
  RecordingView window;
  window.rows = {{"old.htm", true}};
  WindowClosing closing;
  RecordingDialogs dialogs;
  dialogs.folderAnswers = {u"", u"D:\\中", dir.path().u16string()};

  ChooseSourceFolder(build, window, closing, dialogs);  // cancelled
  EXPECT_EQ(window.log, Lines{});
  ChooseSourceFolder(build, window, closing, dialogs);
  EXPECT_EQ(window.log, Lines{kRefusal});
  ChooseSourceFolder(build, window, closing, dialogs);
  EXPECT_EQ(dialogs.log, Lines(3, "folder|Выберите папку с файлами!|"));
  EXPECT_EQ(window.sourceBox, dir.str());
  ASSERT_EQ(window.rows.size(), 1u);
  EXPECT_EQ(window.rows[0].name, "index.htm");
  EXPECT_FALSE(window.rows[0].ticked);
  EXPECT_EQ(window.panel[1], W("Пропущены файлы с недопустимыми именами: 1"));
  EXPECT_EQ(build.LeftOut.size(), 1u);
  EXPECT_FALSE(build.FollowLinks);
  EXPECT_FALSE(window.closed);
  EXPECT_FALSE(closing.Busy()) << "the listing's mark ends with it";
}

#ifndef _WIN32
// Closed while it listed (here while it asks about the links out of the
// folder): the window closes once the listing has ended, after its result.
TEST(FolderStep, AWindowClosedDuringTheListingClosesAtItsEnd) {
  testing_support::ScratchDir dir, outside;
  testing_support::WriteFile(outside.path() / "a.js", "a");
  std::filesystem::create_symlink(outside.path() / "a.js", dir.path() / "a.js");
  struct ClosedWhileAsked : RecordingView {
    WindowClosing closer;
    bool AskOkCancel(const std::string&, const std::string&) override {
      EXPECT_FALSE(closer.CloseAsked()) << "a listing holds the window open";
      return true;
    }
  } window;
  pagefold::BuildCommand build;
  ListFolder(dir.str(), build, window, window.closer);
  EXPECT_EQ(window.log, (Lines{"source " + dir.str(), "rows 1", "panel1 ", "close"}));
  EXPECT_TRUE(build.FollowLinks);
}
#endif

}  // namespace
