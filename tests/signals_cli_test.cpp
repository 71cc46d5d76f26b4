// pagefold-cli and the compiler it runs, seen from outside: an output pipe
// whose reader has gone, Ctrl+C to the terminal's process group in the middle
// of a compile, a compiler name taken in the shared temporary folder, a
// temporary folder that runs no programs, and descriptors that must not reach
// the compiler.
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <thread>

#include "cli_command.h"
#include "test_support.h"


namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using testing_support::kNobody;
using testing_support::kSetpriv;

struct Launch {
  bool unprivileged = false;  // as root: run as user 65534
  int output = -1;            // stdout and stderr go here; -1: the error file
  int extra = -1;             // opened as descriptor 7 in the program when set
};

struct CliSignals : ::testing::Test {
  ScratchDir source, target, temp, logs;

  void SetUp() override {
    WriteFile(source.path() / "index.htm", "<img src=\"logo.gif\">");
    WriteFile(source.path() / "logo.gif", "GIF-L");
  }

  fs::path Res() const { return target.path() / "site.res"; }
  fs::path ErrFile() const { return logs.path() / "stderr.txt"; }

  std::vector<std::string> Pack() const { return {"--start", "index.htm", source.str(), Res().string()}; }

  static void GiveAway(const fs::path& path) { ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0); }

  // Starts pagefold-cli in a process group of its own, as a terminal starts
  // a command, with TMPDIR in the scratch folder.
  pid_t Start(const Launch& launch) {
    testing_support::CliCommand command(launch.unprivileged, Pack(), temp.str());
    const std::string err = ErrFile().string();
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setpgid(0, 0);
      int out = launch.output;
      if (out < 0) out = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0) ::_exit(126);
      if (launch.extra >= 0 && ::dup2(launch.extra, 7) < 0) ::_exit(126);
      command.Exec();
    }
    ::setpgid(pid, pid);
    return pid;
  }

  // Waits for the program (at most two minutes, then its group is killed);
  // its exit status, -1 when a signal ended it.
  static int Finish(pid_t pid) {
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::minutes(2);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        ::kill(-pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "pagefold-cli did not end within two minutes";
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  int Run(const Launch& launch) { return Finish(Start(launch)); }

  // Pictures large enough that the compiler takes a while to write them.
  void BigFiles() {
    const std::string big(48 << 20, 'x');
    std::string page;
    for (int i = 0; i < 4; ++i) {
      WriteFile(source.path() / ("big" + std::to_string(i) + ".gif"), big);
      page += "<img src=\"big" + std::to_string(i) + ".gif\">";
    }
    WriteFile(source.path() / "index.htm", page);
  }

  // Waits until the compiler writes its output: its temporary file stands
  // beside the target. False when the program ended first or took over a
  // minute, which then ends.
  bool WaitForCompiler(pid_t pid) {
    const fs::path temporary = target.path() / "site.res.tmp";
    const auto deadline = Clock::now() + std::chrono::minutes(1);
    while (!fs::exists(temporary)) {
      int status;
      if (::waitpid(pid, &status, WNOHANG) == pid) return false;
      if (Clock::now() > deadline) {
        ::kill(-pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return false;
      }
    }
    return true;
  }

  static std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
  }

  void ExpectBuiltAndTidy() {
    EXPECT_TRUE(fs::exists(Res())) << ReadFile(ErrFile());
    EXPECT_EQ(Names(target.path()), (std::set<std::string>{"site.rc", "site.res"}));
    EXPECT_TRUE(fs::is_empty(temp.path()));
  }
};

TEST_F(CliSignals, OutputToAPipeWhoseReaderHasGoneStillBuilds) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ::close(fds[0]);  // as "| head -n1" once it has its line: every write fails
  const pid_t pid = Start({.output = fds[1]});
  ::close(fds[1]);
  EXPECT_EQ(Finish(pid), 0);
  ExpectBuiltAndTidy();
}

TEST_F(CliSignals, CtrlCDuringTheCompileKeepsThePreviousResAndLeavesNothing) {
  BigFiles();
  WriteFile(Res(), "PREVIOUS RES");
  const pid_t pid = Start({});
  ASSERT_TRUE(WaitForCompiler(pid)) << ReadFile(ErrFile());
  ASSERT_EQ(::kill(-pid, SIGINT), 0);  // the terminal's Ctrl+C reaches the whole group
  EXPECT_EQ(Finish(pid), 1);
  const std::string err = ReadFile(ErrFile());
  EXPECT_TRUE(err.ends_with("ВНИМАНИЕ!!! Собирается ресурсный файл...\nСборка прервана\n")) << err;
  EXPECT_EQ(ReadFile(Res()), "PREVIOUS RES");
  EXPECT_EQ(Names(target.path()), (std::set<std::string>{"site.rc", "site.res"}));
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

// The processes whose program lies below the folder.
std::vector<pid_t> ProgramsBelow(const fs::path& folder) {
  std::vector<pid_t> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    const fs::path program = fs::read_symlink(entry.path() / "exe", error);
    if (!error && program.string().rfind(folder.string() + "/", 0) == 0) found.push_back(std::stoi(name));
  }
  return found;
}

TEST_F(CliSignals, AKilledPackerTakesItsCompilerWithItAndNoResAppearsLater) {
  BigFiles();
  WriteFile(Res(), "PREVIOUS RES");
  const pid_t pid = Start({});
  ASSERT_TRUE(WaitForCompiler(pid)) << ReadFile(ErrFile());
  ASSERT_EQ(ProgramsBelow(temp.path()).size(), 1u);
  ASSERT_EQ(::kill(pid, SIGKILL), 0);  // the packer alone, not its compiler's group
  EXPECT_EQ(Finish(pid), -1);
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!ProgramsBelow(temp.path()).empty() && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(ProgramsBelow(temp.path()).empty());
  // Long enough for the compiler to have written 192 MiB, had it gone on.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_TRUE(ReadFile(Res()) == "PREVIOUS RES") << fs::file_size(Res()) << " bytes";
  // The compiler removed its unfinished output as it ended; the packer's
  // own work folder stays, as nothing was left to remove it.
  EXPECT_EQ(Names(target.path()), (std::set<std::string>{"ARH", "site.rc", "site.res"}));
}

// Two accounts in one group: the victim builds into a folder the group may
// write; the other account replaces site.rc while the compiler starts, with a
// script that names the victim's private key. Nothing of it is packed.
TEST_F(CliSignals, AnotherAccountReplacingTheScriptInASharedFolderGetsNothingPacked) {
  if (::geteuid() != 0 || !fs::exists(kSetpriv)) GTEST_SKIP() << "two accounts need root and setpriv";
  constexpr uid_t kOther = kNobody - 1;
  ScratchDir home, hold;
  const fs::path key = home.path() / "id_key";
  WriteFile(key, "PRIVATE KEY");
  for (const fs::path& path : {home.path(), key, target.path(), temp.path(), hold.path()}) GiveAway(path);
  ::chmod(home.path().c_str(), 0700);
  ::chmod(key.c_str(), 0600);
  ::chmod(target.path().c_str(), 0775);  // the group's shared project folder
  WriteFile(Res(), "PREVIOUS RES");
  GiveAway(Res());
  ::setenv("PAGEFOLD_RC_TEST_HOLD", hold.str().c_str(), 1);
  const pid_t pid = Start({.unprivileged = true});
  ::unsetenv("PAGEFOLD_RC_TEST_HOLD");
  const auto deadline = Clock::now() + std::chrono::minutes(1);
  while (!fs::exists(hold.path() / "started") && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(fs::exists(hold.path() / "started")) << ReadFile(ErrFile());

  const std::string rogue = "KEY TXT \"" + key.string() + "\"\r\n";
  const std::string planted = (target.path() / "rogue.rc").string(), script = (target.path() / "site.rc").string();
  const pid_t other = ::fork();
  if (other == 0) {
    const gid_t group = kNobody;
    if (::setgroups(1, &group) != 0 || ::setgid(kNobody) != 0 || ::setuid(kOther) != 0) ::_exit(2);
    const int fd = ::open(planted.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    const bool written = fd >= 0 && ::write(fd, rogue.data(), rogue.size()) == static_cast<ssize_t>(rogue.size());
    ::_exit(written && ::close(fd) == 0 && ::rename(planted.c_str(), script.c_str()) == 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(other, &status, 0), other);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  WriteFile(hold.path() / "go", "");

  EXPECT_EQ(Finish(pid), 1);
  const std::string err = ReadFile(ErrFile());
  EXPECT_TRUE(err.ends_with("Удаляются временные файлы...\nСценарий \"" + script + "\" подменён, ресурсный файл не заменён!\n"))
      << err;
  EXPECT_EQ(ReadFile(Res()), "PREVIOUS RES");
  EXPECT_EQ(ReadFile(script), rogue);
  EXPECT_EQ(Names(target.path()), (std::set<std::string>{"site.rc", "site.res"}));
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST_F(CliSignals, ACompilerNameTakenInTheTemporaryFolderIsLeftAloneAndTheBuildWorks) {
  const bool asRoot = ::geteuid() == 0;
  if (asRoot && !fs::exists(kSetpriv)) GTEST_SKIP() << "as root this needs setpriv to drop its rights";
  if (asRoot) {
    GiveAway(target.path());
    GiveAway(temp.path());
    ::chmod(temp.path().c_str(), 01777);  // shared, as /tmp is
  }
  const fs::path squatted = temp.path() / "brcc32.exe";
  for (const bool dangling : {false, true}) {
    SCOPED_TRACE(dangling ? "a dangling link" : "a file");
    if (dangling) fs::create_symlink(temp.path() / "nowhere", squatted);
    else WriteFile(squatted, "NOT THE COMPILER");
    const std::string before = ReadFile(squatted);
    fs::remove(Res());
    fs::remove(target.path() / "site.rc");

    EXPECT_EQ(Run({.unprivileged = true}), 0) << ReadFile(ErrFile());
    EXPECT_TRUE(fs::exists(Res()));
    EXPECT_EQ(Names(target.path()), (std::set<std::string>{"site.rc", "site.res"}));
    EXPECT_EQ(Names(temp.path()), std::set<std::string>{"brcc32.exe"});
    if (dangling) {
      EXPECT_EQ(fs::read_symlink(squatted), temp.path() / "nowhere");
      EXPECT_FALSE(fs::exists(temp.path() / "nowhere"));
    } else {
      EXPECT_EQ(ReadFile(squatted), before);
    }
    fs::remove(squatted);
  }
}

TEST_F(CliSignals, ATemporaryFolderThatRunsNoProgramsFallsBackToTheTargetsFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a noexec tmpfs needs root";
  if (::mount("tmpfs", temp.path().c_str(), "tmpfs", MS_NOEXEC | MS_NOSUID | MS_NODEV, "size=16m") != 0)
    GTEST_SKIP() << "cannot mount a noexec tmpfs here: " << std::strerror(errno);
  const int code = Run({});
  const std::string err = ReadFile(ErrFile());
  const bool empty = fs::is_empty(temp.path());
  ::umount(temp.path().c_str());
  EXPECT_EQ(code, 0) << err;
  EXPECT_TRUE(empty) << "left in the temporary folder";
  EXPECT_TRUE(fs::exists(Res()));
  EXPECT_EQ(Names(target.path()), (std::set<std::string>{"site.rc", "site.res"}));
}

// The processes whose parent is the given one.
std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  DIR* proc = ::opendir("/proc");
  if (!proc) return children;
  while (const dirent* entry = ::readdir(proc)) {
    const pid_t pid = std::atoi(entry->d_name);
    if (pid <= 0) continue;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) continue;
    char state;
    int ppid = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent)
      children.push_back(pid);
  }
  ::closedir(proc);
  return children;
}

// What the process's descriptors refer to.
std::set<std::string> OpenFiles(pid_t pid) {
  std::set<std::string> files;
  const fs::path folder = "/proc/" + std::to_string(pid) + "/fd";
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const fs::path link = fs::read_symlink(entry.path(), error);
    if (!error) files.insert(link.string());
  }
  return files;
}

TEST_F(CliSignals, ADescriptorThatThePackerInheritedDoesNotReachTheCompiler) {
  BigFiles();
  const fs::path marker = logs.path() / "marker.txt";
  WriteFile(marker, "m");
  const int extra = ::open(marker.c_str(), O_RDONLY);  // inheritable: no O_CLOEXEC
  ASSERT_GE(extra, 0);
  const pid_t pid = Start({.extra = extra});
  ::close(extra);
  ASSERT_TRUE(WaitForCompiler(pid)) << ReadFile(ErrFile());
  const std::vector<pid_t> children = ChildrenOf(pid);
  ASSERT_EQ(children.size(), 1u);
  // Held still while its descriptors are read.
  ::kill(children[0], SIGSTOP);
  const std::set<std::string> packer = OpenFiles(pid);
  const std::set<std::string> compiler = OpenFiles(children[0]);
  ::kill(children[0], SIGCONT);
  EXPECT_EQ(Finish(pid), 0) << ReadFile(ErrFile());
  EXPECT_TRUE(packer.contains(marker.string())) << "the packer itself holds it";
  EXPECT_FALSE(compiler.empty());
  EXPECT_FALSE(compiler.contains(marker.string()));
  ExpectBuiltAndTidy();
}

}  // namespace
