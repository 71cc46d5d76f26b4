// Builds whose work folder, script or target meet what a user or another
// program put there: a link swapped in for the work folder, a link at the
// script's path, read-only sources, a colon in the target's name, an
// extension too long for a file name, and a target inside the source folder.
// Each build either packs what it should or stops with a clear text, and
// leaves every file it did not make as it was.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <functional>

#include "core/build_command.h"
#include "core/paths.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using pagefold::BuildCommand;
using pagefold::BuildOutcome;
using testing_support::OsPath;
using testing_support::ReadFile;
using testing_support::RecordingHost;
using testing_support::ScratchDir;
using testing_support::TreeFingerprint;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct OwnFiles : ::testing::Test {
  ScratchDir source, target, temp, outside;
  RecordingHost host;
  BuildCommand build;

  void SetUp() override {
    host.sourceFolder = source.str();
    UseTarget(target.path() / "site.res");
    build.CompilerPath = (temp.path() / "brcc32.exe").string();
    WriteFile(source.path() / "index.htm", "<a href=\"sub/page.htm\">p</a><img src=\"img/a.gif\">");
    WriteFile(source.path() / "sub" / "page.htm", "<a href='../index.htm'>back</a>");
    WriteFile(source.path() / "img" / "a.gif", "GIF-A");
    host.ticked = {"img\\a.gif", "index.htm", "sub\\page.htm"};
    host.startFile = "index.htm";
  }

  void UseTarget(const fs::path& resourceFile) {
    host.resourceFile = resourceFile.string();
    build.ResourceFolder = pagefold::FolderPart(host.resourceFile);
  }
  fs::path Work() const { return fs::path(build.ResourceFolder) / "ARH"; }

  // The text of the error that ended the build; empty when there was none.
  std::string BuildError() {
    try {
      build.Run(host);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  void ExpectWindowRestored() const {
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_TRUE(host.checkListEnabled);
    EXPECT_EQ(host.panel[1], "");
    EXPECT_FALSE(fs::exists(build.CompilerPath));
  }
};

#ifndef _WIN32
TEST_F(OwnFiles, AWorkFolderSwappedForALinkDuringStagingStopsTheBuildAndTheLinkedFolderStays) {
  WriteFile(outside.path() / "keep.txt", "victim's");
  WriteFile(outside.path() / "deep" / "search_file_nomber_1", "victim's too");
  const std::string before = TreeFingerprint(outside.path());
  const fs::path moved = target.path() / "moved";
  host.onPump = [&] {
    if (fs::exists(moved) || host.panel[0] != "1\\3") return;
    fs::rename(Work(), moved);
    fs::create_directory_symlink(outside.path(), Work());
  };

  EXPECT_EQ(BuildError(), W("Рабочая папка \"") + Work().string() + W("\" подменена, сборка остановлена!"));
  EXPECT_EQ(TreeFingerprint(outside.path()), before);
  EXPECT_TRUE(fs::is_symlink(Work()));  // not this build's to remove
  EXPECT_TRUE(fs::is_empty(moved));     // what the build made there is gone
  EXPECT_FALSE(fs::exists(target.path() / "site.rc"));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
  ExpectWindowRestored();
}

// The compiler is held at its start (PAGEFOLD_RC_TEST_HOLD) while the test
// changes what it is about to read, then let go.
struct HeldCompile : OwnFiles {
  ScratchDir hold;
  std::function<void()> change;
  bool changed = false;

  void SetUp() override {
    OwnFiles::SetUp();
    ::setenv("PAGEFOLD_RC_TEST_HOLD", hold.str().c_str(), 1);
    host.onPump = [this] {
      if (changed || !fs::exists(hold.path() / "started")) return;
      changed = true;
      change();
      WriteFile(hold.path() / "go", "");
    };
    WriteFile(target.path() / "site.res", "PREVIOUS RES");
    WriteFile(outside.path() / "secret.txt", "OUTSIDE SECRET");
  }
  void TearDown() override { ::unsetenv("PAGEFOLD_RC_TEST_HOLD"); }

  std::vector<std::string> Messages() const { return host.Lines("message "); }
};

TEST_F(HeldCompile, AWorkFolderSwappedForALinkWhileTheCompilerStartsKeepsThePreviousRes) {
  const fs::path moved = target.path() / "moved";
  // The outside folder holds a file of every name the script lists.
  change = [&] {
    fs::rename(Work(), moved);
    for (const auto& entry : fs::directory_iterator(moved))
      WriteFile(outside.path() / entry.path().filename(), "OUTSIDE " + entry.path().filename().string());
    fs::create_directory_symlink(outside.path(), Work());
  };
  EXPECT_EQ(BuildError(), W("Рабочая папка \"") + Work().string() + W("\" подменена, сборка остановлена!"));
  EXPECT_TRUE(changed);
  EXPECT_EQ(ReadFile(target.path() / "site.res"), "PREVIOUS RES");
  EXPECT_EQ(ReadFile(outside.path() / "index.html"), "OUTSIDE index.html");
  EXPECT_TRUE(fs::is_symlink(Work()));
  EXPECT_TRUE(fs::is_empty(moved));
  EXPECT_EQ(fs::directory_iterator(temp.path()), fs::directory_iterator());
  ExpectWindowRestored();
}

TEST_F(HeldCompile, AScriptReplacedWhileTheCompilerStartsIsRefusedAndThePreviousResKept) {
  const fs::path script = target.path() / "site.rc";
  for (const bool sameName : {false, true}) {
    SCOPED_TRACE(sameName ? "rewritten in place" : "renamed over");
    changed = false;
    fs::remove(hold.path() / "go");
    fs::remove(hold.path() / "started");
    host.log.clear();
    const std::string rogue = "SECRET TXT \"" + (outside.path() / "secret.txt").string() + "\"\r\n";
    change = [&] {
      if (sameName) {
        WriteFile(script, rogue);
        return;
      }
      WriteFile(target.path() / "rogue.rc", rogue);
      fs::rename(target.path() / "rogue.rc", script);
    };
    EXPECT_EQ(BuildError(), "");
    EXPECT_TRUE(changed);
    EXPECT_EQ(Messages(), Lines{"message Внимание | Сценарий \"" + script.string() +
                                "\" подменён, ресурсный файл не заменён!"});
    EXPECT_EQ(ReadFile(target.path() / "site.res"), "PREVIOUS RES");
    EXPECT_EQ(ReadFile(script), rogue);
    EXPECT_FALSE(fs::exists(Work()));
    ExpectWindowRestored();
  }
}

TEST_F(OwnFiles, ALinkAtTheScriptsPathIsReplacedAndTheFileItNamesStays) {
  WriteFile(outside.path() / "victim.txt", "victim's");
  fs::create_symlink(outside.path() / "victim.txt", target.path() / "site.rc");
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(ReadFile(outside.path() / "victim.txt"), "victim's");
  EXPECT_FALSE(fs::is_symlink(target.path() / "site.rc"));
  EXPECT_EQ(ReadFile(target.path() / "site.rc").rfind("FILELIST HTML \"", 0), 0u);
}

TEST_F(OwnFiles, AColonInTheTargetsNameIsALetterOfTheName) {
  EXPECT_EQ(pagefold::FolderPart("/x/out/a:b.res"), "/x/out/");
  EXPECT_EQ(pagefold::ChangeExtension("/x/a:b.res", ".rc"), "/x/a:b.rc");
  UseTarget(target.path() / "a:b.res");
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_TRUE(fs::exists(target.path() / "a:b.res"));
  EXPECT_TRUE(fs::exists(target.path() / "a:b.rc"));
}

TEST_F(OwnFiles, AnExtensionThatNoFileNameCanHoldStopsTheBuild) {
  const std::string name = "long." + std::string(245, 'x');
  WriteFile(source.path() / name, "data");
  host.ticked.push_back(name);
  EXPECT_EQ(BuildError(), W("Невозможно дать копии файла \"") + name + W("\" её расширение!"));
  EXPECT_FALSE(fs::exists(Work()));
  EXPECT_TRUE(fs::is_empty(target.path()));
  EXPECT_EQ(host.Lines("message "), Lines{});
  ExpectWindowRestored();
}
#endif

TEST_F(OwnFiles, ReadOnlySourcesGiveCopiesTheBuildCanRewriteAndRemove) {
  for (const char* file : {"index.htm", "sub/page.htm", "img/a.gif"})
    fs::permissions(source.path() / OsPath(file), fs::perms::owner_read | fs::perms::group_read |
                                                      fs::perms::others_read);
  const std::string before = TreeFingerprint(source.path());
  bool looked = false;
  host.onPump = [&] {
    if (looked || host.panel[1] != W("Меняются ссылки...")) return;
    looked = true;
    for (const auto& entry : fs::directory_iterator(Work()))
      EXPECT_NE(entry.status().permissions() & fs::perms::owner_write, fs::perms::none) << entry.path();
  };
  EXPECT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_TRUE(looked);
  EXPECT_EQ(host.Lines("message "), (Lines{"message Внимание | Сбор закончен !!!"}));
  EXPECT_FALSE(fs::exists(Work()));
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

// An output that is a ticked file, by its path with the folder resolved, is
// refused before anything is written; the files below the work folder are
// passed over as before.
TEST_F(OwnFiles, ATargetWhoseResourceFileOrScriptIsATickedFileIsRefusedBeforeAnythingIsWritten) {
  UseTarget(source.path() / "site.res");
  WriteFile(source.path() / "site.res", "last build's");
  WriteFile(source.path() / "site.rc", "part of the site");
  const std::string before = TreeFingerprint(source.path());
  const std::string res = (source.path() / "site.res").string(), script = (source.path() / "site.rc").string();
  for (const auto& [ticked, refusal] :
       {std::pair{Lines{"index.htm", "site.res"}, "Файл ресурс \"" + res + "\" входит в собираемые файлы, укажите другой файл!"},
        std::pair{Lines{"index.htm", "site.rc"}, "Файл сценария \"" + script + "\" входит в собираемые файлы, укажите другой файл!"}}) {
    host.ticked = ticked;
    host.log.clear();
    EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
    EXPECT_EQ(host.log, (Lines{"pump1", "message Внимание | " + refusal}));
  }
#ifndef _WIN32  // Wine makes no folder links
  // The same file reached through a link to the target's folder.
  fs::create_directory_symlink(source.path(), target.path() / "again");
  UseTarget(target.path() / "again" / "site.res");
  host.ticked = {"index.htm", "site.rc"};
  host.log.clear();
  EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
  EXPECT_EQ(host.log.back(), "message Внимание | Файл сценария \"" + (target.path() / "again" / "site.rc").string() +
                                 "\" входит в собираемые файлы, укажите другой файл!");
#endif
  EXPECT_EQ(TreeFingerprint(source.path()), before);

  // Without them the build goes on; a file below the work folder is passed over.
  UseTarget(source.path() / "site.res");
  host.ticked = {"ARH\\search_file_nomber_1", "img\\a.gif", "index.htm", "sub\\page.htm"};
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(host.Lines("panel0 ")[2], "panel0 3\\4");
}

#ifndef _WIN32
// A ticked file that merely shares its bytes with an output (a second name of
// it) is an ordinary input: packed as it was, while the output is replaced.
// A replaced output keeps its permission bits.
TEST_F(OwnFiles, ASecondNameOfAnOutputIsAnOrdinaryInputAndReplacedOutputsKeepTheirMode) {
  WriteFile(target.path() / "site.rc", "OLD-SCRIPT");
  WriteFile(target.path() / "site.res", "OLD-RES");
  fs::permissions(target.path() / "site.rc", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(target.path() / "site.res", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_hard_link(target.path() / "site.rc", source.path() / "img" / "old.txt");
  fs::last_write_time(target.path() / "site.rc", fs::file_time_type::clock::now() - std::chrono::hours(1));
  host.ticked = {"img\\a.gif", "img\\old.txt", "index.htm", "sub\\page.htm"};
  host.keepAll = true;
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_NE(ReadFile(target.path() / "site.res").find("OLD-SCRIPT"), std::string::npos);
  EXPECT_NE(ReadFile(target.path() / "site.rc"), "OLD-SCRIPT");
  EXPECT_EQ(ReadFile(source.path() / "img" / "old.txt"), "OLD-SCRIPT");
  EXPECT_EQ(fs::status(target.path() / "site.rc").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(target.path() / "site.res").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

TEST_F(OwnFiles, ATargetWithoutAFileNameIsRefused) {
  for (const char* name : {"out/", "out/.res"}) {
    host.resourceFile = (target.path() / OsPath(name)).string();
    build.ResourceFolder = (target.path() / "out").string() + OsPath("/");
    host.log.clear();
    EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
    EXPECT_EQ(host.log.back(), "panel1 Укажите имя файла ресурс") << name;
  }
  EXPECT_TRUE(fs::is_empty(target.path()));
}

}  // namespace
