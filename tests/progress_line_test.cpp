// pagefold-cli's progress on a terminal (a pseudo-terminal here): the counter
// is written in place behind the stage; a pipe gets the stage lines alone.
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

TEST(ProgressLine, TheCounterIsWrittenInPlaceBehindTheStage) {
  ScratchDir dir;
  WriteFile(dir.path() / "site" / "index.htm", "<img src=\"a.gif\">");
  WriteFile(dir.path() / "site" / "a.gif", "GIF89a");
  WriteFile(dir.path() / "site" / "b.gif", "GIF89a");
  const std::string out =
      RunOnTerminal({"--start", "index.htm", (dir.path() / "site").string(), (dir.path() / "out.res").string()});
  const std::string clear = "\x1b[K";
  EXPECT_EQ(out,
            "Копируются файлы...\rКопируются файлы... 1\\3" + clear + "\rКопируются файлы... 2\\3" + clear +
                "\rКопируются файлы... 3\\3" + clear + "\r\n"
                "Меняются ссылки...\rМеняются ссылки... 0\\0" + clear + "\rМеняются ссылки... 1\\3" + clear +
                "\rМеняются ссылки... 2\\3" + clear + "\rМеняются ссылки... 3\\3" + clear + "\r\n"
                "Удаляем неиспользуемые файлы...\rУдаляем неиспользуемые файлы... 1\\3" + clear +
                "\rУдаляем неиспользуемые файлы... 2\\3" + clear + "\rУдаляем неиспользуемые файлы... 3\\3" +
                clear + "\r\n"
                "Применяются настройки...\r\n"
                "ВНИМАНИЕ!!! Собирается ресурсный файл...\r\n"
                "Удаляются временные файлы...\r\n"
                "Сбор закончен !!!\r\n");
}

}  // namespace
