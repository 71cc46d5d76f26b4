// pagefold-cli's progress on a terminal (a pseudo-terminal here): the counter
// is written in place behind the stage; a pipe gets the stage lines alone.
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteFile;

// Everything the program writes on the terminal, line breaks as the terminal
// sends them (CR LF).
std::string RunOnTerminal(const std::vector<std::string>& args) {
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    std::vector<char*> argv = {const_cast<char*>(PAGEFOLD_CLI_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(PAGEFOLD_CLI_PATH, argv.data());
    _exit(127);
  }
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
  close(master);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
  return out;
}

// The terminal's output with every count written behind a stage taken out,
// and those counts, stage by stage.
struct StageLines {
  std::string bare;
  std::vector<std::vector<std::string>> counts;
};

StageLines SplitCounts(const std::string& out, const std::vector<std::string>& stages) {
  const std::string clear = "\x1b[K";
  StageLines lines;
  size_t pos = 0;
  for (const std::string& stage : stages) {
    EXPECT_EQ(out.compare(pos, stage.size(), stage), 0) << out.substr(pos);
    pos += stage.size();
    lines.bare += stage;
    lines.counts.emplace_back();
    const std::string before = "\r" + stage + " ";
    while (out.compare(pos, before.size(), before) == 0) {
      const size_t end = out.find(clear, pos);
      lines.counts.back().push_back(out.substr(pos + before.size(), end - pos - before.size()));
      pos = end + clear.size();
    }
    EXPECT_EQ(out.compare(pos, 2, "\r\n"), 0) << out.substr(pos);
    pos += 2;
    lines.bare += "\r\n";
  }
  EXPECT_EQ(pos, out.size()) << out.substr(pos);
  return lines;
}

// True when `shown` are some of `all`, in their order, and end with the last.
bool SomeInOrderEndingWithTheLast(const std::vector<std::string>& shown, const std::vector<std::string>& all) {
  if (shown.empty() || shown.back() != all.back()) return false;
  size_t next = 0;
  for (const std::string& count : shown) {
    while (next < all.size() && all[next] != count) ++next;
    if (next == all.size()) return false;
    ++next;
  }
  return true;
}

TEST(ProgressLine, TheCounterIsWrittenInPlaceBehindTheStageEndingWithItsLastCount) {
  ScratchDir dir;
  WriteFile(dir.path() / "site" / "index.htm", "<img src=\"a.gif\">");
  WriteFile(dir.path() / "site" / "a.gif", "GIF89a");
  WriteFile(dir.path() / "site" / "b.gif", "GIF89a");
  const std::string out =
      RunOnTerminal({"--start", "index.htm", (dir.path() / "site").string(), (dir.path() / "out.res").string()});
  const std::vector<std::string> stages = {"Копируются файлы...",
                                           "Меняются ссылки...",
                                           "Удаляем неиспользуемые файлы...",
                                           "Применяются настройки...",
                                           "ВНИМАНИЕ!!! Собирается ресурсный файл...",
                                           "Удаляются временные файлы...",
                                           "Сбор закончен !!!"};
  const StageLines lines = SplitCounts(out, stages);
  EXPECT_EQ(lines.bare,
            "Копируются файлы...\r\nМеняются ссылки...\r\nУдаляем неиспользуемые файлы...\r\n"
            "Применяются настройки...\r\nВНИМАНИЕ!!! Собирается ресурсный файл...\r\n"
            "Удаляются временные файлы...\r\nСбор закончен !!!\r\n");
  ASSERT_EQ(lines.counts.size(), 7u);
  EXPECT_TRUE(SomeInOrderEndingWithTheLast(lines.counts[0], {"1\\3", "2\\3", "3\\3"})) << out;
  EXPECT_TRUE(SomeInOrderEndingWithTheLast(lines.counts[1], {"0\\0", "1\\3", "2\\3", "3\\3"})) << out;
  EXPECT_TRUE(SomeInOrderEndingWithTheLast(lines.counts[2], {"1\\3", "2\\3", "3\\3"})) << out;
  for (size_t stage = 3; stage < 7; ++stage) EXPECT_EQ(lines.counts[stage], std::vector<std::string>{}) << out;
}

// A count for every file of a large site would cost more than the build on a
// terminal; a person sees no more than a frame's worth.
TEST(ProgressLine, ALargeSiteIsCountedAtMostOnceAFrame) {
  ScratchDir dir;
  constexpr int kFiles = 3000;
  WriteFile(dir.path() / "site" / "index.htm", "<p>");
  for (int i = 1; i < kFiles; ++i) WriteFile(dir.path() / "site" / ("f" + std::to_string(i) + ".gif"), "GIF89a");
  const auto start = std::chrono::steady_clock::now();
  const std::string out = RunOnTerminal(
      {"--keep-all", "--start", "index.htm", (dir.path() / "site").string(), (dir.path() / "out.res").string()});
  const auto took = std::chrono::steady_clock::now() - start;
  const std::string last = "\\" + std::to_string(kFiles);
  const StageLines lines =
      SplitCounts(out, {"Копируются файлы...", "Меняются ссылки...", "Удаляем неиспользуемые файлы...",
                        "Применяются настройки...", "ВНИМАНИЕ!!! Собирается ресурсный файл...",
                        "Удаляются временные файлы...", "Сбор закончен !!!"});
  ASSERT_EQ(lines.counts.size(), 7u);
  size_t written = 0;
  for (size_t stage = 0; stage < 3; ++stage) {
    ASSERT_FALSE(lines.counts[stage].empty()) << out;
    EXPECT_EQ(lines.counts[stage].back(), std::to_string(kFiles) + last);
    written += lines.counts[stage].size();
  }
  // One at the start of each stage, then one a frame at most.
  const auto frames = std::chrono::duration_cast<std::chrono::microseconds>(took).count() / 16666;
  EXPECT_LE(written, static_cast<size_t>(frames + 3 * 2)) << written << " counts in " << frames << " frames";
}

}  // namespace
