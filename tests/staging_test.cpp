#include <gtest/gtest.h>

#include "core/build_command.h"
#include "platform/ini_file.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using pagefold::BuildCommand;
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
  build.button2Click(host, work.string());

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

TEST_F(Staging, NothingCopiedLeavesOnlyTheCount) {
  host.ticked = {"gone.htm"};
  build.button2Click(host, work.string());
  EXPECT_EQ(Registry(), "[data]\r\ncount=0\r\n");
}

TEST_F(Staging, CyrillicNamesAndSubfoldersAreStoredAsListed) {
  WriteFile(source.path() / "img" / Utf8Path("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg"), "photo");  // фото.jpg
  host.ticked = {"img\\\xF4\xEE\xF2\xEE.jpg"};
  build.button2Click(host, work.string());
  EXPECT_EQ(ReadFile(work / "search_file_nomber_1"), "photo");
  const platform::IniFile registry((work / "fillist.ini").string());
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
  build.button2Click(host, work.string());
  EXPECT_EQ(ReadFile(work / "search_file_nomber_1"), "A");
  EXPECT_EQ(ReadFile(work / "search_file_nomber_2"), "B");
}

TEST_F(Staging, EmptyingAFolderKeepsItsSubfoldersAndIgnoresAMissingOne) {
  WriteFile(work / "x", "1");
  WriteFile(work / "sub" / "deep" / "y", "2");
  BuildCommand::ClrDIR(work.string());
  EXPECT_TRUE(fs::is_directory(work / "sub" / "deep"));
  EXPECT_FALSE(fs::exists(work / "x"));
  EXPECT_FALSE(fs::exists(work / "sub" / "deep" / "y"));
  BuildCommand::ClrDIR((target.path() / "nowhere").string());
  EXPECT_TRUE(fs::exists(work));
}

TEST_F(Staging, AFailedRegistryWriteStopsWithTheError) {
  WriteFile(source.path() / "a.htm", "A");
  host.ticked = {"a.htm"};
  fs::create_directory(work / "fillist.ini");  // a folder where the registry should go
  try {
    build.button2Click(host, work.string());
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + (work / "fillist.ini").string());
  }
}

}  // namespace
