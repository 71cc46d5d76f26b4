#include "core/compiler_runner.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <cstdlib>

#include "core/find_files.h"
#include "core/rc_script_writer.h"
#include "platform/own_resources.h"
#include "platform/platform_error.h"
#include "platform/short_path.h"
#include "recording_host.h"
#include "resformat/res_reader.h"
#include "test_support.h"

namespace {

using pagefold::ExtractResourceFile;
using pagefold::RunAndWait;
using pagefold::RunResult;
using testing_support::OsPath;
using testing_support::ReadFile;
using testing_support::RecordingHost;
using testing_support::ScratchDir;
using testing_support::Utf8Path;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;

std::string RaisedBy(const std::function<void()>& call) {
  try {
    call();
  } catch (const pagefold::platform::PlatformError& e) {
    return e.what();
  }
  return "";
}

#ifndef _WIN32
int ModeOf(const fs::path& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}
#endif

TEST(ExtractResourceFile, WritesTheCarriedCompilerOwnerOnlyAndExecutable) {
  ScratchDir dir;
  const fs::path target = dir.path() / "brcc32.exe";
  ASSERT_TRUE(ExtractResourceFile("EXE", "BRCC32", target.string()));
  const auto carried = pagefold::platform::FindOwnResource("exe", "brcc32");
  ASSERT_TRUE(carried);
  EXPECT_EQ(ReadFile(target), std::string(reinterpret_cast<const char*>(carried->data), carried->size));
#ifndef _WIN32
  EXPECT_EQ(ModeOf(target), 0700);  // on Windows the user's temporary folder keeps it to its owner
#endif
  RecordingHost host;
  const RunResult version = RunAndWait(host, target.string(), "--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output.rfind("pagefold-rc ", 0), 0u) << version.output;

  EXPECT_EQ(RaisedBy([&] { ExtractResourceFile("EXE", "NOPE", (dir.path() / "x").string()); }),
            "Resource NOPE not found");
  EXPECT_FALSE(fs::exists(dir.path() / "x"));
}

TEST(ExtractResourceFile, NeverOpensWhatAlreadyStandsThere) {
  ScratchDir dir;
  WriteFile(dir.path() / "taken.exe", "someone else's");
  EXPECT_FALSE(ExtractResourceFile("EXE", "BRCC32", (dir.path() / "taken.exe").string()));
  EXPECT_EQ(ReadFile(dir.path() / "taken.exe"), "someone else's");
#ifndef _WIN32  // MinGW's std::filesystem cannot make links
  WriteFile(dir.path() / "aim.txt", "aim");
  fs::create_symlink(dir.path() / "aim.txt", dir.path() / "link.exe");
  EXPECT_FALSE(ExtractResourceFile("EXE", "BRCC32", (dir.path() / "link.exe").string()));
  EXPECT_EQ(ReadFile(dir.path() / "aim.txt"), "aim");

  fs::create_symlink(dir.path() / "nowhere.exe", dir.path() / "dangling.exe");
  EXPECT_FALSE(ExtractResourceFile("EXE", "BRCC32", (dir.path() / "dangling.exe").string()));
  EXPECT_FALSE(fs::exists(dir.path() / "nowhere.exe"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.exe"));
#endif
}

TEST(ExtractResourceFile, RaisesTheSystemErrorWhenItCannotWrite) {
  ScratchDir dir;
#ifdef _WIN32
  EXPECT_EQ(RaisedBy([&] { ExtractResourceFile("EXE", "BRCC32", (dir.path() / "no" / "b.exe").string()); }),
            "System Error.  Code: 3.\n" + pagefold::platform::SystemErrorText(3));  // ERROR_PATH_NOT_FOUND
#else
  EXPECT_EQ(RaisedBy([&] { ExtractResourceFile("EXE", "BRCC32", (dir.path() / "no" / "b.exe").string()); }),
            "System Error.  Code: 2.\nNo such file or directory");

  // A file size limit makes the write itself fail half-way.
  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string error = RaisedBy([&] { ExtractResourceFile("EXE", "BRCC32", (dir.path() / "b.exe").string()); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(error, "System Error.  Code: 27.\nFile too large");
  EXPECT_FALSE(fs::exists(dir.path() / "b.exe")) << "a half-written compiler was left behind";
#endif
}

#ifdef _WIN32
TEST(GetTempDir, IsTheSystemsTemporaryFolderWithABackslash) {
  ScratchDir dir;
  const char* saved = std::getenv("TMP");
  const std::string savedValue = saved ? saved : "";
  _putenv_s("TMP", dir.str().c_str());  // GetTempPath takes TMP first
  EXPECT_EQ(pagefold::GetTempDir(), dir.str() + "\\");
  _putenv_s("TMP", (dir.str() + "\\").c_str());
  EXPECT_EQ(pagefold::GetTempDir(), dir.str() + "\\");
  _putenv_s("TMP", savedValue.c_str());
}
#else

TEST(GetTempDir, TakesTmpdirWhenItIsAFolder) {
  ScratchDir dir;
  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  ::setenv("TMPDIR", dir.str().c_str(), 1);
  EXPECT_EQ(pagefold::GetTempDir(), dir.str() + "/");
  ::setenv("TMPDIR", (dir.str() + "/").c_str(), 1);
  EXPECT_EQ(pagefold::GetTempDir(), dir.str() + "/");
  ::setenv("TMPDIR", (dir.str() + "/missing").c_str(), 1);
  EXPECT_EQ(pagefold::GetTempDir(), "/tmp/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(pagefold::GetTempDir(), "/tmp/");
  if (saved) ::setenv("TMPDIR", savedValue.c_str(), 1);
}

// Runs of /bin/sh; on Windows run_and_wait_win32_test.cpp runs a program of its own.
TEST(RunAndWait, PassesOneArgumentAndKeepsWhatTheProgramPrinted) {
  ScratchDir dir;
  // Blanks, quotes and a dollar in the path: no shell ever sees them.
  const fs::path script = dir.path() / "a b \"c\" $HOME" / "run.sh";
  WriteFile(script, "printf '%s|' \"$0\"; echo; echo to-stderr >&2; exit 3\n");
  RecordingHost host;
  const RunResult result = RunAndWait(host, "/bin/sh", script.string());
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.output, script.string() + "|\nto-stderr\n");
  EXPECT_TRUE(host.Lines("message").empty());

  // More than a pipe holds: the program must not block on its output.
  WriteFile(script, "head -c 200000 /dev/zero | tr '\\0' a\n");
  const RunResult big = RunAndWait(host, "/bin/sh", script.string());
  EXPECT_EQ(big.exitCode, 0);
  EXPECT_EQ(big.output, std::string(200000, 'a'));
}

TEST(RunAndWait, PumpsAllEventsWhileTheProgramRuns) {
  ScratchDir dir;
  WriteFile(dir.path() / "slow.sh", "sleep 0.4\n");
  RecordingHost host;
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = RunAndWait(host, "/bin/sh", (dir.path() / "slow.sh").string());
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_EQ(result.exitCode, 0);
  const size_t pumps = host.Lines("pumpall").size();
  EXPECT_EQ(host.log.size(), pumps) << "only the all-pending-events pump is used";
  // One pump per 50 ms step: about 8 for 400 ms. A loaded machine may make
  // the steps longer, never shorter: no more pumps than the time allows, and
  // at least one per 200 ms.
  EXPECT_GE(pumps, static_cast<size_t>(ms.count() / 200));
  EXPECT_GE(pumps, 2u);
  EXPECT_LE(pumps, static_cast<size_t>(ms.count() / 50 + 1));

  RecordingHost quick;
  EXPECT_EQ(RunAndWait(quick, "/bin/true", "").exitCode, 0);
  EXPECT_TRUE(quick.log.empty()) << "a program that ends at once ends the wait at the first poll";
}

TEST(RunAndWait, AFailedStartShowsTheSystemsText) {
  ScratchDir dir;
  RecordingHost host;
  const RunResult missing = RunAndWait(host, (dir.path() / "brcc32.exe").string(), "x.rc");
  EXPECT_FALSE(missing.started);
  WriteFile(dir.path() / "plain.exe", "not a program");
  const RunResult notExecutable = RunAndWait(host, (dir.path() / "plain.exe").string(), "x.rc");
  EXPECT_FALSE(notExecutable.started);
  EXPECT_EQ(host.log, (std::vector<std::string>{"message Pagefold | No such file or directory",
                                                "message Pagefold | Permission denied"}));
}

TEST(RunAndWait, EndsTheWaitWhenTheProcessCannotBeWaitedOn) {
  // With SIGCHLD ignored the system reaps the child itself: there is nothing to wait on.
  const auto oldHandler = ::signal(SIGCHLD, SIG_IGN);
  RecordingHost host;
  const RunResult result = RunAndWait(host, "/bin/sleep", "0.1");
  ::signal(SIGCHLD, oldHandler);
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exitCode, -1);
}
#endif

TEST(CompilerChain, ScriptCarriedCompilerRunAndTheResReadBack) {
  ScratchDir dir;
  // The program's paths are Windows-1251; on disk the folder is named in UTF-8.
  const fs::path site = dir.path() / Utf8Path("Мой сайт");
  const std::string siteFolder = dir.str() + OsPath("/") + W("Мой сайт");
  const fs::path arh = site / "ARH";
  WriteFile(arh / "filelist.html", "<html>list</html>");
  WriteFile(arh / "index.html", "<html>start</html>");
  WriteFile(arh / "search_file_nomber_1.htm", "<a href=\"../GIF/SEARCH_FILE_NOMBER_2\">");
  WriteFile(arh / "search_file_nomber_2.gif", "GIF89a");
  WriteFile(arh / "search_file_nomber_3", "no extension: not packed");
  pagefold::StringList files;
  pagefold::FindFiles(siteFolder + OsPath("/ARH"), "", files, true);
  const std::string script = siteFolder + OsPath("/site.rc");
  pagefold::WriteRcScript("", script, files);

  const std::string compiler = (dir.path() / "brcc32.exe").string();
  ASSERT_TRUE(ExtractResourceFile("EXE", "BRCC32", compiler));
  RecordingHost host;
  const RunResult result = RunAndWait(host, compiler, pagefold::platform::ShortPath(script));
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.output, "");

  pagefold::FileResSource res;
  ASSERT_TRUE(res.Open(siteFolder + OsPath("/site.res")));
  const pagefold::ResListing listing = pagefold::ListResources(res);
  EXPECT_EQ(listing.error, "");
  std::vector<std::string> seen;
  for (const pagefold::ResEntry& e : listing.entries)
    seen.push_back(*e.type.Cp1251() + "/" + *e.name.Cp1251() + " " + *pagefold::ReadResourceData(res, e));
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "HTML/FILELIST <html>list</html>",
                      "HTML/INDEX <html>start</html>",
                      "HTM/SEARCH_FILE_NOMBER_1 <a href=\"../GIF/SEARCH_FILE_NOMBER_2\">",
                      "GIF/SEARCH_FILE_NOMBER_2 GIF89a",
                  }));
}

}  // namespace
