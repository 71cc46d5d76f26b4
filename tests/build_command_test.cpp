#include "core/build_command.h"

#include <gtest/gtest.h>

#include <map>

#include "core/compiler_runner.h"
#include "platform/platform_error.h"
#include "platform/short_path.h"
#include "recording_host.h"
#include "resformat/res_reader.h"
#include "test_support.h"

namespace {

using pagefold::BuildCommand;
using pagefold::BuildOutcome;
using pagefold::UnlinkedLink;
using testing_support::OsPath;
using testing_support::ReadFile;
using testing_support::RecordingHost;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct Build : ::testing::Test {
  ScratchDir source, target, temp;
  RecordingHost host;
  BuildCommand build;

  void SetUp() override {
    host.sourceFolder = source.str();
    host.resourceFile = (target.path() / "site.res").string();
    build.ResourceFolder = target.str() + OsPath("/");
    build.CompilerPath = (temp.path() / "brcc32.exe").string();
    WriteFile(source.path() / "index.htm", "<a href=\"sub/page.htm\">p</a><img src=\"img/a.gif\">");
    WriteFile(source.path() / "sub" / "page.htm", "<a href='../index.htm'>back</a>");
    WriteFile(source.path() / "img" / "a.gif", "GIF-A");
    WriteFile(source.path() / "img" / "unused.gif", "GIF-U");
    WriteFile(source.path() / "README", "no extension");
    host.ticked = {"img\\a.gif", "img\\unused.gif", "index.htm", "README", "sub\\page.htm"};
    host.startFile = "index.htm";
  }

  fs::path Work() const { return target.path() / "ARH"; }
  std::string Script() const { return ReadFile(target.path() / "site.rc"); }

  // The data of every resource in the built file by "TYPE/NAME".
  std::map<std::string, std::string> Packed() const {
    pagefold::FileResSource res;
    EXPECT_TRUE(res.Open(host.resourceFile));
    std::map<std::string, std::string> packed;
    for (const pagefold::ResEntry& entry : pagefold::ListResources(res).entries)
      packed[*entry.type.Cp1251() + "/" + *entry.name.Cp1251()] = *pagefold::ReadResourceData(res, entry);
    return packed;
  }
};

TEST_F(Build, MissingInputsAreReportedAndNothingIsCreated) {
  host.sourceFolder = "";
  EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
  EXPECT_EQ(host.log, (Lines{"panel1 Укажите папку с файлами"}));

  host.sourceFolder = source.str();
  host.ticked.clear();
  host.log.clear();
  EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
  EXPECT_EQ(host.log, (Lines{"pump1", "panel1 Выберите файлы для обработки"}));

  host.ticked = {"index.htm"};
  host.startFile = "";
  host.answerOk = false;
  host.log.clear();
  EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
  EXPECT_EQ(host.log, (Lines{"pump1", "ask Внимание | Не указан стартовый файл, использовать "
                                      "стандартный filelist как стартовый"}));
  EXPECT_EQ(host.startFile, "");

  host.answerOk = true;
  host.resourceFile = "";
  host.log.clear();
  EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
  EXPECT_EQ(host.startFile, "filelist.html");
  EXPECT_EQ(host.log.back(), "panel1 Укажите файл ресурс");
  EXPECT_FALSE(fs::exists(Work()));
  EXPECT_TRUE(fs::is_empty(target.path()));
}

TEST_F(Build, FollowsTheRoadFromStagingToTheResourceFile) {
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);

  EXPECT_EQ(host.Lines("panel1 "),
            (Lines{"panel1 Копируются файлы...", "panel1 Меняются ссылки...",
                   "panel1 Удаляем неиспользуемые файлы...", "panel1 Применяются настройки...",
                   "panel1 ВНИМАНИЕ!!! Собирается ресурсный файл...",
                   "panel1 Удаляются временные файлы...", "panel1 "}));
  EXPECT_EQ(host.Lines("panel0 "),
            (Lines{"panel0 1\\5", "panel0 2\\5", "panel0 3\\5", "panel0 4\\5", "panel0 5\\5",
                   "panel0 0\\0", "panel0 1\\5", "panel0 2\\5", "panel0 3\\5", "panel0 4\\5",
                   "panel0 5\\5", "panel0 1\\5", "panel0 2\\5", "panel0 3\\5", "panel0 4\\5",
                   "panel0 5\\5", "panel0 "}));
  // README has no extension, so no resource type: it is named.
  EXPECT_EQ(host.Lines("message "), (Lines{"message Внимание | Сбор закончен !!!\nНе упакованы файлы: 1\n"
                                           "README: нет расширения, а значит и типа ресурса"}));
  EXPECT_EQ(build.MissingFiles, (std::vector<pagefold::MissingFile>{
                                    {"README", pagefold::MissingReason::NoExtension, ""}}));
  EXPECT_EQ(host.Lines("window "), (Lines{"window off", "window on"}));
  EXPECT_TRUE(host.windowEnabled);
  EXPECT_TRUE(host.checkListEnabled);
  EXPECT_EQ(host.progressPosition, 0);

  // unused.gif (2) and README (4, no extension) are not packed.
  const std::string work = Work().string() + OsPath("/");
  EXPECT_EQ(Script(), "FILELIST HTML \"" + work + "filelist.html\"\r\n"
                      "INDEX HTML \"" + work + "index.html\"\r\n"
                      "SEARCH_FILE_NOMBER_1 GIF \"" + work + "search_file_nomber_1.gif\"\r\n"
                      "SEARCH_FILE_NOMBER_3 HTM \"" + work + "search_file_nomber_3.htm\"\r\n"
                      "SEARCH_FILE_NOMBER_5 HTM \"" + work + "search_file_nomber_5.htm\"\r\n");
  EXPECT_TRUE(fs::exists(target.path() / "site.res"));
  EXPECT_FALSE(fs::exists(Work()));
  EXPECT_FALSE(fs::exists(build.CompilerPath));
  EXPECT_EQ(build.UsedFlags, (std::vector<unsigned char>{0, 1, 0, 1, 0, 1}));
}

TEST_F(Build, KeepAllKeepsUnlinkedFilesButNotThoseWithoutExtension) {
  host.keepAll = true;
  host.startFile = "filelist.html";  // no index.html then
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  const std::string script = Script();
  EXPECT_NE(script.find("SEARCH_FILE_NOMBER_2 GIF"), std::string::npos);
  EXPECT_EQ(script.find("SEARCH_FILE_NOMBER_4"), std::string::npos);
  EXPECT_EQ(script.find("INDEX"), std::string::npos);
}

TEST_F(Build, AStartPageThatWasNotStagedGivesNoIndex) {
  host.startFile = "other.htm";
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(Script().find("INDEX"), std::string::npos);
}

TEST_F(Build, APickInTheChooserDuringTheBuildIsTakenWhereTheStartPageIsRead) {
  host.onPump = [&] {
    if (host.panel[1] == W("Копируются файлы...")) host.startFile = "sub\\page.htm";
  };
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  // index.html is the copy of the rewritten sub\page.htm.
  EXPECT_NE(Script().find("INDEX HTML"), std::string::npos);
}

TEST_F(Build, ALeftoverWorkFolderStopsTheBuildAndIsLeftAlone) {
  WriteFile(Work() / "keep.txt", "someone's");
  try {
    build.Run(host);
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()), "I/O error 183");
  }
  EXPECT_EQ(ReadFile(Work() / "keep.txt"), "someone's");
  EXPECT_TRUE(host.windowEnabled);
  EXPECT_EQ(host.Lines("panel1 "), Lines{});
}

TEST_F(Build, ASecondPressDuringStagingNeverRemovesTheFirstBuildsFolder) {
  bool pressed = false;
  std::string secondError;
  host.onPump = [&] {
    if (pressed || host.panel[1] != W("Копируются файлы...")) return;
    pressed = true;
    try {
      BuildCommand second = build;
      second.Run(host);
    } catch (const pagefold::platform::PlatformError& e) {
      secondError = e.what();
    }
  };
  EXPECT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(secondError, "I/O error 183");
  EXPECT_TRUE(fs::exists(target.path() / "site.res"));
}

TEST_F(Build, AnErrorInTheMiddleRestoresTheWindowAndRemovesTheWorkFolder) {
  fs::create_directory(target.path() / "site.rc");  // the script cannot be written
  try {
    build.Run(host);
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + (target.path() / "site.rc").string() + "\". ", 0),
              0u)
        << e.what();
  }
  EXPECT_TRUE(host.windowEnabled);
  EXPECT_TRUE(host.checkListEnabled);
  EXPECT_EQ(host.panel[0], "");
  EXPECT_EQ(host.panel[1], "");
  EXPECT_EQ(host.progressPosition, 0);
  EXPECT_FALSE(fs::exists(Work()));
  EXPECT_FALSE(fs::exists(build.CompilerPath));
  EXPECT_EQ(ReadFile(source.path() / "img" / "a.gif"), "GIF-A");
}

TEST_F(Build, AFailedCompileIsReportedWithWhatTheCompilerSaid) {
  fs::create_directory(target.path() / "site.res");  // the compiler cannot write its result
  EXPECT_EQ(build.Run(host), BuildOutcome::Failed);
  const Lines messages = host.Lines("message ");
  ASSERT_EQ(messages.size(), 1u);
  // The message ends with the compiler's own words: which script, which output, why.
  // The compiler names the paths it was given: on Windows the script's short form.
  const std::string rc = pagefold::platform::ShortPath((target.path() / "site.rc").string());
  const std::string res = rc.substr(0, rc.size() - 3) + ".res";
  const std::string start =
      "message Внимание | Не удалось собрать ресурсный файл!\n" + rc + ": cannot replace \"" + res + "\": ";
  EXPECT_EQ(messages[0].substr(0, start.size()), start);
#ifndef _WIN32
  EXPECT_EQ(messages[0], start + "Is a directory");  // the system's text, which differs on Windows
#endif
  EXPECT_FALSE(fs::exists(Work()));
  EXPECT_TRUE(fs::exists(target.path() / "site.rc"));
  EXPECT_TRUE(host.windowEnabled);
}

TEST_F(Build, CompilerFilesLeftInTheTemporaryAndTheTargetFolderStandInNoBuildsWay) {
  WriteFile(build.CompilerPath, "not ours");
  WriteFile(target.path() / "brcc32.exe", "not ours either");
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(build.CompilerPath, (temp.path() / "brcc32.exe").string());
  EXPECT_EQ(ReadFile(temp.path() / "brcc32.exe"), "not ours");
  EXPECT_EQ(ReadFile(target.path() / "brcc32.exe"), "not ours either");
  // The build's own folder for its compiler is gone with it.
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
  EXPECT_TRUE(fs::exists(target.path() / "site.res"));
  EXPECT_EQ(host.Lines("message ").size(), 1u);
}

TEST_F(Build, AMissingTemporaryFolderIsReportedAndNothingIsLeft) {
  build.CompilerPath = (temp.path() / "gone" / "brcc32.exe").string();
  EXPECT_EQ(build.Run(host), BuildOutcome::Failed);
  EXPECT_EQ(host.Lines("message "),
            (Lines{"message Внимание | Невозможно создать BRCC32, отсутствует временная папка!"}));
  EXPECT_FALSE(fs::exists(Work()));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST_F(Build, MoreThanFiveThousandFilesAreBuilt) {
  host.ticked.clear();
  std::string page = "<html>";
  for (int i = 0; i < 5200; ++i) {
    const std::string name = "f" + std::to_string(i) + ".txt";
    WriteFile(source.path() / "many" / name, std::to_string(i));
    host.ticked.push_back("many\\" + name);
    page += "<a href=\"many/" + name + "\">x</a>\n";
  }
  WriteFile(source.path() / "index.htm", page);
  host.ticked.push_back("index.htm");
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  ASSERT_EQ(build.UsedFlags.size(), 5202u);
  EXPECT_EQ(build.UsedFlags[5200], 1);
  EXPECT_NE(Script().find("SEARCH_FILE_NOMBER_5200 TXT"), std::string::npos);
}

TEST_F(Build, StyleSheetsKeepThePicturesTheyLinkWhileTheyAreKeptThemselves) {
  WriteFile(source.path() / "index.htm",
            "<link rel=stylesheet href=\"css/site.css\"><p style=\"background:url(img/p.gif)\">");
  // The sheet comes before the pictures it names, and it imports a sheet that imports it back.
  WriteFile(source.path() / "css" / "site.css",
            "@import \"print.css\";\nbody { background: url(../img/bg.png) }\nh1 { background: url( 'img/h.gif' ) }\n");
  WriteFile(source.path() / "css" / "print.css", "@import url(site.css);\ni { background: url(\"../img/i.gif\") }\n");
  // Nothing links this sheet: neither it nor the picture that only it names is packed.
  WriteFile(source.path() / "css" / "orphan.css", "@import 'orphan.css'; b { background: url(../img/o.gif) }");
  for (const char* picture : {"img/bg.png", "css/img/h.gif", "img/i.gif", "img/o.gif", "img/p.gif"})
    WriteFile(source.path() / picture, picture);
  host.ticked = {"css\\site.css", "css\\print.css", "css\\orphan.css", "img\\bg.png", "css\\img\\h.gif",
                 "img\\i.gif", "img\\o.gif", "index.htm", "img\\p.gif"};
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);

  EXPECT_EQ(build.UsedFlags, (std::vector<unsigned char>{0, 1, 1, 0, 1, 1, 1, 0, 0, 1}));
  std::vector<std::string> ids;
  const auto packed = Packed();
  for (const auto& [id, data] : packed) ids.push_back(id);
  EXPECT_EQ(ids, (std::vector<std::string>{"CSS/SEARCH_FILE_NOMBER_1", "CSS/SEARCH_FILE_NOMBER_2",
                                           "GIF/SEARCH_FILE_NOMBER_5", "GIF/SEARCH_FILE_NOMBER_6",
                                           "GIF/SEARCH_FILE_NOMBER_9", "HTM/SEARCH_FILE_NOMBER_8", "HTML/FILELIST",
                                           "HTML/INDEX", "PNG/SEARCH_FILE_NOMBER_4"}));
  EXPECT_EQ(packed.at("CSS/SEARCH_FILE_NOMBER_1"),
            "@import \"../CSS/SEARCH_FILE_NOMBER_2\";\nbody { background: url(../PNG/SEARCH_FILE_NOMBER_4) }\n"
            "h1 { background: url( '../GIF/SEARCH_FILE_NOMBER_5' ) }\n");
  EXPECT_EQ(packed.at("CSS/SEARCH_FILE_NOMBER_2"),
            "@import url(../CSS/SEARCH_FILE_NOMBER_1);\ni { background: url(\"../GIF/SEARCH_FILE_NOMBER_6\") }\n");
  EXPECT_EQ(packed.at("HTM/SEARCH_FILE_NOMBER_8"),
            "<link rel=stylesheet href=\"../CSS/SEARCH_FILE_NOMBER_1\">"
            "<p style=\"background:url(../GIF/SEARCH_FILE_NOMBER_9)\">");
  EXPECT_EQ(packed.at("PNG/SEARCH_FILE_NOMBER_4"), "img/bg.png");
  EXPECT_TRUE(build.UnlinkedLinks.empty());

  // With the check off the orphan stays, rewritten like the others.
  host.keepAll = true;
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(Packed().at("CSS/SEARCH_FILE_NOMBER_3"),
            "@import '../CSS/SEARCH_FILE_NOMBER_3'; b { background: url(../GIF/SEARCH_FILE_NOMBER_7) }");
}

TEST_F(Build, LinksThatNameNoPackedFileAreKeptForTheFrontEnd) {
  WriteFile(source.path() / "index.htm",
            "<a href=\"gone.htm\"><a href=\"gone.htm\"><img src=\"img/unused.gif\"><a href=README>"
            "<a href=\"http://example.com/\"><a href=\"mailto:a@b.c\"><a href=\"#top\"><a href=\"/abs.htm\">"
            "<link rel=stylesheet href=\"site.css\"><a href=\"sub/page.htm\">");
  WriteFile(source.path() / "sub" / "page.htm", "<img src=\"../img/a.gif\"><a href=\"../nowhere.htm#x\">");
  WriteFile(source.path() / "site.css", "body { background: url(img/missing.png) url(data:image/gif;base64,R0lG) }");
  WriteFile(source.path() / "lost.css", "body { background: url(img/lost.png) }");  // dropped: not reported
  host.ticked = {"img\\a.gif", "index.htm", "README", "sub\\page.htm", "site.css", "lost.css"};
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(build.UnlinkedLinks, (std::vector<UnlinkedLink>{{"index.htm", "README"},
                                                            {"index.htm", "gone.htm"},
                                                            {"index.htm", "img/unused.gif"},
                                                            {"sub\\page.htm", "../nowhere.htm#x"},
                                                            {"site.css", "img/missing.png"}}));
  // The link to the file without an extension, which has no resource type, stays as written.
  const std::string index = Packed().at("HTM/SEARCH_FILE_NOMBER_2");
  EXPECT_NE(index.find("<a href=README><a href=\"http://example.com/\">"), std::string::npos) << index;
  // A build that does not start clears them.
  host.ticked.clear();
  EXPECT_EQ(build.Run(host), BuildOutcome::NotStarted);
  EXPECT_TRUE(build.UnlinkedLinks.empty());
}

}  // namespace
