#include "core/find_files.h"

#include <gtest/gtest.h>

#include "core/tmyfunction.h"
#include "text/cp1251.h"
#include "test_support.h"

namespace {

using pagefold::StringList;
using testing_support::OsPath;
using testing_support::ScratchDir;
using testing_support::Utf8Path;
using testing_support::WriteFile;
const auto Cp1251 = [](const char* utf8) { return pagefold::text::Cp1251Text(utf8); };
namespace fs = std::filesystem;

TEST(FindFiles, DepthFirstByNameWithFolderEntriesAndHiddenFiles) {
  ScratchDir dir;
  WriteFile(dir.path() / "b.htm", "");
  WriteFile(dir.path() / "A.htm", "");
  WriteFile(dir.path() / ".hidden", "");
  WriteFile(dir.path() / "img" / "small" / "c.gif", "");
  WriteFile(dir.path() / "img" / "b.gif", "");
  fs::create_directories(dir.path() / "empty");
  const std::string root = dir.str() + OsPath("/");
  StringList list;
  EXPECT_EQ(pagefold::FindFiles(dir.str(), "", list, true), 0);
  EXPECT_EQ(list, (StringList{root + ".hidden", root + "A.htm", root + "b.htm", root + OsPath("empty/"),
                              root + OsPath("img/"), root + OsPath("img/b.gif"), root + OsPath("img/small/"),
                              root + OsPath("img/small/c.gif")}));

  StringList flat;
  pagefold::FindFiles(root, "*.*", flat, false);  // a trailing separator is not doubled
  EXPECT_EQ(flat, (StringList{root + ".hidden", root + "A.htm", root + "b.htm"}));

  StringList again = list;
  pagefold::TMyFunction::ListDirFiles(dir.str(), "", again);  // appends, never clears
  EXPECT_EQ(again.size(), 2 * list.size());

  StringList none;
  pagefold::FindFiles((dir.path() / "missing").string(), "", none, true);
  pagefold::FindFiles("", "", none, true);
  EXPECT_TRUE(none.empty());
}

TEST(FindFiles, MasksMatchFoldersTooWithoutRegardToCase) {
  ScratchDir names;
  for (const char* name : {"README", "page.HTM", "page.html", "a1.gif", "a12.gif"})
    WriteFile(names.path() / name, "");
  WriteFile(names.path() / Utf8Path("\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0") / "in.txt", "");  // Папка
  const std::string top = names.str() + OsPath("/");
  const auto flat = [&](const std::string& mask) {
    StringList found;
    pagefold::FindFiles(names.str(), mask, found, false);
    return found;
  };
  EXPECT_EQ(flat("*.*").size(), 5u);  // the folder is listed only when recursing
  EXPECT_EQ(flat("*.htm"), StringList{top + "page.HTM"});
  EXPECT_EQ(flat("a?.gif"), StringList{top + "a1.gif"});
  StringList cyrillic;
  pagefold::FindFiles(names.str(), "\xEF*", cyrillic, true);  // п*
  EXPECT_EQ(cyrillic, StringList{top + OsPath("\xCF\xE0\xEF\xEA\xE0/")});  // the folder matches, in.txt in it does not

  ScratchDir dir;
  WriteFile(dir.path() / "x.htm", "");
  WriteFile(dir.path() / "sub" / "y.htm", "");
  WriteFile(dir.path() / "s.htm" / "z.htm", "");
  StringList list;
  pagefold::FindFiles(dir.str(), "*.htm", list, true);
  const std::string root = dir.str() + OsPath("/");
  EXPECT_EQ(list, (StringList{root + OsPath("s.htm/"), root + OsPath("s.htm/z.htm"), root + "x.htm"}));
}

TEST(FindFiles, LinksInsideTheTreeAreFollowedOnceLinksOutOrNowhereAreLeftOutAndCounted) {
#ifdef _WIN32
  GTEST_SKIP() << "MinGW's std::filesystem cannot make folder links (nor can Wine)";
#endif
  ScratchDir dir, outside;
  WriteFile(dir.path() / "site" / "a.htm", "");
  WriteFile(dir.path() / "site" / "img" / "logo.gif", "");
  WriteFile(outside.path() / "precious.txt", "keep");
  fs::create_directory_symlink(dir.path() / "site", dir.path() / "site" / "loop");
  fs::create_directory_symlink(dir.path() / "site" / "img", dir.path() / "site" / "pictures");
  fs::create_symlink("../a.htm", dir.path() / "site" / "img" / "same.htm");
  fs::create_directory_symlink(outside.path(), dir.path() / "site" / "out");
  fs::create_symlink(outside.path() / "precious.txt", dir.path() / "site" / "img" / "secret.gif");
  fs::create_symlink(dir.path() / "site" / "nowhere", dir.path() / "site" / "dangling.htm");
  // A folder beside the tree whose name begins with the tree's name is outside.
  WriteFile(dir.path() / "site-x" / "twin.htm", "");
  fs::create_symlink("../site-x/twin.htm", dir.path() / "site" / "twin.htm");
  // A link out through a folder of the tree that leads back in elsewhere.
  fs::create_symlink("../../site/a.htm", dir.path() / "site" / "img" / "back.htm");
  StringList list;
  const int skipped = pagefold::FindFiles((dir.path() / "site").string(), "", list, true);
  const std::string root = (dir.path() / "site").string() + "/";
  // The loop and the second way into img are listed but not entered again.
  EXPECT_EQ(list, (StringList{root + "a.htm", root + "img/", root + "img/back.htm", root + "img/logo.gif",
                              root + "img/same.htm", root + "loop/", root + "pictures/"}));
  EXPECT_EQ(skipped, 4);
  // Each left out with what it holds; asked to, the listing follows those
  // that lead somewhere, as "cp -L" does.
  using pagefold::MissingFile;
  constexpr auto kLink = pagefold::MissingReason::OutsideLink;
  const pagefold::SourceFiles files = pagefold::ListSourceFiles((dir.path() / "site").string());
  EXPECT_EQ(files.leftOut, (std::vector<MissingFile>{{"dangling.htm", kLink, root + "nowhere"},
                                                     {"img\\secret.gif", kLink, outside.str() + "/precious.txt"},
                                                     {"out", kLink, outside.str()},
                                                     {"twin.htm", kLink, "../site-x/twin.htm"}}));
  const pagefold::SourceFiles followed = pagefold::ListSourceFiles((dir.path() / "site").string(), true);
  EXPECT_EQ(followed.names, (StringList{"a.htm", "img\\back.htm", "img\\logo.gif", "img\\same.htm",
                                        "img\\secret.gif", "out\\precious.txt", "twin.htm"}));
  EXPECT_EQ(followed.leftOut, (std::vector<MissingFile>{{"dangling.htm", kLink, root + "nowhere"}}));
}

TEST(FindFiles, SourceListingGivesRelativeNamesAndLeavesOutUnsafeOnes) {
  ScratchDir dir;
  WriteFile(dir.path() / "index.htm", "");
  WriteFile(dir.path() / "img" / "logo.gif", "");
  WriteFile(dir.path() / "img" / Utf8Path("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg"), "");  // фото.jpg
  WriteFile(dir.path() / Utf8Path("\xE4\xB8\xAD.htm"), "");   // a CJK name: no Windows-1251 form
  using pagefold::MissingFile;
  using pagefold::MissingReason;
  std::vector<MissingFile> leftOut{{"\\u4E2D.htm", MissingReason::OutsideCodePage, ""}};
#ifndef _WIN32  // line breaks, quotes and backslashes cannot be in Windows names
  WriteFile(dir.path() / "bad\nname.htm", "");
  WriteFile(dir.path() / "say\"hi\".htm", "");
  WriteFile(dir.path() / "img" / "s\\x.gif", "SX");  // not img\s\x.gif, which is this one:
  WriteFile(dir.path() / "img" / "s" / "x.gif", "X");
  leftOut = {{"\\u4E2D.htm", MissingReason::OutsideCodePage, ""},
             {"img\\s\\x.gif", MissingReason::Backslash, ""},
             {"bad\nname.htm", MissingReason::UnsafeName, ""},
             {"say\"hi\".htm", MissingReason::UnsafeName, ""}};
#endif
  fs::create_directories(dir.path() / "only-folders" / "deeper");
  const pagefold::SourceFiles files = pagefold::ListSourceFiles(dir.str());
#ifdef _WIN32
  EXPECT_EQ(files.names, (StringList{"img\\logo.gif", "img\\\xF4\xEE\xF2\xEE.jpg", "index.htm"}));
#else
  EXPECT_EQ(files.names, (StringList{"img\\logo.gif", "img\\s\\x.gif", "img\\\xF4\xEE\xF2\xEE.jpg", "index.htm"}));
#endif
  EXPECT_EQ(files.leftOut, leftOut);
  EXPECT_EQ(pagefold::MissingFilesSummary(files.leftOut),
            Cp1251("Не упакованы файлы: ") + std::to_string(leftOut.size()) + "\n\\u4E2D.htm: " +
                Cp1251("имя вне кодировки Windows-1251") +
#ifndef _WIN32
                "\nimg\\s\\x.gif: " + Cp1251("в имени есть знак \\") + "\nbad\\x0Aname.htm: " +
                Cp1251("в имени есть кавычка или управляющий знак") + "\nsay\"hi\".htm: " +
                Cp1251("в имени есть кавычка или управляющий знак") +
#endif
                "");
}

}  // namespace
