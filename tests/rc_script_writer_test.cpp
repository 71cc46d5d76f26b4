#include <gtest/gtest.h>

#include "core/rc_script_writer.h"
#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using pagefold::StringList;
using pagefold::WriteRcScript;
using testing_support::OsPath;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;

TEST(RcScriptWriter, OneLinePerFileWithAnExtensionInListOrder) {
  ScratchDir dir;
  const std::string script = (dir.path() / "site.rc").string();
  const StringList list = {
      "D:\\Site\\ARH\\filelist.html",
      "D:\\Site\\ARH\\search_file_nomber_2.JpG",
      "D:\\Site\\ARH\\search_file_nomber_3",      // no extension: no line
      "D:\\Site\\ARH\\sub\\",                      // a folder: no line
      "D:\\Site\\ARH\\sub\\search_file_nomber_1.htm",
      OsPath(W("/home/u/Мои сайты/ARH/index.html")),
      OsPath("/home/u/my.site/ARH/search_file_nomber_4"),  // the dot of a folder is no extension
  };
  WriteRcScript("", script, list);
  EXPECT_EQ(ReadFile(script),
            "FILELIST HTML \"D:\\Site\\ARH\\filelist.html\"\r\n"
            "SEARCH_FILE_NOMBER_2 JPG \"D:\\Site\\ARH\\search_file_nomber_2.JpG\"\r\n"
            "SEARCH_FILE_NOMBER_1 HTM \"D:\\Site\\ARH\\sub\\search_file_nomber_1.htm\"\r\n"
            "INDEX HTML \"" + OsPath(W("/home/u/Мои сайты/ARH/index.html")) + "\"\r\n");

  WriteRcScript(W("Мои файлы"), script, {"D:\\Site\\ARH\\index.html", "D:\\a.gif"});
  EXPECT_EQ(ReadFile(script),
            "INDEX MOI_FAILI \"D:\\Site\\ARH\\index.html\"\r\nA MOI_FAILI \"D:\\a.gif\"\r\n");
  WriteRcScript("(1)", script, {"x.a"});
  EXPECT_EQ(ReadFile(script), "X _1_ \"x.a\"\r\n");
  WriteRcScript(W("Объявление"), script, {"x.a"});
  EXPECT_EQ(ReadFile(script), "X OB'IAVLENIE \"x.a\"\r\n");
}

TEST(RcScriptWriter, EmptyListsGiveAnEmptyFileReplacingTheOldOne) {
  ScratchDir dir;
  WriteFile(dir.path() / "site.rc", "old content");
  const std::string readme = OsPath("D:/ARH/readme"), folder = OsPath("D:/ARH/x/");
  WriteRcScript("", (dir.path() / "site.rc").string(), {readme, folder});
  EXPECT_EQ(ReadFile(dir.path() / "site.rc"), "");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "site.rc"));
  // Grouped under one type, a file without an extension has a type too.
  WriteRcScript("DATA", (dir.path() / "site.rc").string(), {readme, folder});
  EXPECT_EQ(ReadFile(dir.path() / "site.rc"), "README DATA \"" + readme + "\"\r\n");
}

TEST(RcScriptWriter, RefusesPathsThatWouldChangeTheScriptsMeaning) {
  ScratchDir dir;
  const std::string script = (dir.path() / "site.rc").string();
  WriteFile(script, "old");
  for (const std::string bad : {"D:\\ARH\\a\" X Y \"b.htm", "D:\\ARH\\a\r\nEVIL HTM \"x.htm"}) {
    try {
      WriteRcScript("", script, {"D:\\ARH\\ok.htm", bad});
      FAIL() << bad;
    } catch (const pagefold::platform::PlatformError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot create file \"" + script +
                    "\". The file name cannot be written into the script: " + bad);
    }
  }
  EXPECT_EQ(ReadFile(script), "old");
  const std::string missing = (dir.path() / "no" / "site.rc").string();
  EXPECT_THROW(WriteRcScript("", missing, {"a.htm"}), pagefold::platform::PlatformError);
}

}  // namespace
