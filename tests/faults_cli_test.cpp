// pagefold-cli under faults: files and folders it may not read, a target
// folder it may not write, and being killed or asked to stop in the middle of
// a build. Root reads and writes everything, so as root the program runs as
// the unprivileged user 65534 (setpriv) where rights matter.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "cli_command.h"
#include "test_support.h"


namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::TreeFingerprint;
using testing_support::WriteFile;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using testing_support::kNobody;
using testing_support::kSetpriv;

struct Result {
  int exitCode;     // -1 when a signal ended the program
  std::string err;  // UTF-8, as a terminal shows it
};

struct CliFaults : ::testing::Test {
  ScratchDir source, target, temp, logs;
  bool unprivileged = false;  // run the program as user 65534

  void SetUp() override {
    WriteFile(source.path() / "index.htm", "<a href=\"logo.gif\">l</a><img src=\"secret.gif\">"
                                           "<img src=\"private/inner.gif\">");
    WriteFile(source.path() / "logo.gif", "GIF-L");
  }

  // Lets user 65534 write the folder when the tests run as root.
  static void GiveAway(const fs::path& folder) {
    if (::geteuid() == 0) {
      ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    }
  }

  // Starts pagefold-cli with TMPDIR in a scratch folder and stderr in a file.
  pid_t Start(const std::vector<std::string>& args) {
    testing_support::CliCommand command(unprivileged, args, temp.str());
    const std::string err = ErrFile().string();
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 || ::dup2(fd, 2) < 0) ::_exit(126);
      command.Exec();
    }
    return pid;
  }

  // Waits for the program (at most a minute, then it is killed).
  Result Finish(pid_t pid) {
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "pagefold-cli did not end within a minute";
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(ErrFile())};
  }

  Result Run(const std::vector<std::string>& args) { return Finish(Start(args)); }

  std::vector<std::string> Pack() const {
    return {"--start", "index.htm", source.str(), (target.path() / "site.res").string()};
  }

  // A site of many files, so that a build takes long enough to be caught in the middle.
  void ManyFiles(int count) {
    std::string page;
    for (int i = 0; i < count; ++i) {
      WriteFile(source.path() / "many" / ("f" + std::to_string(i) + ".txt"), std::to_string(i));
      page += "<a href=\"many/f" + std::to_string(i) + ".txt\">" + std::to_string(i) + "</a>\n";
    }
    WriteFile(source.path() / "index.htm", page);
  }

  // Starts a build and waits until it is staging: it has said so. Not until
  // its file registry exists, which is written when the staging ends: what
  // follows of a build of some thousand files can end before a signal comes.
  pid_t StartAndWaitForStaging() {
    const pid_t pid = Start(Pack());
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (ReadFile(ErrFile()).find("Копируются файлы...\n") == std::string::npos && Clock::now() < deadline) {
      int status;
      if (::waitpid(pid, &status, WNOHANG) == pid) {
        ADD_FAILURE() << "the build ended before it was caught staging: " << ReadFile(ErrFile());
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return pid;
  }

  fs::path ErrFile() const { return logs.path() / "stderr.txt"; }
};

const char kStages[] =
    "Копируются файлы...\nМеняются ссылки...\nУдаляем неиспользуемые файлы...\n"
    "Применяются настройки...\nВНИМАНИЕ!!! Собирается ресурсный файл...\n"
    "Удаляются временные файлы...\nСбор закончен !!!\n";

TEST_F(CliFaults, AnUnreadableFileAndAnUnreadableFolderArePassedOverNamedAndTheRestIsPacked) {
  if (::geteuid() == 0 && !fs::exists(kSetpriv)) GTEST_SKIP() << "as root this needs setpriv to drop its rights";
  unprivileged = true;
  WriteFile(source.path() / "secret.gif", "GIF-S");
  WriteFile(source.path() / "private" / "inner.gif", "GIF-I");
  fs::permissions(source.path() / "secret.gif", fs::perms::none);
  fs::permissions(source.path() / "private", fs::perms::none);
  const std::string before = TreeFingerprint(source.path());
  GiveAway(target.path());
  GiveAway(temp.path());

  const Result r = Run(Pack());
  // Built, but without a file it was given: its own exit code, and the file
  // named with why, as are the links to what was passed over.
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err, std::string(kStages) + "Не упакованы файлы: 1\nsecret.gif: нет прав на чтение\n"
                       "Ссылок без ресурса: 2\nindex.htm -> private/inner.gif\nindex.htm -> secret.gif\n");
  // private\inner.gif is not listed at all; secret.gif is listed but its copy fails: no number.
  const std::string work = (target.path() / "ARH").string() + "/";
  EXPECT_EQ(ReadFile(target.path() / "site.rc"),
            "FILELIST HTML \"" + work + "filelist.html\"\r\nINDEX HTML \"" + work + "index.html\"\r\n"
            "SEARCH_FILE_NOMBER_1 HTM \"" + work + "search_file_nomber_1.htm\"\r\n"
            "SEARCH_FILE_NOMBER_2 GIF \"" + work + "search_file_nomber_2.gif\"\r\n");
  EXPECT_TRUE(fs::exists(target.path() / "site.res"));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

TEST_F(CliFaults, AReadOnlyTargetFolderStopsTheBuildWithAccessDenied) {
  if (::geteuid() == 0 && !fs::exists(kSetpriv)) GTEST_SKIP() << "as root this needs setpriv to drop its rights";
  unprivileged = true;
  GiveAway(target.path());
  GiveAway(temp.path());
  fs::permissions(target.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const std::string before = TreeFingerprint(source.path());

  const Result r = Run(Pack());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "File access denied\n");
  EXPECT_TRUE(fs::is_empty(target.path()));
  EXPECT_TRUE(fs::is_empty(temp.path()));
  EXPECT_EQ(TreeFingerprint(source.path()), before);
}

TEST_F(CliFaults, LinksLeadingOutOfTheSourceAreLeftOutAndNamedUnlessAskedToFollowThem) {
  ScratchDir outside;
  WriteFile(outside.path() / "id_rsa", "PRIVATE-KEY-BYTES");
  WriteFile(outside.path() / "docs" / "private.htm", "PRIVATE-PAGE-BYTES");
  WriteFile(source.path() / "index.htm", "<img src=\"img/logo.gif\"><a href=\"docs/private.htm\">d</a>"
                                         "<img src=\"img/inner.gif\">");
  WriteFile(source.path() / "pictures" / "real.gif", "INNER-PICTURE");
  fs::create_directories(source.path() / "img");
  fs::create_symlink(outside.path() / "id_rsa", source.path() / "img" / "logo.gif");
  fs::create_symlink("../pictures/real.gif", source.path() / "img" / "inner.gif");
  fs::create_directory_symlink(outside.path() / "docs", source.path() / "docs");

  const Result r = Run(Pack());
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err, std::string(kStages) + "Не упакованы ссылки за пределы папки: 2\ndocs -> " + outside.str() +
                       "/docs\nimg\\logo.gif -> " + outside.str() + "/id_rsa\n"
                       "Ссылок без ресурса: 2\nindex.htm -> docs/private.htm\nindex.htm -> img/logo.gif\n");
  std::string res = ReadFile(target.path() / "site.res");
  EXPECT_NE(res.find("INNER-PICTURE"), std::string::npos);
  EXPECT_EQ(res.find("PRIVATE-KEY-BYTES"), std::string::npos);
  EXPECT_EQ(res.find("PRIVATE-PAGE-BYTES"), std::string::npos);
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));

  // Asked to, the build packs what the links lead to, as "cp -L" copies it.
  std::vector<std::string> args = Pack();
  args.insert(args.begin(), "--follow-links");
  const Result followed = Run(args);
  EXPECT_EQ(followed.exitCode, 0) << followed.err;
  EXPECT_EQ(followed.err, kStages);
  res = ReadFile(target.path() / "site.res");
  EXPECT_NE(res.find("PRIVATE-KEY-BYTES"), std::string::npos);
  EXPECT_NE(res.find("PRIVATE-PAGE-BYTES"), std::string::npos);
  EXPECT_NE(res.find("<img src=\"../GIF/SEARCH_FILE_NOMBER_"), std::string::npos);
  EXPECT_EQ(res.find("img/logo.gif"), std::string::npos);
}

TEST_F(CliFaults, KilledInTheMiddleLeavesTheWorkFolderWhichTheNextBuildReportsUntilItIsRemoved) {
  ManyFiles(3000);
  const pid_t pid = StartAndWaitForStaging();
  ASSERT_GT(pid, 0);
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  const Result killed = Finish(pid);
  EXPECT_EQ(killed.exitCode, -1);
  ASSERT_TRUE(fs::is_directory(target.path() / "ARH"));

  const Result again = Run(Pack());
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(again.err, "I/O error 183\n");
  EXPECT_TRUE(fs::is_directory(target.path() / "ARH")) << "the leftover is the user's to remove";

  fs::remove_all(target.path() / "ARH");
  const Result clean = Run(Pack());
  EXPECT_EQ(clean.exitCode, 0) << clean.err;
  EXPECT_EQ(clean.err, kStages);
  EXPECT_TRUE(fs::exists(target.path() / "site.res"));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
}

TEST_F(CliFaults, AskedToStopInTheMiddleItRemovesWhatItMadeAndSaysSo) {
  ManyFiles(3000);
  const std::string before = TreeFingerprint(source.path());
  const pid_t pid = StartAndWaitForStaging();
  ASSERT_GT(pid, 0);
  ASSERT_EQ(::kill(pid, SIGTERM), 0);
  const Result stopped = Finish(pid);
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_EQ(stopped.err.rfind("Копируются файлы...\n", 0), 0u) << stopped.err;
  EXPECT_TRUE(stopped.err.ends_with("\nСборка прервана\n")) << stopped.err;
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
  EXPECT_TRUE(fs::is_empty(temp.path())) << "the compiler was left behind";
  EXPECT_EQ(TreeFingerprint(source.path()), before);

  const Result next = Run(Pack());
  EXPECT_EQ(next.exitCode, 0) << next.err;
}

}  // namespace
