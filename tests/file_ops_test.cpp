#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include "platform/folder_listing.h"
#include "platform/folder_ops.h"
#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using testing_support::OsPath;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::Utf8Path;
using testing_support::WriteFile;
namespace fs = std::filesystem;

TEST(FileOps, PathsUseThePlatformsSeparatorAndWindows1251Names) {
  ScratchDir dir;
  WriteFile(dir.path() / "img" / Utf8Path("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg"), "photo");  // фото.jpg in UTF-8
  const std::string cp1251 = dir.str() + OsPath("/img/") + "\xF4\xEE\xF2\xEE.jpg";
  EXPECT_TRUE(pagefold::platform::FileExists(cp1251));
  EXPECT_EQ(pagefold::platform::ReadFileBytes(cp1251), "photo");
  EXPECT_FALSE(pagefold::platform::FileExists(dir.str() + OsPath("/img")));  // a folder is not a file
#ifndef _WIN32
  // On POSIX "\" is a letter of a name: "img\фото.jpg" is no path into img.
  EXPECT_FALSE(pagefold::platform::FileExists(dir.str() + "/img\\\xF4\xEE\xF2\xEE.jpg"));
  WriteFile(dir.path() / "img\\x", "backslash");
  EXPECT_EQ(pagefold::platform::ReadFileBytes(dir.str() + "/img\\x"), "backslash");
#endif
  const pagefold::platform::FolderListing listing = pagefold::platform::ListFolder(dir.str() + OsPath("/img"));
  ASSERT_EQ(listing.entries.size(), 1u);
  EXPECT_EQ(listing.entries[0].name, "\xF4\xEE\xF2\xEE.jpg");
  EXPECT_EQ(pagefold::platform::EntrySize(cp1251), 5);
  EXPECT_EQ(pagefold::platform::EntrySize(cp1251 + "x"), -1);
}

TEST(FileOps, DeleteRemovesLinksNotTheirTargets) {
#ifdef _WIN32
  GTEST_SKIP() << "MinGW's std::filesystem cannot make folder links (nor can Wine)";
#endif
  ScratchDir dir;
  WriteFile(dir.path() / "keep" / "f", "x");
  fs::create_directory_symlink(dir.path() / "keep", dir.path() / "link");
  EXPECT_FALSE(pagefold::platform::RemoveFile((dir.path() / "keep").string()));
  EXPECT_TRUE(pagefold::platform::RemoveFile((dir.path() / "link").string()));
  EXPECT_TRUE(fs::exists(dir.path() / "keep" / "f"));
  EXPECT_FALSE(pagefold::platform::RemoveFile((dir.path() / "nothing").string()));
}

TEST(FileOps, ReadAndWriteErrorsCarryThePathAndTheReason) {
  ScratchDir dir;
  const std::string missing = (dir.path() / "no" / "x.htm").string();
#ifdef _WIN32
  // ERROR_PATH_NOT_FOUND in the system's words, which differ between Windows and Wine.
  const std::string reason = pagefold::platform::SystemErrorText(3);
  EXPECT_FALSE(reason.empty());
  EXPECT_NE(reason.back(), '.');
#else
  const std::string reason = "No such file or directory";
#endif
  try {
    pagefold::platform::ReadFileBytes(missing);
    FAIL();
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing + "\". " + reason);
  }
  try {
    pagefold::platform::WriteFileBytes(missing, "x");
    FAIL();
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + missing + "\". " + reason);
  }
  pagefold::platform::WriteFileBytes((dir.path() / "w").string(), "long content");
  pagefold::platform::WriteFileBytes((dir.path() / "w").string(), "s");
  EXPECT_EQ(ReadFile(dir.path() / "w"), "s");
  // A folder in the way: the error, and no temporary file left behind.
  fs::create_directory(dir.path() / "taken");
  EXPECT_THROW(pagefold::platform::WriteFileBytes((dir.path() / "taken").string(), "x"), pagefold::platform::PlatformError);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}

TEST(FileOps, WritingOverALinkReplacesTheLinkAndLeavesTheFileItNames) {
#ifdef _WIN32
  GTEST_SKIP() << "MinGW's std::filesystem cannot make links (nor can Wine)";
#endif
  ScratchDir dir, outside;
  WriteFile(outside.path() / "victim.txt", "victim's");
  fs::create_symlink(outside.path() / "victim.txt", dir.path() / "site.rc");
  pagefold::platform::WriteFileBytes((dir.path() / "site.rc").string(), "script");
  EXPECT_FALSE(fs::is_symlink(dir.path() / "site.rc"));
  EXPECT_EQ(ReadFile(dir.path() / "site.rc"), "script");
  EXPECT_EQ(ReadFile(outside.path() / "victim.txt"), "victim's");
}

TEST(FolderOps, FailuresAreWindowsErrorCodes) {
  ScratchDir dir;
  const std::string arh = (dir.path() / "ARH").string();
  EXPECT_EQ(pagefold::platform::CreateFolder(arh), 0);
  EXPECT_EQ(pagefold::platform::CreateFolder(arh), 183);
  EXPECT_EQ(pagefold::platform::CreateFolder((dir.path() / "a" / "b").string()), 3);
  WriteFile(dir.path() / "ARH" / "f", "x");
  EXPECT_EQ(pagefold::platform::RemoveFolder(arh), 145);
#ifdef _WIN32
  EXPECT_EQ(pagefold::platform::RemoveFolder((dir.path() / "none").string()), 2);  // the system's ERROR_FILE_NOT_FOUND
#else
  EXPECT_EQ(pagefold::platform::RemoveFolder((dir.path() / "none").string()), 3);
#endif
  EXPECT_EQ(pagefold::platform::InOutErrorText(183), "I/O error 183");
  EXPECT_EQ(pagefold::platform::InOutErrorText(145), "I/O error 145");
  EXPECT_EQ(pagefold::platform::InOutErrorText(3), "Invalid filename");
  EXPECT_EQ(pagefold::platform::InOutErrorText(5), "File access denied");
}

}  // namespace
