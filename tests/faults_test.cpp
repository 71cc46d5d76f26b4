// Builds under faults made on purpose: a full disk, a target folder that goes
// away while the compiler runs, a source file that grows while it is copied,
// a named pipe among the sources, and a compiler that hangs until the program
// is closed. Every build must say what went wrong, remove what it made, give
// the window back and leave the source as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <set>
#include <thread>

#include "core/build_cancelled.h"
#include "core/build_command.h"
#include "core/compiler_runner.h"
#include "core/size_text.h"
#include "platform/own_resources.h"
#include "recording_host.h"
#include "resformat/res_reader.h"
#include "test_support.h"

namespace {

using pagefold::BuildCancelled;
using pagefold::BuildCommand;
using pagefold::BuildOutcome;
using testing_support::ReadFile;
using testing_support::RecordingHost;
using testing_support::ScratchDir;
using testing_support::TreeFingerprint;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// The names in a folder, sorted.
std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

bool ProcessAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

// A tmpfs of the given size mounted on a scratch folder while it lives. Only
// root can mount; mounted() tells whether it worked.
class SmallDisk {
 public:
  explicit SmallDisk(const char* size) {
    if (::geteuid() == 0)
      mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
    if (!mounted_) why_ = ::geteuid() != 0 ? "not root" : std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }
  const fs::path& path() const { return dir_.path(); }

  // Fills the room that is left with a file of the test's own, but for about `keep` bytes.
  void FillAllBut(const fs::path& file, std::uintmax_t keep) const {
    struct statvfs st;
    ASSERT_EQ(::statvfs(dir_.path().c_str(), &st), 0);
    const std::uintmax_t room = static_cast<std::uintmax_t>(st.f_bavail) * st.f_frsize;
    ASSERT_GT(room, keep);
    WriteFile(file, std::string(room - keep, 'F'));
  }

  // Fills the room that is left with a file of the test's own.
  void Fill(const fs::path& file) const {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    const std::string block(4096, 'F');
    while (std::fwrite(block.data(), 1, block.size(), out) == block.size() && std::fflush(out) == 0) {
    }
    std::fclose(out);
  }

 private:
  ScratchDir dir_;
  bool mounted_ = false;
  std::string why_;
};

#define SKIP_WITHOUT(disk) \
  if (!(disk).mounted()) GTEST_SKIP() << "a full disk needs a small tmpfs, which only root can mount: " << (disk).why()

struct Faults : ::testing::Test {
  ScratchDir source, target, temp;
  RecordingHost host;
  BuildCommand build;
  pagefold::platform::ResourceBytes carried;
  std::string fakeCompiler;  // the bytes registered in place of pagefold-rc

  void SetUp() override {
    carried = *pagefold::platform::FindOwnResource("EXE", "BRCC32");
    WriteFile(source.path() / "index.htm", "<a href=\"sub/page.htm\">p</a><img src=\"img/a.gif\">");
    WriteFile(source.path() / "sub" / "page.htm", "<a href='../index.htm'>back</a>");
    WriteFile(source.path() / "img" / "a.gif", "GIF-A");
    host.sourceFolder = source.str();
    host.ticked = {"img\\a.gif", "index.htm", "sub\\page.htm"};
    host.startFile = "index.htm";
    UseTarget(target.path());
    build.CompilerPath = (temp.path() / "brcc32.exe").string();
  }

  void TearDown() override { pagefold::platform::RegisterOwnResource("EXE", "BRCC32", carried); }

  void UseTarget(const fs::path& folder) {
    host.resourceFile = (folder / "site.res").string();
    build.ResourceFolder = folder.string() + "/";
  }

  // A shell script that the build writes out and runs as its compiler.
  void CarryCompiler(const std::string& script) {
    fakeCompiler = "#!/bin/sh\n" + script;
    pagefold::platform::RegisterOwnResource("EXE", "BRCC32",
                                  {reinterpret_cast<const unsigned char*>(fakeCompiler.data()), fakeCompiler.size()});
  }

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
    EXPECT_EQ(host.panel[0], "");
    EXPECT_EQ(host.panel[1], "");
    EXPECT_EQ(host.progressPosition, 0);
    EXPECT_FALSE(fs::exists(build.CompilerPath));
  }
};

TEST_F(Faults, NoRoomForTheResFileIsReportedWithTheCompilersWords) {
  SmallDisk disk("1m");
  SKIP_WITHOUT(disk);
  WriteFile(source.path() / "img" / "a.gif", std::string(600 * 1024, 'G'));  // fits once, not twice
  const std::string before = TreeFingerprint(source.path());
  UseTarget(disk.path());

  EXPECT_EQ(build.Run(host), BuildOutcome::Failed);
  const std::string script = (disk.path() / "site.rc").string();
  EXPECT_EQ(host.Lines("message "),
            (Lines{"message Внимание | Не удалось собрать ресурсный файл!\n" + script + ": cannot write \"" +
                   (disk.path() / "site.res.tmp").string() + "\": No space left on device"}));
  EXPECT_EQ(Entries(disk.path()), (std::set<std::string>{"site.rc"}));
  ExpectWindowRestored();
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

// A copy that runs out of room is tried again under the bare name from the
// first byte, never from where the first one stopped (which packed the
// picture's last bytes as the picture): the file is whole or named.
TEST_F(Faults, NoRoomForAStagedCopyNamesTheFileAndPacksNoPartOfIt) {
  SmallDisk disk("2m");
  SKIP_WITHOUT(disk);
  std::string picture(1 << 20, 'P');
  picture.replace(picture.size() - 9, 9, "LAST-BYTES");
  WriteFile(source.path() / "img" / "a.gif", picture);
  UseTarget(disk.path());
  disk.FillAllBut(disk.path() / "filler.bin", 700 * 1024);  // room for two thirds of it

  EXPECT_EQ(build.Run(host), BuildOutcome::Built);
  EXPECT_EQ(host.Lines("message "), (Lines{"message Внимание | Сбор закончен !!!\nНе упакованы файлы: 1\n"
                                           "img\\a.gif: нет места на диске\n"
                                           "Ссылок без ресурса: 1\nindex.htm -> img/a.gif"}));
  const std::string res = ReadFile(disk.path() / "site.res");
  EXPECT_EQ(res.find("PPPPLAST-BYTES"), std::string::npos);
  EXPECT_EQ(res.find("PPPPPPPP"), std::string::npos);
  EXPECT_NE(res.find("<img src=\"img/a.gif\">"), std::string::npos);  // its link stays
  EXPECT_EQ(Entries(disk.path()), (std::set<std::string>{"filler.bin", "site.rc", "site.res"}));
  ExpectWindowRestored();
}

TEST_F(Faults, NoRoomForTheFileRegistryStopsTheBuildThere) {
  SmallDisk disk("1m");
  SKIP_WITHOUT(disk);
  const std::string before = TreeFingerprint(source.path());
  UseTarget(disk.path());
  disk.Fill(disk.path() / "filler.bin");
  const auto fillerSize = fs::file_size(disk.path() / "filler.bin");

  // Every copy fails for want of room and is passed over; the registry's count cannot be written.
  EXPECT_EQ(BuildError(), "Unable to write to " + (disk.path() / "ARH" / "fillist.ini").string());
  EXPECT_EQ(host.Lines("panel1 "), (Lines{"panel1 Копируются файлы...", "panel1 "}));
  EXPECT_EQ(Entries(disk.path()), (std::set<std::string>{"filler.bin"}));
  EXPECT_EQ(fs::file_size(disk.path() / "filler.bin"), fillerSize);
  ExpectWindowRestored();
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

TEST_F(Faults, NoRoomForARewrittenPageRaisesTheCreateError) {
  SmallDisk disk("1m");
  SKIP_WITHOUT(disk);
  // One block of 4096 bytes, which the rewrite makes longer.
  std::string page = "<a href=\"sub/page.htm\">p</a><img src=\"img/a.gif\">";
  WriteFile(source.path() / "index.htm", page + std::string(4096 - page.size(), ' '));
  const std::string before = TreeFingerprint(source.path());
  UseTarget(disk.path());
  host.onPump = [&] {
    if (host.panel[1] == W("Меняются ссылки...") && !fs::exists(disk.path() / "filler.bin"))
      disk.Fill(disk.path() / "filler.bin");
  };

  EXPECT_EQ(BuildError(), "Cannot create file \"" + (disk.path() / "ARH" / "search_file_nomber_2.htm").string() +
                              "\". No space left on device");
  EXPECT_EQ(Entries(disk.path()), (std::set<std::string>{"filler.bin"}));
  ExpectWindowRestored();
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

TEST_F(Faults, ATargetFolderRemovedWhileTheCompilerRunsEndsWithTheFoldersError) {
  const fs::path go = temp.path() / "go";
  // The real compiler, once the test has taken the target folder away (or after 5 s).
  CarryCompiler("i=0; while [ ! -e '" + go.string() + "' ] && [ $i -lt 500 ]; do sleep 0.01; i=$((i+1)); done\n"
                "exec '" PAGEFOLD_RC "' \"$1\"\n");
  const std::string before = TreeFingerprint(source.path());
  host.onPump = [&] {
    if (host.panel[1] != W("ВНИМАНИЕ!!! Собирается ресурсный файл...") || fs::exists(go)) return;
    fs::remove_all(target.path());
    WriteFile(go, "");
  };

  // The work folder went with the target folder, so removing it finds no path (code 3).
  EXPECT_EQ(BuildError(), "Invalid filename");
  EXPECT_TRUE(fs::exists(go));
  EXPECT_FALSE(fs::exists(target.path()));
  EXPECT_EQ(host.Lines("message "), Lines{});
  ExpectWindowRestored();
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

TEST_F(Faults, ASourceFileThatGrowsWhileItIsStagedIsPackedAsItWasWhenItsCopyBegan) {
  const fs::path picture = source.path() / "img" / "a.gif";
  const size_t initial = 8 << 20;
  WriteFile(picture, std::string(initial, 'A'));
  // Another program appends to the picture as fast as it can, from the first
  // event of staging until staging is over and it has appended once more
  // (at most 128 MiB): faster than a copy that reads to the end could follow.
  std::atomic<bool> stop{false};
  std::atomic<int> appended{0};
  std::thread grower;
  host.onPump = [&] {
    if (!grower.joinable())
      grower = std::thread([&] {
        std::ofstream out(picture, std::ios::binary | std::ios::app);
        const std::string chunk(1 << 16, 'B');
        for (; appended < 2048 && !stop; ++appended) out.write(chunk.data(), chunk.size()).flush();
      });
    if (host.panel[1] != W("Меняются ссылки...") || stop) return;
    const int seen = appended;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (appended == seen && appended < 2048 && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stop = true;
  };
  const auto start = Clock::now();
  const BuildOutcome outcome = build.Run(host);
  const auto took = Clock::now() - start;
  stop = true;
  grower.join();

  ASSERT_EQ(outcome, BuildOutcome::Built);
  EXPECT_LT(took, std::chrono::seconds(15));
  pagefold::FileResSource res;
  ASSERT_TRUE(res.Open(host.resourceFile));
  std::string packed, fileList;
  for (const pagefold::ResEntry& entry : pagefold::ListResources(res).entries) {
    if (*entry.name.Cp1251() == "SEARCH_FILE_NOMBER_1") packed = *pagefold::ReadResourceData(res, entry);
    if (*entry.name.Cp1251() == "FILELIST") fileList = *pagefold::ReadResourceData(res, entry);
  }
  const std::string now = ReadFile(picture);
  EXPECT_GE(packed.size(), initial);
  EXPECT_LT(packed.size(), now.size()) << "the copy followed the file as it grew";
  EXPECT_EQ(now.compare(0, packed.size(), packed), 0) << "the packed bytes are not the file's first bytes";
  EXPECT_NE(fileList.find(">img\\a.gif</a></td><td><a>" +
                          pagefold::SizeToText(std::to_string(packed.size())) + "</td>"),
            std::string::npos)
      << "the file list shows another size than the packed one";
}

TEST_F(Faults, ANamedPipeAmongTheSourcesIsPassedOverWithoutWaitingForAWriter) {
  ASSERT_EQ(::mkfifo((source.path() / "img" / "pipe.gif").c_str(), 0644), 0);
  host.ticked = {"img\\a.gif", "img\\pipe.gif", "index.htm", "sub\\page.htm"};
  // Should the build wait for a writer after all, one comes after 20 s, so
  // that the test fails instead of hanging.
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < 2000 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int fd = ::open((source.path() / "img" / "pipe.gif").c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  });
  const auto start = Clock::now();
  const BuildOutcome outcome = build.Run(host);
  const auto took = Clock::now() - start;
  done = true;
  writer.join();
  ASSERT_EQ(outcome, BuildOutcome::Built);
  // A build of four small files takes well under a second; the margin is for
  // a machine loaded with sanitizers.
  EXPECT_LT(took, std::chrono::seconds(15)) << "the build waited for a writer of the pipe";
  // The pipe got no number: the pages are 2 and 3.
  const std::string work = (target.path() / "ARH").string() + "/";
  EXPECT_EQ(ReadFile(target.path() / "site.rc"),
            "FILELIST HTML \"" + work + "filelist.html\"\r\nINDEX HTML \"" + work + "index.html\"\r\n"
            "SEARCH_FILE_NOMBER_1 GIF \"" + work + "search_file_nomber_1.gif\"\r\n"
            "SEARCH_FILE_NOMBER_2 HTM \"" + work + "search_file_nomber_2.htm\"\r\n"
            "SEARCH_FILE_NOMBER_3 HTM \"" + work + "search_file_nomber_3.htm\"\r\n");
  const Lines counters = host.Lines("panel0 ");
  ASSERT_GE(counters.size(), 4u);
  EXPECT_EQ(Lines(counters.begin(), counters.begin() + 4),
            (Lines{"panel0 1\\4", "panel0 2\\4", "panel0 3\\4", "panel0 0\\0"}));
}

// A program that hangs: "sh SCRIPT" writes its process number and sleeps.
struct Hanging {
  ScratchDir dir;
  fs::path pidFile = dir.path() / "pid";
  std::string Script() const { return "echo $$ > '" + pidFile.string() + "'\nexec sleep 600\n"; }
  pid_t Pid() const { return static_cast<pid_t>(std::stol(ReadFile(pidFile))); }
};

TEST(RunAndWaitOnAHangingProgram, KeepsPumpingUntilTheProgramClosesThenEndsTheChild) {
  Hanging hanging;
  WriteFile(hanging.dir.path() / "hang.sh", hanging.Script());
  RecordingHost host;
  std::vector<Clock::time_point> pumps;
  host.onPump = [&] {
    pumps.push_back(Clock::now());
    if (pumps.size() == 20) host.closing = true;
    if (pumps.size() == 200) ::kill(hanging.Pid(), SIGKILL);  // fail, do not hang
  };
  const auto start = Clock::now();
  try {
    pagefold::RunAndWait(host, "/bin/sh", (hanging.dir.path() / "hang.sh").string());
    FAIL() << "the wait ended without BuildCancelled";
  } catch (const BuildCancelled& e) {
    EXPECT_EQ(std::string(e.what()), W("Сборка прервана"));
  }
  const auto took = Clock::now() - start;
  ASSERT_EQ(pumps.size(), 20u);
  EXPECT_EQ(host.Lines("pumpall").size(), 20u);
  // 50 ms steps: 20 pumps in about a second, never sooner. A wait that
  // stopped pumping would show one gap as long as the 600 s sleep; the bounds
  // leave a loaded machine twenty times the step.
  EXPECT_GE(took, std::chrono::milliseconds(19 * 50));
  EXPECT_LT(took, std::chrono::seconds(20));
  for (size_t i = 1; i < pumps.size(); ++i)
    EXPECT_LT(pumps[i] - pumps[i - 1], std::chrono::seconds(1)) << "pump " << i;
  ASSERT_TRUE(fs::exists(hanging.pidFile));
  EXPECT_FALSE(ProcessAlive(hanging.Pid())) << "the hanging program was left running";
}

TEST_F(Faults, ClosingTheProgramDuringAHangingCompileEndsTheBuildAndRemovesWhatItMade) {
  Hanging hanging;
  CarryCompiler(hanging.Script());
  const std::string before = TreeFingerprint(source.path());
  int compilePumps = 0;
  host.onPump = [&] {
    if (host.panel[1] != W("ВНИМАНИЕ!!! Собирается ресурсный файл...")) return;
    if (++compilePumps == 10) host.closing = true;
    if (compilePumps == 200) ::kill(hanging.Pid(), SIGKILL);  // fail, do not hang
  };
  EXPECT_EQ(BuildError(), W("Сборка прервана"));
  EXPECT_EQ(compilePumps, 10);
  ASSERT_TRUE(fs::exists(hanging.pidFile));
  EXPECT_FALSE(ProcessAlive(hanging.Pid())) << "the compiler was left running";
  EXPECT_EQ(host.Lines("message "), Lines{});
  EXPECT_EQ(Entries(target.path()), (std::set<std::string>{"site.rc"}));
  ExpectWindowRestored();
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

TEST_F(Faults, ClosingTheProgramDuringStagingEndsTheBuildBeforeTheNextCopy) {
  host.onPump = [&] {
    if (host.panel[0] == "1\\3") host.closing = true;
  };
  EXPECT_EQ(BuildError(), W("Сборка прервана"));
  EXPECT_EQ(host.Lines("panel0 "), (Lines{"panel0 1\\3", "panel0 "}));
  EXPECT_TRUE(fs::is_empty(target.path()));
  ExpectWindowRestored();
}

// The pages are rewritten on every core, but the window's events still come
// between two pages: a close ends the build before the next page counts.
TEST_F(Faults, ClosingTheProgramDuringTheRewritingEndsTheBuildAtTheNextPage) {
  host.onPump = [&] {
    if (host.panel[1] == W("Меняются ссылки...") && host.panel[0] == "2\\3") host.closing = true;
  };
  EXPECT_EQ(BuildError(), W("Сборка прервана"));
  const Lines counters = host.Lines("panel0 ");
  EXPECT_EQ(std::count(counters.begin(), counters.end(), "panel0 3\\3"), 1) << "only staging's";
  EXPECT_EQ(Lines(counters.end() - 2, counters.end()), (Lines{"panel0 2\\3", "panel0 "}));
  EXPECT_TRUE(fs::is_empty(target.path()));
  ExpectWindowRestored();
}

}  // namespace
