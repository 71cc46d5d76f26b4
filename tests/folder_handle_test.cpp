#include "platform/folder_handle.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using pagefold::platform::FolderHandle;
using pagefold::platform::SourceFile;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

struct Folder : ::testing::Test {
  ScratchDir dir, outside;
  FolderHandle work;
  fs::path Work() const { return dir.path() / "ARH"; }
  void SetUp() override { ASSERT_EQ(work.Create(Work().string()), 0); }
};

TEST_F(Folder, StagedFilesShareTheSourceAndAWriteNeverReachesIt) {
  const fs::path original = outside.path() / "a.htm";
  WriteFile(original, std::string("a\0b", 3));
  fs::permissions(original, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::last_write_time(original, fs::file_time_type::clock::now() - std::chrono::hours(1));
  SourceFile source;
  ASSERT_TRUE(source.Open(original.string()));
  EXPECT_EQ(source.Size(), 3);
  WriteFile(Work() / "taken", "old");
  EXPECT_FALSE(work.LinkOrCopyIn(source, "taken"));
  EXPECT_EQ(ReadFile(Work() / "taken"), "old");
  ASSERT_TRUE(work.LinkOrCopyIn(source, "copy"));
  EXPECT_EQ(ReadFile(Work() / "copy"), std::string("a\0b", 3));
#ifndef _WIN32
  EXPECT_TRUE(fs::equivalent(Work() / "copy", original));  // one file system: a second name
#endif
  work.Write("copy", "new");
  EXPECT_EQ(ReadFile(Work() / "copy"), "new");
  EXPECT_TRUE(work.Remove("copy"));
  EXPECT_EQ(ReadFile(original), std::string("a\0b", 3));
  EXPECT_EQ(fs::status(original).permissions(),
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(source.Open((outside.path() / "none").string()));
  EXPECT_FALSE(source.Open(outside.str()));  // a folder
}

// A copy that is tried again, as staging tries a name without its extension
// after the name with it, starts at the first byte: never where the failed
// one stopped reading the same open file.
TEST_F(Folder, ASecondCopyOfTheSameOpenFileIsWholeToo) {
  const fs::path original = outside.path() / "big.gif";
  std::string bytes(300000, 'A');
  bytes.replace(bytes.size() - 4, 4, "TAIL");
  WriteFile(original, bytes);  // fresh: copied, never shared
  SourceFile source;
  ASSERT_TRUE(source.Open(original.string()));
  ASSERT_TRUE(work.LinkOrCopyIn(source, "first"));
  ASSERT_TRUE(work.LinkOrCopyIn(source, "second"));
  EXPECT_TRUE(ReadFile(Work() / "first") == bytes);
  EXPECT_TRUE(ReadFile(Work() / "second") == bytes);
}

#ifndef _WIN32
// A file written a moment ago, or one that others may write, is copied: the
// copy keeps what it held, and the source's rights with the owner's write.
TEST_F(Folder, FreshFilesAndFilesOthersMayWriteAreCopies) {
  const fs::path fresh = outside.path() / "fresh.gif", shared = outside.path() / "shared.gif";
  WriteFile(fresh, "new");
  fs::permissions(fresh, fs::perms::owner_read);
  WriteFile(shared, "old");
  fs::permissions(shared, fs::perms::owner_read | fs::perms::group_read | fs::perms::group_write);
  fs::last_write_time(shared, fs::file_time_type::clock::now() - std::chrono::hours(1));
  for (const fs::path& original : {fresh, shared}) {
    SourceFile source;
    ASSERT_TRUE(source.Open(original.string()));
    ASSERT_TRUE(work.LinkOrCopyIn(source, original.filename().string()));
    const fs::path copy = Work() / original.filename();
    EXPECT_FALSE(fs::equivalent(copy, original)) << original;
    EXPECT_EQ(ReadFile(copy), ReadFile(original));
    EXPECT_EQ(fs::status(copy).permissions(), fs::status(original).permissions() | fs::perms::owner_write);
  }
}

TEST_F(Folder, AFileOnAnotherFileSystemIsCopiedWritableByItsOwner) {
  struct stat shm, here;
  if (::stat("/dev/shm", &shm) != 0 || ::stat(Work().c_str(), &here) != 0 || shm.st_dev == here.st_dev)
    GTEST_SKIP() << "/dev/shm is not another file system here";
  const fs::path original = fs::path("/dev/shm") / ("pagefold-test-" + std::to_string(::getpid()));
  WriteFile(original, "pic");
  fs::permissions(original, fs::perms::owner_read | fs::perms::group_read);
  fs::last_write_time(original, fs::file_time_type::clock::now() - std::chrono::hours(1));
  SourceFile source;
  const bool opened = source.Open(original.string());
  const bool staged = opened && work.LinkOrCopyIn(source, "copy");
  fs::remove(original);
  ASSERT_TRUE(staged);
  EXPECT_EQ(ReadFile(Work() / "copy"), "pic");
  EXPECT_EQ(fs::status(Work() / "copy").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

#ifndef _WIN32
// LinkIn keeps a second name only for what LinkOrCopyIn would share; every
// other entry leaves the work folder as it was.
struct LinkIn : Folder {
  fs::path Settled(const std::string& name, const std::string& bytes, fs::perms rights) {
    const fs::path file = outside.path() / name;
    WriteFile(file, bytes);
    fs::permissions(file, rights);
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    return file;
  }
  bool Linked(const fs::path& file) { return work.LinkIn(file.string(), "in").has_value(); }
  std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(Work()), {})); }
};

TEST_F(LinkIn, ASettledFileOnlyItsOwnerWritesGetsASecondNameWithItsIdentityAndSize) {
  const fs::path file = Settled("a.gif", std::string("G\0F9", 4), fs::perms::owner_read | fs::perms::group_read);
  const auto linked = work.LinkIn(file.string(), "search_file_nomber_1.gif");
  ASSERT_TRUE(linked);
  EXPECT_EQ(linked->size, 4);
  EXPECT_EQ(linked->identity, pagefold::platform::EntryIdentity(file.string()));
  EXPECT_TRUE(fs::equivalent(Work() / "search_file_nomber_1.gif", file));
  EXPECT_EQ(fs::hard_link_count(file), 2u);
}

TEST_F(LinkIn, ATakenNameStaysAsItWas) {
  const fs::path file = Settled("a.gif", "GIF", fs::perms::owner_read);
  WriteFile(Work() / "in", "old");
  EXPECT_FALSE(Linked(file));
  EXPECT_EQ(ReadFile(Work() / "in"), "old");
  EXPECT_EQ(fs::hard_link_count(file), 1u);
}

TEST_F(LinkIn, LinksFreshSharedMissingAndOtherEntriesLeaveNothing) {
  const fs::path target = Settled("id_rsa", "KEY", fs::perms::owner_read);
  fs::create_symlink(target, outside.path() / "link.gif");
  const fs::path fresh = outside.path() / "fresh.gif";
  WriteFile(fresh, "new");
  fs::permissions(fresh, fs::perms::owner_read);
  const fs::path groupWritable = Settled("group.gif", "g", fs::perms::owner_read | fs::perms::group_write);
  const fs::path othersWritable = Settled("others.gif", "o", fs::perms::owner_read | fs::perms::others_write);
  ASSERT_EQ(::mkfifo((outside.path() / "pipe.gif").c_str(), 0600), 0);
  fs::last_write_time(outside.path() / "pipe.gif", fs::file_time_type::clock::now() - std::chrono::hours(1));
  fs::create_directory(outside.path() / "folder.gif");
  const fs::path settled = Settled("settled.gif", "s", fs::perms::owner_read);
  // Each entry right after a file that was linked, then right after one that
  // was not, which LinkIn looks at before linking.
  for (const fs::path& entry : {outside.path() / "link.gif", fresh, groupWritable, othersWritable,
                                outside.path() / "pipe.gif", outside.path() / "folder.gif",
                                outside.path() / "none.gif"}) {
    ASSERT_TRUE(Linked(settled));
    ASSERT_TRUE(work.Remove("in"));
    for (int time = 1; time <= 2; ++time) {
      EXPECT_FALSE(Linked(entry)) << entry << " " << time;
      EXPECT_EQ(Entries(), 0u) << entry << " " << time;
    }
    EXPECT_TRUE(Linked(settled)) << "after " << entry;
    EXPECT_TRUE(fs::equivalent(Work() / "in", settled));
    ASSERT_TRUE(work.Remove("in"));
  }
  EXPECT_EQ(fs::hard_link_count(target), 1u);
  EXPECT_TRUE(fs::is_symlink(outside.path() / "link.gif"));
}

TEST_F(LinkIn, AFileOnAnotherFileSystemIsLeftToTheCopy) {
  struct stat shm, here;
  if (::stat("/dev/shm", &shm) != 0 || ::stat(Work().c_str(), &here) != 0 || shm.st_dev == here.st_dev)
    GTEST_SKIP() << "/dev/shm is not another file system here";
  const fs::path file = fs::path("/dev/shm") / ("pagefold-link-test-" + std::to_string(::getpid()));
  WriteFile(file, "pic");
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
  const bool linked = Linked(file);
  fs::remove(file);
  EXPECT_FALSE(linked);
  EXPECT_EQ(Entries(), 0u);
}

// Within one tree the folder of each file is held open for the files after
// it: files of several folders in turn each come from their own, and a folder
// leading out of the tree, or swapped for such a link while held, gives
// nothing from outside.
TEST_F(LinkIn, FilesOfSeveralFoldersInTurnEachComeFromTheirOwnFolder) {
  const auto settle = [&](const std::string& name, const std::string& bytes) {
    return Settled(name, bytes, fs::perms::owner_read);
  };
  fs::create_directories(outside.path() / "a");
  fs::create_directories(outside.path() / "b");
  const fs::path ax = settle("a/x.gif", "A-X"), bx = settle("b/x.gif", "B-X"), ay = settle("a/y.gif", "A-Y"),
                 top = settle("x.gif", "TOP");
  ScratchDir elsewhere;
  WriteFile(elsewhere.path() / "x.gif", "SECRET");
  WriteFile(elsewhere.path() / "y.gif", "SECRET");
  for (const char* name : {"x.gif", "y.gif"})
    fs::last_write_time(elsewhere.path() / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  fs::create_directory_symlink(elsewhere.path(), outside.path() / "out");

  pagefold::platform::SourceTree tree(outside.str(), false);
  const std::vector<std::pair<fs::path, fs::path>> wanted = {
      {ax, ax}, {bx, bx}, {outside.path() / "out" / "x.gif", {}}, {ay, ay}, {top, top}, {ax, ax}};
  for (size_t i = 0; i < wanted.size(); ++i) {
    const std::string name = "in" + std::to_string(i);
    const auto linked = work.LinkIn(wanted[i].first.string(), name, tree);
    EXPECT_EQ(linked.has_value(), !wanted[i].second.empty()) << i;
    if (linked) {
      EXPECT_TRUE(fs::equivalent(Work() / name, wanted[i].second)) << i;
    }
  }

  // The folder "a" is held now; it goes and a link out takes its name. The
  // held folder, found inside when it was opened, still gives its own file;
  // a tree that opens the folder anew refuses it.
  fs::rename(outside.path() / "a", dir.path() / "a-moved");
  fs::create_directory_symlink(elsewhere.path(), outside.path() / "a");
  ASSERT_TRUE(work.LinkIn((outside.path() / "a" / "y.gif").string(), "after", tree));
  EXPECT_EQ(ReadFile(Work() / "after"), "A-Y");
  pagefold::platform::SourceTree fresh(outside.str(), false);
  EXPECT_FALSE(work.LinkIn((outside.path() / "a" / "y.gif").string(), "fresh", fresh));
  EXPECT_EQ(fs::hard_link_count(elsewhere.path() / "y.gif"), 1u);
  EXPECT_EQ(fs::hard_link_count(elsewhere.path() / "x.gif"), 1u);
}

// Opening would fail without root's rights, so only root links these.
TEST_F(LinkIn, AFileTheProcessMayNotReadIsLinkedOnlyByRoot) {
  const bool root = ::geteuid() == 0;
  const fs::path unreadable = Settled("write-only.gif", "w", fs::perms::owner_write);
  EXPECT_EQ(Linked(unreadable), root);
  EXPECT_EQ(Entries(), root ? 1u : 0u);
  if (!root) return;
  // Another user's file that no one may read: root reads it all the same.
  const fs::path theirs = Settled("theirs.gif", "t", fs::perms::none);
  ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
  EXPECT_TRUE(work.LinkIn(theirs.string(), "theirs").has_value());
  EXPECT_TRUE(fs::equivalent(Work() / "theirs", theirs));
}
#endif

TEST_F(Folder, RenamesNeverReplaceAndWritesReplaceThroughANewFile) {
  WriteFile(Work() / "a", "1");
  WriteFile(Work() / "b", "2");
  EXPECT_FALSE(work.Rename("a", "b"));
  EXPECT_EQ(ReadFile(Work() / "b"), "2");
  EXPECT_TRUE(work.Rename("a", "c"));
  EXPECT_FALSE(fs::exists(Work() / "a"));
  EXPECT_EQ(ReadFile(Work() / "c"), "1");
  // A name too long for the file system keeps the file where it was.
  EXPECT_FALSE(work.Rename("c", "c." + std::string(300, 'x')));
  EXPECT_EQ(ReadFile(Work() / "c"), "1");

  work.Write("c", "new");
  EXPECT_EQ(work.Read("c", 3), "new");
  EXPECT_TRUE(work.CopyWithin("c", "d"));
  EXPECT_EQ(ReadFile(Work() / "d"), "new");
  fs::create_directory(Work() / "folder");
  try {
    work.Write("folder", "x");
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + (Work() / "folder").string() + "\". ", 0), 0u)
        << e.what();
  }
  try {
    work.Read("none", 0);
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + (Work() / "none").string() + "\". ", 0), 0u)
        << e.what();
  }
  // Nothing but the files named: no temporary file left.
  EXPECT_EQ(std::distance(fs::directory_iterator(Work()), {}), 4);
}

// The expected size only saves asking for the size: a file of any other
// size, larger by far too, is read whole.
TEST_F(Folder, AReadGivesTheWholeFileWhateverSizeWasExpected) {
  std::string large;
  for (int i = 0; large.size() < 300000; ++i) large += std::to_string(i) + ",";
  WriteFile(Work() / "large", large);
  WriteFile(Work() / "small", std::string("ab\0cd", 5));
  WriteFile(Work() / "empty", "");
  for (const size_t expected : {size_t{0}, size_t{1}, size_t{4}, size_t{5}, size_t{6}, large.size() - 1, large.size(),
                                large.size() + 1, 2 * large.size()}) {
    EXPECT_EQ(work.Read("large", expected), large) << expected;
    EXPECT_EQ(work.Read("small", expected), std::string("ab\0cd", 5)) << expected;
    EXPECT_EQ(work.Read("empty", expected), "") << expected;
  }
}

// Pages are written back on several threads at once: each write lands whole
// under its own name, and no new file is left behind.
TEST_F(Folder, WritesFromSeveralThreadsAtOnceEachLandWhole) {
  constexpr int kThreads = 4, kWrites = 100;
  const auto bytes = [](int t, int i) { return std::string(static_cast<size_t>(100 + i), static_cast<char>('a' + t)); };
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kWrites; ++i) work.Write(std::to_string(t) + "-" + std::to_string(i), bytes(t, i));
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kWrites; ++i)
      EXPECT_EQ(ReadFile(Work() / (std::to_string(t) + "-" + std::to_string(i))), bytes(t, i)) << t << " " << i;
  EXPECT_EQ(std::distance(fs::directory_iterator(Work()), {}), kThreads * kWrites);
}

TEST_F(Folder, ClearingDeletesReadOnlyFilesAndKeepsFolders) {
  WriteFile(Work() / "ro", "r");
  fs::permissions(Work() / "ro", fs::perms::owner_read);
  WriteFile(Work() / "sub" / "deep" / "y", "2");
  work.Clear();
  EXPECT_FALSE(fs::exists(Work() / "ro"));
  EXPECT_FALSE(fs::exists(Work() / "sub" / "deep" / "y"));
  EXPECT_TRUE(fs::is_directory(Work() / "sub" / "deep"));
  fs::remove_all(Work() / "sub");
  EXPECT_EQ(work.CloseAndRemove(), 0);
  EXPECT_FALSE(fs::exists(Work()));
}

#ifndef _WIN32
TEST_F(Folder, LinksAreNeverFollowed) {
  WriteFile(outside.path() / "keep" / "f", "victim's");
  fs::create_directory_symlink(outside.path() / "keep", Work() / "link");
  fs::create_symlink(outside.path() / "keep" / "f", Work() / "file-link");
  work.Write("file-link", "new");
  EXPECT_FALSE(fs::is_symlink(Work() / "file-link"));
  work.Clear();
  EXPECT_FALSE(fs::exists(fs::symlink_status(Work() / "link")));
  EXPECT_EQ(ReadFile(outside.path() / "keep" / "f"), "victim's");

  // A link at the path: neither opened nor created over.
  const fs::path linked = dir.path() / "linked";
  fs::create_directory_symlink(outside.path() / "keep", linked);
  FolderHandle other;
  EXPECT_FALSE(other.Open(linked.string()));
  EXPECT_EQ(other.Create(linked.string()), 183);
}

TEST_F(Folder, ASwappedFolderIsNoticedAndNeverRemoved) {
  EXPECT_TRUE(work.StillAtPath());
  fs::rename(Work(), dir.path() / "moved");
  fs::create_directory_symlink(outside.path(), Work());
  EXPECT_FALSE(work.StillAtPath());
  work.Write("made", "x");  // still into the folder held open
  EXPECT_EQ(ReadFile(dir.path() / "moved" / "made"), "x");
  EXPECT_FALSE(fs::exists(outside.path() / "made"));
  work.Clear();
  EXPECT_EQ(work.CloseAndRemove(), FolderHandle::kNotTheFolderMade);
  EXPECT_TRUE(fs::is_symlink(Work()));
  EXPECT_TRUE(fs::is_directory(dir.path() / "moved"));
}
// Under umask 000 a made folder is still 0700, and under umask 077 as well;
// another user can plant nothing inside.
TEST(FolderCreate, TheFolderIsPrivateWhateverTheUmask) {
  ScratchDir dir;
  fs::permissions(dir.path(), fs::perms::all);  // a shared folder, as /tmp is
  for (const mode_t mask : {mode_t{0}, mode_t{077}}) {
    const fs::path path = dir.path() / ("ARH" + std::to_string(mask));
    const mode_t saved = ::umask(mask);
    FolderHandle work;
    const int code = work.Create(path.string());
    ::umask(saved);
    ASSERT_EQ(code, 0);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u) << "umask " << mask;
    work.Write("page.htm", "own");
    EXPECT_EQ(ReadFile(path / "page.htm"), "own");
  }
  if (::geteuid() != 0) return;  // another user exists for root only
  const std::string planted = (dir.path() / "ARH0" / "planted.htm").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(::open(planted.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644) < 0 && errno == EACCES ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(fs::exists(planted));
}

#endif

}  // namespace
