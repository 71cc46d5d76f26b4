#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/build_cancelled.h"
#include "core/build_command.h"
#include "core/clear_folder.h"
#include "core/staging.h"
#include "platform/folder_handle.h"
#include "platform/ini_file.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using pagefold::BuildCommand;
using pagefold::ClearFolder;
using testing_support::ReadFile;
using testing_support::RecordingHost;
using testing_support::ScratchDir;
using testing_support::Utf8Path;
using testing_support::WriteFile;
namespace fs = std::filesystem;

struct Staging : ::testing::Test {
  ScratchDir source, target;
  RecordingHost host;
  BuildCommand build;
  fs::path work;

  void SetUp() override {
    work = target.path() / "ARH";
    fs::create_directory(work);
    host.sourceFolder = source.str();
  }
  std::string Registry() { return ReadFile(work / "fillist.ini"); }
};

TEST_F(Staging, NumbersStayDenseWhenACopyFails) {
  WriteFile(source.path() / "a.htm", "A");
  WriteFile(source.path() / "c.gif", "C");
  host.ticked = {"a.htm", "b-missing.htm", "c.gif"};
  build.Stage(host, work.string());

  EXPECT_EQ(ReadFile(work / "search_file_nomber_1"), "A");
  EXPECT_EQ(ReadFile(work / "search_file_nomber_2"), "C");
  EXPECT_FALSE(fs::exists(work / "search_file_nomber_3"));
  EXPECT_EQ(Registry(),
            "[data]\r\nsearch_file_nomber_1=a.htm\r\nsearch_file_nomber_2=c.gif\r\ncount=2\r\n");
  EXPECT_EQ(host.panel[0], "2\\3");
  EXPECT_EQ(host.progressMax, 3);
  EXPECT_EQ(host.progressPosition, 3);  // the failed copy still advances the bar
  // The road: pump, stage text, list off, then per item progress and pump, list on.
  EXPECT_EQ(host.log, (std::vector<std::string>{
                          "pumpall", "panel1 Копируются файлы...", "list off", "max 3",
                          "pos 1", "pumpall", "panel0 1\\3", "pos 2", "pumpall",
                          "pos 3", "pumpall", "panel0 2\\3", "list on"}));
}

// What staging returns by number is what the registry says: the name as
// listed, its size, and whether it went in with its extension.
TEST_F(Staging, TheStagedFilesComeByNumberWithTheirRegistryNames) {
  WriteFile(source.path() / "a.htm", "AAAA");
  WriteFile(source.path() / "sub" / "c.gif", "CC");
  WriteFile(source.path() / "bare", "B");
  host.ticked = {"a.htm", "b-missing.htm", "sub\\c.gif", "bare"};
  pagefold::platform::FolderHandle folder;
  ASSERT_TRUE(folder.Open(work.string()));
  std::vector<pagefold::MissingFile> missing;
  const std::vector<pagefold::StagedFile> staged = pagefold::StageFiles(
      host, folder, pagefold::OwnOutputs{}, pagefold::StagedNames::WithExtension, false, missing);
  ASSERT_EQ(staged.size(), 4u);
  EXPECT_EQ(staged[1].name, "a.htm");
  EXPECT_EQ(staged[2].name, "sub\\c.gif");
  EXPECT_EQ(staged[3].name, "bare");
  EXPECT_EQ(staged[1].size, 4);
  EXPECT_EQ(staged[2].size, 2);
  EXPECT_TRUE(staged[2].withExtension);
  EXPECT_FALSE(staged[3].withExtension);
  EXPECT_EQ(ReadFile(work / "search_file_nomber_2.gif"), "CC");
  EXPECT_EQ(Registry(), "[data]\r\nsearch_file_nomber_1=a.htm\r\nsearch_file_nomber_2=sub\\c.gif\r\n"
                        "search_file_nomber_3=bare\r\ncount=3\r\n");
}

TEST_F(Staging, NothingCopiedLeavesOnlyTheCount) {
  host.ticked = {"gone.htm"};
  build.Stage(host, work.string());
  EXPECT_EQ(Registry(), "[data]\r\ncount=0\r\n");
}

TEST_F(Staging, CyrillicNamesAndSubfoldersAreStoredAsListed) {
  WriteFile(source.path() / "img" / Utf8Path("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg"), "photo");  // фото.jpg
  host.ticked = {"img\\\xF4\xEE\xF2\xEE.jpg"};
  build.Stage(host, work.string());
  EXPECT_EQ(ReadFile(work / "search_file_nomber_1"), "photo");
  const pagefold::platform::IniFile registry((work / "fillist.ini").string());
  EXPECT_EQ(registry.ReadString("data", "search_file_nomber_1", ""), "img\\\xF4\xEE\xF2\xEE.jpg");
}

TEST_F(Staging, WorksOnASnapshotWhileTheUserChangesTheWindow) {
  WriteFile(source.path() / "a.htm", "A");
  WriteFile(source.path() / "b.htm", "B");
  ScratchDir other;
  WriteFile(other.path() / "a.htm", "OTHER");
  host.ticked = {"a.htm", "b.htm"};
  host.onPump = [&] {  // the user picks another folder and unticks everything
    host.sourceFolder = other.str();
    host.ticked.clear();
  };
  build.Stage(host, work.string());
  EXPECT_EQ(ReadFile(work / "search_file_nomber_1"), "A");
  EXPECT_EQ(ReadFile(work / "search_file_nomber_2"), "B");
}

TEST_F(Staging, EmptyingAFolderKeepsItsSubfoldersAndIgnoresAMissingOne) {
  WriteFile(work / "x", "1");
  WriteFile(work / "sub" / "deep" / "y", "2");
  ClearFolder(work.string());
  EXPECT_TRUE(fs::is_directory(work / "sub" / "deep"));
  EXPECT_FALSE(fs::exists(work / "x"));
  EXPECT_FALSE(fs::exists(work / "sub" / "deep" / "y"));
  ClearFolder((target.path() / "nowhere").string());
  EXPECT_TRUE(fs::exists(work));
}

TEST_F(Staging, AFailedRegistryWriteStopsWithTheError) {
  WriteFile(source.path() / "a.htm", "A");
  host.ticked = {"a.htm"};
  fs::create_directory(work / "fillist.ini");  // a folder where the registry should go
  try {
    build.Stage(host, work.string());
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + (work / "fillist.ini").string());
  }
}

#ifndef _WIN32
// A settled file that only its owner writes is staged as a second name;
// a fresh one and one that others may write as a copy with its rights and
// the owner's write; a ticked link as the file it names, never as a link.
TEST_F(Staging, SettledOwnFilesAreLinkedOthersCopiedAndALinkStagedAsItsFile) {
  const auto settle = [](const fs::path& file, fs::perms rights) {
    fs::permissions(file, rights);
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
  };
  WriteFile(source.path() / "a.htm", "A");
  settle(source.path() / "a.htm", fs::perms::owner_read | fs::perms::group_read);
  WriteFile(source.path() / "b.gif", "B");
  settle(source.path() / "b.gif", fs::perms::owner_read | fs::perms::group_read | fs::perms::group_write);
  WriteFile(source.path() / "c.gif", "C");
  fs::permissions(source.path() / "c.gif", fs::perms::owner_read);
  WriteFile(source.path() / "img" / "real.gif", "REAL");
  settle(source.path() / "img" / "real.gif", fs::perms::owner_read);
  fs::create_symlink("real.gif", source.path() / "img" / "d.gif");
  host.ticked = {"a.htm", "b.gif", "c.gif", "img\\d.gif"};
  build.Stage(host, work.string());

  EXPECT_TRUE(fs::equivalent(work / "search_file_nomber_1", source.path() / "a.htm"));
  for (const char* name : {"b.gif", "c.gif"}) {
    const fs::path copy = work / ("search_file_nomber_" + std::string(name[0] == 'b' ? "2" : "3"));
    EXPECT_FALSE(fs::equivalent(copy, source.path() / name)) << name;
    EXPECT_EQ(ReadFile(copy), ReadFile(source.path() / name)) << name;
    EXPECT_EQ(fs::status(copy).permissions(), fs::status(source.path() / name).permissions() | fs::perms::owner_write);
  }
  EXPECT_FALSE(fs::is_symlink(work / "search_file_nomber_4"));
  EXPECT_TRUE(fs::equivalent(work / "search_file_nomber_4", source.path() / "img" / "real.gif"));
  EXPECT_EQ(Registry(), "[data]\r\nsearch_file_nomber_1=a.htm\r\nsearch_file_nomber_2=b.gif\r\n"
                        "search_file_nomber_3=c.gif\r\nsearch_file_nomber_4=img\\d.gif\r\ncount=4\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(work), {}), 5);
}

// A file that became a link out of the folder after the listing, or whose
// folder did, is not staged through it unless links are to be followed; it is
// named instead. A link inside the folder still serves.
TEST_F(Staging, AFileOrFolderSwappedForALinkOutAfterTheListingIsNamedNotFollowed) {
  ScratchDir outside;
  WriteFile(outside.path() / "id_rsa", "PRIVATE-KEY");
  WriteFile(outside.path() / "docs" / "page.htm", "PRIVATE-PAGE");
  WriteFile(source.path() / "a.gif", "A");
  WriteFile(source.path() / "docs" / "page.htm", "PAGE");
  WriteFile(source.path() / "real.gif", "REAL");
  fs::create_symlink("real.gif", source.path() / "inner.gif");
  host.ticked = {"a.gif", "docs\\page.htm", "inner.gif"};
  const auto swap = [&] {
    fs::remove(source.path() / "a.gif");
    fs::create_symlink(outside.path() / "id_rsa", source.path() / "a.gif");
    fs::remove_all(source.path() / "docs");
    fs::create_directory_symlink(outside.path() / "docs", source.path() / "docs");
  };
  swap();
  for (const auto& [settled, when] : {std::pair{false, "fresh"}, std::pair{true, "settled"}}) {
    if (settled)
      for (const char* name : {"id_rsa", "docs/page.htm"})
        fs::last_write_time(outside.path() / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
    for (const auto& entry : fs::directory_iterator(work)) fs::remove(entry.path());
    build.Stage(host, work.string());
    EXPECT_EQ(Registry(), "[data]\r\nsearch_file_nomber_1=inner.gif\r\ncount=1\r\n") << when;
    EXPECT_EQ(ReadFile(work / "search_file_nomber_1"), "REAL") << when;
    EXPECT_EQ(build.MissingFiles,
              (std::vector<pagefold::MissingFile>{{"a.gif", pagefold::MissingReason::LinkSwapped, ""},
                                                  {"docs\\page.htm", pagefold::MissingReason::LinkSwapped, ""}}))
        << when;
  }
  EXPECT_EQ(pagefold::MissingFileLine(build.MissingFiles[0]),
            testing_support::W("a.gif: в пути появилась ссылка за пределы папки"));

  // Asked to follow links, the build packs what they lead to.
  build.FollowLinks = true;
  for (const auto& entry : fs::directory_iterator(work)) fs::remove(entry.path());
  build.Stage(host, work.string());
  EXPECT_EQ(ReadFile(work / "search_file_nomber_1"), "PRIVATE-KEY");
  EXPECT_EQ(ReadFile(work / "search_file_nomber_2"), "PRIVATE-PAGE");
  EXPECT_TRUE(build.MissingFiles.empty());
}

// Enough items for two threads: the second half is staged before the first
// has lost its failures, so its files are moved down to the numbers one
// thread gives, each in the form it went in.
TEST_F(Staging, ManyItemsGetTheNumbersOfOneThreadAfterFailuresInTheFirstHalf) {
  const std::string longExt = "." + std::string(240, 'e');  // too long for a staged name
  std::vector<std::string> items;
  for (int i = 0; i < 600; ++i) items.push_back("f" + std::to_string(i) + (i % 3 ? ".gif" : ".htm"));
  items[10] = "gone10.gif";
  items[20] = "locked20.gif";
  items[30] = "dir30.gif";
  items[40] = "ARH\\inside.gif";
  items[50] = "long50" + longExt;
  items[310] = "gone310.gif";
  items[320] = "long320" + longExt;
  items[330] = "plain330";
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].rfind("gone", 0) == 0 || items[i].rfind("ARH", 0) == 0) continue;
    if (items[i].rfind("dir", 0) == 0) {
      fs::create_directory(source.path() / items[i]);
      continue;
    }
    WriteFile(source.path() / items[i], items[i]);
    if (i % 2)  // settled, so that it is linked rather than copied
      fs::last_write_time(source.path() / items[i], fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  fs::permissions(source.path() / "locked20.gif", fs::perms::none);
  const bool locked = ::access((source.path() / "locked20.gif").c_str(), R_OK) != 0;  // not for root
  host.ticked = items;
  pagefold::platform::FolderHandle folder;
  ASSERT_TRUE(folder.Open(work.string()));
  std::vector<pagefold::MissingFile> missing;
  const std::vector<pagefold::StagedFile> staged = pagefold::StageFiles(
      host, folder, pagefold::OwnOutputs{"ARH\\"}, pagefold::StagedNames::WithExtension, false, missing);

  // What one thread gives: a number for each file that went in, in order.
  std::string registry = "[data]\r\n";
  std::vector<std::string> names, positions, counters;
  std::vector<pagefold::MissingFile> lost;
  int number = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string& item = items[i];
    positions.push_back("pos " + std::to_string(i + 1));
    if (item.rfind("gone", 0) == 0) lost.push_back({item, pagefold::MissingReason::Gone, ""});
    if (item.rfind("dir", 0) == 0) lost.push_back({item, pagefold::MissingReason::NotAFile, ""});
    if (item == "locked20.gif" && locked) lost.push_back({item, pagefold::MissingReason::Unreadable, ""});
    if (item.rfind("gone", 0) == 0 || item.rfind("dir", 0) == 0 || item.rfind("ARH", 0) == 0 ||
        (item == "locked20.gif" && locked))
      continue;
    const std::string name = "search_file_nomber_" + std::to_string(++number);
    registry += name + "=" + item + "\r\n";
    const bool bare = item.rfind("long", 0) == 0 || item == "plain330";
    names.push_back(bare ? name : name + item.substr(item.rfind('.')));
    EXPECT_EQ(ReadFile(work / names.back()), item);
    EXPECT_EQ(staged.at(static_cast<size_t>(number)).name, item);
    EXPECT_EQ(staged[static_cast<size_t>(number)].withExtension, !bare) << item;
    counters.push_back("panel0 " + std::to_string(number) + "\\600");
  }
  EXPECT_EQ(Registry(), registry + "count=" + std::to_string(number) + "\r\n");
  EXPECT_NE(Registry().find(locked ? "search_file_nomber_298=f301.gif\r\n" : "search_file_nomber_299=f301.gif\r\n"),
            std::string::npos);
  EXPECT_EQ(number, locked ? 595 : 596);
  EXPECT_EQ(staged.size(), static_cast<size_t>(number) + 1);
  names.push_back("fillist.ini");
  std::sort(names.begin(), names.end());
  std::vector<std::string> present;
  for (const auto& entry : fs::directory_iterator(work)) present.push_back(entry.path().filename().string());
  std::sort(present.begin(), present.end());
  EXPECT_EQ(present, names);
  EXPECT_EQ(missing, lost);
  EXPECT_EQ(host.Lines("pos "), positions);
  EXPECT_EQ(host.Lines("panel0 "), counters);
  EXPECT_EQ(host.log.back(), "list on");
}

// A close while two threads stage ends both at the next file: nothing more
// comes into the work folder once staging has raised, and no registry.
TEST_F(Staging, AClosingBuildStopsTheSecondThreadAtOnce) {
  for (int i = 0; i < 1000; ++i) {
    host.ticked.push_back("f" + std::to_string(i) + ".gif");
    WriteFile(source.path() / host.ticked.back(), "x");
  }
  int pumps = 0;
  host.onPump = [&] { host.closing = ++pumps == 3; };  // after the second file
  pagefold::platform::FolderHandle folder;
  ASSERT_TRUE(folder.Open(work.string()));
  std::vector<pagefold::MissingFile> missing;
  EXPECT_THROW(pagefold::StageFiles(host, folder, pagefold::OwnOutputs{}, pagefold::StagedNames::WithExtension,
                                    false, missing),
               pagefold::BuildCancelled);
  const auto count = [&] { return std::distance(fs::directory_iterator(work), {}); };
  const auto atClose = count();
  EXPECT_GE(atClose, 2);
  EXPECT_LT(atClose, 500);  // the second half did not run to its end
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(count(), atClose);
  EXPECT_FALSE(fs::exists(work / "fillist.ini"));
  EXPECT_EQ(host.Lines("pos "), (std::vector<std::string>{"pos 1", "pos 2"}));
  folder.Clear();
  EXPECT_EQ(count(), 0);
}
#endif

}  // namespace
