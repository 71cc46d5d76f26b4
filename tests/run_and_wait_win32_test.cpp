// RunAndWait on Windows: the command line that the started program reads
// back, its captured output, the 50 ms pumps and failed starts.
#include <gtest/gtest.h>

#include <chrono>

#include "core/compiler_runner.h"
#include "platform/platform_error.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using pagefold::RunAndWait;
using pagefold::RunResult;
using testing_support::RecordingHost;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;

TEST(RunAndWait, TheProgramReadsBackExactlyOneArgument) {
  RecordingHost host;
  // Blanks, quotes, backslashes before a quote and at the end, Cyrillic letters.
  const std::vector<std::string> arguments = {
      "x.rc", "", "a b", "\"quoted\"", "a\\\\\"b c\\\\", "C:\\My Site\\", W("C:\\Мои сайты\\site.rc")};
  for (const std::string& argument : arguments) {
    const RunResult result = RunAndWait(host, ECHO_PROGRAM, argument);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, "|" + argument + "|\nto-stderr\n");
  }
  EXPECT_TRUE(host.Lines("message").empty());

  // More than a pipe holds: the program must not block on its output.
  const RunResult big = RunAndWait(host, ECHO_PROGRAM, "--flood");
  EXPECT_EQ(big.exitCode, 0);
  EXPECT_EQ(big.output, std::string(200000, 'a'));
}

TEST(RunAndWait, PumpsAllEventsEvery50MsWhileTheProgramRuns) {
  RecordingHost host;
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = RunAndWait(host, ECHO_PROGRAM, "--sleep");
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_EQ(result.exitCode, 3);
  const size_t pumps = host.Lines("pumpall").size();
  EXPECT_EQ(host.log.size(), pumps) << "only the all-pending-events pump is used";
  EXPECT_GE(pumps, 5u);
  EXPECT_LE(pumps, static_cast<size_t>(ms.count() / 50 + 1));
}

TEST(RunAndWait, AFailedStartShowsTheSystemsText) {
  ScratchDir dir;
  RecordingHost host;
  EXPECT_FALSE(RunAndWait(host, (dir.path() / "brcc32.exe").string(), "x.rc").started);
  WriteFile(dir.path() / "plain.exe", "not a program");
  EXPECT_FALSE(RunAndWait(host, (dir.path() / "plain.exe").string(), "x.rc").started);
  ASSERT_EQ(host.log.size(), 2u);
  EXPECT_EQ(host.log[0], "message Pagefold | " + *pagefold::text::Cp1251ToUtf8(pagefold::platform::SystemErrorText(2)));
  EXPECT_EQ(host.log[1], "message Pagefold | " + *pagefold::text::Cp1251ToUtf8(pagefold::platform::SystemErrorText(193)));
  EXPECT_NE(pagefold::platform::SystemErrorText(2), pagefold::platform::SystemErrorText(193));
}

}  // namespace
