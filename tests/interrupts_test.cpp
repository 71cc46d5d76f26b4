#include "platform/interrupts.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

// How a child that runs BODY ends: the signal that ended it, or 0.
template <typename Body>
int SignalThatEnds(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// A request that comes between making a file and setting its removal waits
// for the removal, so the file never stays behind; without the hold the same
// request ends the program with the file still there.
TEST(Interrupts, ARequestWhileHeldIsAnsweredWithTheRemovalSetMeanwhile) {
  ScratchDir dir;
  const fs::path held = dir.path() / "held.tmp";
  EXPECT_EQ(SignalThatEnds([&] {
              pagefold::platform::InterruptsHeld hold;
              WriteFile(held, "unfinished");
              ::raise(SIGTERM);
              pagefold::platform::RemoveFileOnInterrupt(held.string());
            }),
            SIGTERM);
  EXPECT_FALSE(fs::exists(held));

  const fs::path unheld = dir.path() / "unheld.tmp";
  EXPECT_EQ(SignalThatEnds([&] {
              WriteFile(unheld, "unfinished");
              ::raise(SIGTERM);
              pagefold::platform::RemoveFileOnInterrupt(unheld.string());
            }),
            SIGTERM);
  EXPECT_TRUE(fs::exists(unheld));

  // Once the hold ends, requests are answered at once again.
  const fs::path after = dir.path() / "after.tmp";
  EXPECT_EQ(SignalThatEnds([&] {
              { pagefold::platform::InterruptsHeld hold; }
              WriteFile(after, "unfinished");
              pagefold::platform::RemoveFileOnInterrupt(after.string());
              ::raise(SIGHUP);
              ::_exit(0);
            }),
            SIGHUP);
  EXPECT_FALSE(fs::exists(after));
}

}  // namespace
