#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using pagefold::platform::IniFile;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

TEST(IniFile, WritesReachTheFileAtOnceAndReadBackByteForByte) {
  ScratchDir dir;
  const std::string path = (dir.path() / "fillist.ini").string();
  IniFile ini(path);
  const std::string tricky = "  img\\\xCC\xEE\xE8 \xF4\xEE\xF2\xEE.jpg  ";  // blanks, Cyrillic
  ini.WriteString("data", "search_file_nomber_1", tricky);
  EXPECT_EQ(ReadFile(path), "[data]\r\nsearch_file_nomber_1=" + tricky + "\r\n");
  ini.WriteString("data", "search_file_nomber_2", "\"quoted\"=x;y");
  ini.WriteString("data", "count", "2");
  EXPECT_EQ(ReadFile(path),
            "[data]\r\nsearch_file_nomber_1=" + tricky +
                "\r\nsearch_file_nomber_2=\"quoted\"=x;y\r\ncount=2\r\n");

  const IniFile reread(path);
  EXPECT_EQ(reread.ReadString("data", "search_file_nomber_1", "?"), tricky);
  EXPECT_EQ(reread.ReadString("DATA", "Search_File_Nomber_2", "?"), "\"quoted\"=x;y");
  EXPECT_EQ(reread.ReadInteger("data", "count", 0), 2);
  EXPECT_EQ(reread.ReadString("data", "search_file_nomber_3", "none"), "none");
  EXPECT_EQ(reread.ReadString("other", "count", "none"), "none");
}

TEST(IniFile, ChangesAndNewSectionsKeepEveryKey) {
  ScratchDir dir;
  const std::string path = (dir.path() / "a.ini").string();
  IniFile ini(path);
  ini.WriteString("one", "a", "1");
  ini.WriteString("two", "b", "2");
  ini.WriteString("one", "c", "3");  // not the last section: rewritten
  ini.WriteString("ONE", "A", "9");  // same key, other case: changed in place
  EXPECT_EQ(ReadFile(path), "[one]\r\na=9\r\nc=3\r\n[two]\r\nb=2\r\n");
}

TEST(IniFile, IntegersAndMissingFilesFallBackToTheDefault) {
  ScratchDir dir;
  WriteFile(dir.path() / "x.ini", "[data]\nn1= 42\nn2=4x\nn3=\nn4=-7\nn5=99999999999\nn6=+5");
  const IniFile ini((dir.path() / "x.ini").string());
  EXPECT_EQ(ini.ReadInteger("data", "n1", 0), 42);
  EXPECT_EQ(ini.ReadInteger("data", "n2", 0), 0);
  EXPECT_EQ(ini.ReadInteger("data", "n3", -1), -1);
  EXPECT_EQ(ini.ReadInteger("data", "n4", 0), -7);
  EXPECT_EQ(ini.ReadInteger("data", "n5", 0), 0);
  EXPECT_EQ(ini.ReadInteger("data", "n6", 0), 5);
  EXPECT_EQ(ini.ReadInteger("data", "missing", 3), 3);
  const IniFile absent((dir.path() / "absent.ini").string());
  EXPECT_EQ(absent.ReadInteger("data", "count", 0), 0);
}

TEST(IniFile, GivenContentReadsAsTheFileWouldAndWritesGoToThePath) {
  ScratchDir dir;
  const std::string path = (dir.path() / "x.ini").string();
  WriteFile(path, "[data]\r\nfrom=disk\r\n");
  IniFile ini(path, "[Data]\r\ncount= 2 \r\nname=a\\b.htm\r\n[data]\r\nNAME=second");
  EXPECT_EQ(ini.ReadInteger("data", "count", 0), 2);
  EXPECT_EQ(ini.ReadString("DATA", "name", ""), "a\\b.htm");
  EXPECT_EQ(ini.ReadString("data", "from", "none"), "none");
  ini.WriteString("data", "k", "v");
  EXPECT_EQ(ReadFile(path), "[data]\r\nfrom=disk\r\n\r\nk=v\r\n");
}

// Keys are trimmed and found in any case, values are kept as written;
// comments, blank lines, lines without "=" and keys before any section count
// for nothing; a section's name runs to its "]" or to the end of the line.
TEST(IniFile, LinesAreReadByTheirKeysAndSections) {
  const IniFile ini("unused.ini",
                    "early=1\n"
                    "\t[Data]  \r\n"
                    "; note=2\n"
                    "\n"
                    "  Key One \t=  spaced value \r\n"
                    "no equals sign\r\n"
                    "=empty key\n"
                    "a=b=c\n"
                    "[open\n"
                    "x=in open\n"
                    "[data]\n"
                    "key one=second\n"
                    "last=\r");
  EXPECT_EQ(ini.ReadString("data", "KEY ONE", "none"), "  spaced value ");
  EXPECT_EQ(ini.ReadString("data", "a", "none"), "b=c");
  EXPECT_EQ(ini.ReadString("data", "", "none"), "empty key");
  EXPECT_EQ(ini.ReadString("data", "last", "none"), "");
  EXPECT_EQ(ini.ReadString("data", "; note", "none"), "none");
  EXPECT_EQ(ini.ReadString("data", "early", "none"), "none");
  EXPECT_EQ(ini.ReadString("data", "x", "none"), "none");
  EXPECT_EQ(ini.ReadString("OPEN", "x", "none"), "in open");
}

TEST(IniFile, AFileWithoutATrailingLineBreakGetsOneBeforeTheAppendedKey) {
  ScratchDir dir;
  WriteFile(dir.path() / "x.ini", "[data]\r\na=1");
  IniFile ini((dir.path() / "x.ini").string());
  ini.WriteString("data", "b", "2");
  EXPECT_EQ(ReadFile(dir.path() / "x.ini"), "[data]\r\na=1\r\nb=2\r\n");
}

TEST(IniFile, FailedWritesRaiseUnableToWrite) {
  ScratchDir dir;
  const std::string path = (dir.path() / "missing" / "fillist.ini").string();
  IniFile ini(path);
  try {
    ini.WriteString("data", "count", "0");
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  IniFile ok((dir.path() / "ok.ini").string());
  EXPECT_THROW(ok.WriteString("data", "k", "line\r\nbreak=1"), pagefold::platform::PlatformError);
}

TEST(IniFile, ANewKeyCostsTheSameInALargeFileAsInASmallOne) {
  if (testing_support::UnderWine())
    GTEST_SKIP() << "opening a file under Wine costs more the longer a run goes: the ratio would measure Wine";
  ScratchDir dir;
  std::string large = "[data]\r\n";
  for (int i = 1; i <= 20000; ++i) large += "search_file_nomber_" + std::to_string(i) + "=x\r\n";
  // The time for 500 new keys after the given content; the best of three
  // runs, so that a pause of a loaded machine does not count.
  const auto timeFor = [&](const std::string& content) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
      const std::filesystem::path path = dir.path() / "t.ini";
      testing_support::WriteFile(path, content);
      IniFile ini(path.string());
      const auto start = std::chrono::steady_clock::now();
      for (int i = 1; i <= 500; ++i) ini.WriteString("data", "new_" + std::to_string(i), "x");
      best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
  };
  const double inSmall = timeFor("[data]\r\n"), inLarge = timeFor(large);
  // New keys are appended: a rewrite per key would write the 20,000 lines
  // each time, several times the cost of the key itself.
  EXPECT_LT(inLarge, inSmall * 2 + 0.05) << inSmall << " s vs " << inLarge << " s";
  const IniFile reread((dir.path() / "t.ini").string());
  EXPECT_EQ(reread.ReadString("data", "search_file_nomber_20000", ""), "x");
  EXPECT_EQ(reread.ReadString("data", "new_500", ""), "x");
}

}  // namespace
