// pagefold-rc as a program: its .res files against llvm-rc's, its paths, its
// errors and what it leaves on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/find_files.h"
#include "core/rc_script_writer.h"
#include "platform/folder_handle.h"
#include "platform/platform_error.h"
#include "platform/process.h"
#include "resformat/compile_handover.h"
#include "resformat/res_reader.h"
#include "test_support.h"

namespace {

using testing_support::OsPath;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::Utf8Path;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;

const char kLlvmRc[] = "/usr/bin/llvm-rc-14";

#ifdef _WIN32
// The system's own texts, which differ between Windows and Wine.
const std::string kPathNotFound = pagefold::platform::SystemErrorText(3);  // ERROR_PATH_NOT_FOUND
const std::string kFileNotFound = pagefold::platform::SystemErrorText(2);  // ERROR_FILE_NOT_FOUND
const std::string kIsAFolder = pagefold::platform::SystemErrorText(5);     // ERROR_ACCESS_DENIED
#else
const std::string kPathNotFound = "No such file or directory";
const std::string kFileNotFound = "No such file or directory";
const std::string kIsAFolder = "Is a directory";
#endif

struct Outcome {
  int exitCode = -1;
  std::string output;
};

// Runs a program with its arguments given as one text each (no shell).
Outcome RunProgram(const std::string& program, const std::string& argument) {
  pagefold::platform::Process process;
  if (!process.Start(program, argument)) return {};
  while (process.Wait(1000) == pagefold::platform::Process::State::Running) {
  }
  return {process.ExitCode(), process.Output()};
}

Outcome Rc(const fs::path& script) { return RunProgram(PAGEFOLD_RC, script.string()); }

// llvm-rc's .res for the script. It takes several arguments, which a tiny
// shell script hands over.
std::string LlvmRc(const fs::path& script) {
  const fs::path runner = script.parent_path() / "llvm.sh";
  const fs::path out = script.parent_path() / "llvm.res";
  WriteFile(runner, std::string("exec ") + kLlvmRc + " -no-preprocess -fo '" + out.string() + "' '" +
                        script.string() + "'\n");
  fs::remove(out);
  const Outcome outcome = RunProgram("/bin/sh", runner.string());
  EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
  return ReadFile(out);
}

// A folder with files of the sizes that padding cares about.
void WriteSampleFiles(const fs::path& dir) {
  WriteFile(dir / "empty.txt", "");
  WriteFile(dir / "one.txt", "1");
  WriteFile(dir / "two.txt", "12");
  WriteFile(dir / "three.txt", "123");
  WriteFile(dir / "four.txt", "1234");
  WriteFile(dir / "dir with blanks" / "file one.txt", "blank\r\npath\n");
  std::string big(3 * 65536 + 5, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 256);
  WriteFile(dir / "big.bin", big);
  WriteFile(dir / "chunk.bin", big.substr(0, 65536));  // the reading buffer's size exactly
  WriteFile(dir / "chunk-1.bin", big.substr(1, 65535));
}

class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& dir) : saved_(fs::current_path()) { fs::current_path(dir); }
  ~CurrentFolder() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

TEST(PagefoldRc, WritesTheSameBytesAsLlvmRc) {
#ifdef _WIN32
  GTEST_SKIP() << "llvm-rc-14 is a Linux program: the Linux build compares with it";
#endif
  if (!fs::exists(kLlvmRc)) GTEST_SKIP() << kLlvmRc << " is not installed: the comparison with llvm-rc did not run";
  ScratchDir dir;
  WriteSampleFiles(dir.path());
  const CurrentFolder here(dir.path());  // unquoted relative names: llvm-rc looks in the current folder first
  const std::string d = dir.str() + "/";
  const std::vector<std::string> scripts = {
      "",
      "A B \"" + d + "one.txt\"\r\nAB CD \"" + d + "two.txt\"\r\nABC DEF \"" + d + "three.txt\"\r\n"
      "ABCD EFGH \"" + d + "four.txt\"\r\nABCDE FGHIJ \"" + d + "empty.txt\"\r\n"
      "SEARCH_FILE_NOMBER_12 JPEG \"" + d + "big.bin\"\r\nX_1 Y.Z \"" + d + "three.txt\"\r\n"
      "CHUNK BIN \"" + d + "chunk.bin\"\r\nCHUNK_1 BIN \"" + d + "chunk-1.bin\"\r\n",
      "// comment line\n\tlower\t\tcase   two.txt  // after\r\n/* block\n comment */ N T one.txt\n"
      "N2 T /* inline */ \"" + d + "dir with blanks/file one.txt\"\n\n",
      "A B one.txt\nLANGUAGE 0x19, 1\nC D two.txt\nLANGUAGE 7, 0x3f\nE F three.txt\nG H empty.txt",
  };
  for (const std::string& text : scripts) {
    WriteFile(dir.path() / "site.rc", text);
    const Outcome ours = Rc(dir.path() / "site.rc");
    EXPECT_EQ(ours.exitCode, 0) << ours.output;
    const std::string expected = LlvmRc(dir.path() / "site.rc");
    ASSERT_FALSE(expected.empty()) << text;
    EXPECT_TRUE(ReadFile(dir.path() / "site.res") == expected) << text;
  }

  // Scripts as the build writes them (types that are not keywords of llvm-rc).
  const fs::path arh = dir.path() / "ARH";
  WriteFile(arh / "search_file_nomber_1.htm", "<a href=\"../GIF/SEARCH_FILE_NOMBER_2\">");
  WriteFile(arh / "search_file_nomber_2.gif", "GIF89a");
  WriteFile(arh / "search_file_nomber_3.css", "");
  WriteFile(arh / "sub" / "search_file_nomber_4.jpeg", "jpg");
  pagefold::StringList files;
  pagefold::FindFiles(arh.string(), "", files, true);
  for (const std::string groupType : {"", "Мои файлы"}) {
    pagefold::WriteRcScript(W(groupType.c_str()), (dir.path() / "site.rc").string(), files);
    ASSERT_EQ(Rc(dir.path() / "site.rc").exitCode, 0);
    const std::string expected = LlvmRc(dir.path() / "site.rc");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(ReadFile(dir.path() / "site.res") == expected) << groupType;
  }
}

TEST(PagefoldRc, AWindows1251ScriptFindsTheUtf8NameOnDisk) {
  ScratchDir dir;
  WriteFile(dir.path() / Utf8Path("Мои файлы") / Utf8Path("страница.htm"), "<p>Привет</p>");
  WriteFile(dir.path() / "site.rc",
            "STRANICA HTM \"" + dir.str() + OsPath("/") + W("Мои файлы") + OsPath("/") + W("страница.htm") + "\"\r\n");
  const Outcome outcome = Rc(dir.path() / "site.rc");
  ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
  pagefold::FileResSource res;
  ASSERT_TRUE(res.Open((dir.path() / "site.res").string()));
  const pagefold::ResListing listing = pagefold::ListResources(res);
  EXPECT_EQ(listing.error, "");
  ASSERT_EQ(listing.entries.size(), 1u);
  EXPECT_EQ(listing.entries[0].name.text, u"STRANICA");
  EXPECT_EQ(pagefold::ReadResourceData(res, listing.entries[0]), "<p>Привет</p>");
}

TEST(PagefoldRc, TakesAScriptPathWithCyrillicLetters) {
  ScratchDir dir;
  const std::string folder = dir.str() + OsPath("/") + W("Мой сайт");
  WriteFile(dir.path() / Utf8Path("Мой сайт") / "a.htm", "page");
  WriteFile(dir.path() / Utf8Path("Мой сайт") / "site.rc", "A HTM \"" + folder + OsPath("/a.htm") + "\"\n");
  const Outcome outcome = RunProgram(PAGEFOLD_RC, folder + OsPath("/site.rc"));
  EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
  EXPECT_EQ(ReadFile(dir.path() / Utf8Path("Мой сайт") / "site.res").size(), 32u + 32u + 8u);
}

TEST(PagefoldRc, KeywordsAndDigitsStayStringTypesAndNames) {
  ScratchDir dir;
  WriteFile(dir.path() / "a.htm", "page");
  const std::string file = " \"" + dir.str() + "/a.htm\"\n";
  WriteFile(dir.path() / "site.rc", "INDEX HTML" + file + "1 RCDATA" + file + "icon ICON" + file + "2 23" + file);
  ASSERT_EQ(Rc(dir.path() / "site.rc").exitCode, 0);
  pagefold::FileResSource res;
  ASSERT_TRUE(res.Open((dir.path() / "site.res").string()));
  const pagefold::ResListing listing = pagefold::ListResources(res);
  EXPECT_EQ(listing.error, "");
  std::vector<std::string> seen;
  for (const pagefold::ResEntry& e : listing.entries) {
    EXPECT_FALSE(e.type.isOrdinal);
    EXPECT_FALSE(e.name.isOrdinal);
    EXPECT_EQ(e.memoryFlags, 0x30);
    EXPECT_EQ(e.language, 0x0409);
    EXPECT_EQ(pagefold::ReadResourceData(res, e), "page");  // an ICON is not parsed as an icon
    seen.push_back(*e.type.Cp1251() + "/" + *e.name.Cp1251());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"HTML/INDEX", "RCDATA/1", "ICON/ICON", "23/2"}));
}

TEST(PagefoldRc, ErrorsNameTheScriptAndLineAndLeaveNoResBehind) {
  ScratchDir dir;
  WriteFile(dir.path() / "ok.htm", "x");
  const fs::path script = dir.path() / "site.rc";
  const std::string ok = "OK HTM \"" + dir.str() + "/ok.htm\"\r\n";
  const std::string s = script.string();
  struct Case {
    std::string script;
    std::string error;
  };
  const std::vector<Case> cases = {
      {ok + ok + "A HTM \"" + dir.str() + "\\ARH\\a.htm\"\r\n",
       s + ":3: cannot open file \"" + dir.str() + OsPath("/ARH/a.htm") + "\": " + kPathNotFound + "\n"},
      {ok + "A HTM \"" + dir.str() + "\"\r\n", s + ":2: cannot open file \"" + dir.str() + "\": " + kIsAFolder + "\n"},
      {ok + "A HTM \"" + dir.str() + "/ok.htm\r\n", s + ":2: expected a closing quote, got end of line\n"},
      {ok + ok + ok + "\r\n\r\n\r\nA HTM\r\n", s + ":7: expected a file name, got end of line\n"},
      {ok + "A HTM ok.htm trailing\r\n", s + ":2: expected end of line, got \"trailing\"\n"},
  };
  for (const bool existing : {false, true}) {
    for (const Case& c : cases) {
      if (existing) WriteFile(dir.path() / "site.res", "an older result");
      WriteFile(script, c.script);
      const Outcome outcome = Rc(script);
      EXPECT_EQ(outcome.exitCode, 1);
      EXPECT_EQ(outcome.output, c.error);
      EXPECT_EQ(fs::exists(dir.path() / "site.res"), existing);
      if (existing) {
        EXPECT_EQ(ReadFile(dir.path() / "site.res"), "an older result");
      }
      EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), existing ? 3 : 2)
          << "a temporary file was left behind";
    }
    fs::remove(dir.path() / "site.res");
  }
  const Outcome missing = Rc(dir.path() / "none.rc");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.output, (dir.path() / "none.rc").string() + ": cannot open the script: " + kFileNotFound + "\n");
  WriteFile(dir.path() / "self.res", "");
  EXPECT_EQ(Rc(dir.path() / "self.res").output,
            (dir.path() / "self.res").string() + ": the script cannot be its own output\n");
}

// The reader takes headers of up to 1 MiB: "HTM" and a name of 524271
// letters fill one exactly, a letter more is refused before any .res is made.
TEST(PagefoldRc, RefusesANameAndTypeWhoseHeaderTheReaderWouldRefuse) {
  ScratchDir dir;
  WriteFile(dir.path() / "a.htm", "page");
  const std::string file = " HTM \"" + dir.str() + "/a.htm\"\n";
  const std::string longest(524271, 'N');
  WriteFile(dir.path() / "site.rc", longest + file);
  ASSERT_EQ(Rc(dir.path() / "site.rc").exitCode, 0);
  {
    // Closed before the removal, which Windows refuses for an open file.
    pagefold::FileResSource res;
    ASSERT_TRUE(res.Open((dir.path() / "site.res").string()));
    const pagefold::ResListing listing = pagefold::ListResources(res);
    EXPECT_EQ(listing.error, "");
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].dataOffset - listing.entries[0].headerOffset, 1048576u);
    EXPECT_EQ(pagefold::ReadResourceData(res, listing.entries[0]), "page");
  }
  fs::remove(dir.path() / "site.res");

  WriteFile(dir.path() / "site.rc", "A" + file + longest + "N" + file);
  const Outcome outcome = Rc(dir.path() / "site.rc");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.output, (dir.path() / "site.rc").string() +
                                ":2: the resource name and type are too long: their header takes 1048580 bytes, "
                                "at most 1048576\n");
  EXPECT_FALSE(fs::exists(dir.path() / "site.res"));
}

TEST(PagefoldRc, RefusesAFileTooLargeForAResource) {
  ScratchDir dir;
  {
    WriteFile(dir.path() / "huge.bin", "");
    fs::resize_file(dir.path() / "huge.bin", 0x100000000ull);  // sparse: takes no room on disk
  }
  WriteFile(dir.path() / "site.rc", "HUGE BIN \"" + dir.str() + "/huge.bin\"\n");
  const Outcome outcome = Rc(dir.path() / "site.rc");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.output, (dir.path() / "site.rc").string() + ":1: file \"" + dir.str() +
                                "/huge.bin\" is too large for a resource: 4294967296 bytes, at most 4294967295\n");
  EXPECT_FALSE(fs::exists(dir.path() / "site.res"));
}

#ifndef _WIN32
// Files of the kernel: /proc's tell a size of 0 and hold more, /sys's tell
// 4096 and hold less.
TEST(PagefoldRc, AFileThatReadsLongerOrShorterThanItsSizeIsRefused) {
  ScratchDir dir;
  for (const std::string file : {"/proc/self/status", "/sys/devices/system/cpu/online"}) {
    if (!fs::exists(file)) GTEST_SKIP() << file << " is missing here";
    WriteFile(dir.path() / "site.rc", "A B \"" + file + "\"\n");
    const Outcome outcome = Rc(dir.path() / "site.rc");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.output,
              (dir.path() / "site.rc").string() + ":1: file \"" + file + "\" changed its size while it was read\n");
    EXPECT_FALSE(fs::exists(dir.path() / "site.res"));
  }
}
#endif

TEST(PagefoldRc, OutputGoesBesideTheScriptUnderItsBaseName) {
  ScratchDir dir;
  WriteFile(dir.path() / "my.site" / "script", "");
  WriteFile(dir.path() / "a b" / "site.v2.rc", "");
  EXPECT_EQ(Rc(dir.path() / "my.site" / "script").exitCode, 0);
  EXPECT_EQ(ReadFile(dir.path() / "my.site" / "script.res").size(), 32u);
  EXPECT_EQ(Rc(dir.path() / "a b" / "site.v2.rc").exitCode, 0);
  EXPECT_EQ(ReadFile(dir.path() / "a b" / "site.v2.res").size(), 32u);
  EXPECT_EQ(RunProgram(PAGEFOLD_RC, "--version").output.rfind("pagefold-rc 1.", 0), 0u);
  EXPECT_EQ(RunProgram(PAGEFOLD_RC, "--help").exitCode, 0);
}

#ifndef _WIN32
// Started by a build: the script's digest in the environment and the work
// folder handed over. Anything else than that script and files right inside
// that folder is refused with an exit code of its own, the .res kept. What it
// packed it removes from the folder, and nothing else.
TEST(PagefoldRc, StartedByABuildItPacksOnlyTheScriptItWasGivenFromTheHandedFolder) {
  ScratchDir dir;
  const fs::path work = dir.path() / "ARH", script = dir.path() / "site.rc", res = dir.path() / "site.res";
  WriteFile(work / "a.gif", "GIF-A");
  WriteFile(work / "b.gif", "GIF-B");
  WriteFile(dir.path() / "outside.gif", "OUTSIDE");
  fs::create_symlink(dir.path() / "outside.gif", work / "link.gif");
  pagefold::platform::FolderHandle folder;
  ASSERT_TRUE(folder.Open(work.string()));
  const auto compile = [&](const std::string& file, const std::string& digestOf, bool handFolder) {
    const std::string text = "A GIF \"" + file + "\"\r\n";
    WriteFile(script, text);
    WriteFile(res, "PREVIOUS RES");
    pagefold::platform::Process process;
    const pagefold::platform::Handover handover{{pagefold::resformat::ScriptDigestEntry(digestOf.empty() ? text : digestOf)},
                                      handFolder ? &folder : nullptr};
    if (!process.Start(PAGEFOLD_RC, script.string(), handover)) return Outcome{};
    while (process.Wait(1000) == pagefold::platform::Process::State::Running) {
    }
    return Outcome{process.ExitCode(), process.Output()};
  };

  Outcome outcome = compile((work / "a.gif").string(), "", true);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
  EXPECT_NE(ReadFile(res).find("GIF-A"), std::string::npos);
  EXPECT_FALSE(fs::exists(work / "a.gif"));
  EXPECT_EQ(ReadFile(work / "b.gif"), "GIF-B");
  WriteFile(work / "a.gif", "GIF-A");

  outcome = compile((work / "a.gif").string(), "another script", true);
  EXPECT_EQ(outcome.exitCode, 3);
  EXPECT_EQ(outcome.output, script.string() + ": the script is not the one the build wrote\n");
  EXPECT_EQ(ReadFile(res), "PREVIOUS RES");

  outcome = compile((work / "a.gif").string(), "", false);
  EXPECT_EQ(outcome.exitCode, 4);
  EXPECT_EQ(outcome.output, script.string() + ": the build handed over no work folder\n");
  EXPECT_EQ(ReadFile(res), "PREVIOUS RES");

  for (const fs::path& elsewhere : {dir.path() / "outside.gif", work / "sub" / "a.gif", work / ".." / "outside.gif",
                                    work.parent_path() / "ARH2" / "a.gif"}) {
    outcome = compile(elsewhere.string(), "", true);
    EXPECT_EQ(outcome.exitCode, 4);
    EXPECT_EQ(outcome.output, script.string() + ":1: file \"" + elsewhere.string() +
                                  "\" is not in the build's work folder \"" + work.string() + "\"\n");
    EXPECT_EQ(ReadFile(res), "PREVIOUS RES");
  }

  outcome = compile((work / "link.gif").string(), "", true);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.output, script.string() + ":1: cannot open file \"" + (work / "link.gif").string() +
                                "\": Too many levels of symbolic links\n");
  EXPECT_EQ(ReadFile(res), "PREVIOUS RES");
  EXPECT_EQ(ReadFile(dir.path() / "outside.gif"), "OUTSIDE");
  EXPECT_EQ(ReadFile(work / "a.gif"), "GIF-A");
  EXPECT_TRUE(fs::is_symlink(work / "link.gif"));

  // Started by hand, it removes nothing.
  WriteFile(script, "A GIF \"" + (work / "a.gif").string() + "\"\r\n");
  outcome = Rc(script);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
  EXPECT_EQ(ReadFile(work / "a.gif"), "GIF-A");
}
#endif

}  // namespace
