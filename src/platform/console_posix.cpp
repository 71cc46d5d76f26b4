#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/console.h"
#include "text/cp1251.h"

namespace pagefold::platform {

std::optional<std::string> ArgumentText(char** argv, int index) {
  return text::Utf8ToCp1251(argv[index]);
}

namespace {

void WriteTo(std::FILE* stream, const std::string& text) {
  const std::string utf8 = text::Cp1251ToUtf8(text).value_or(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

}  // namespace

void KeepRunningWhenOutputCloses() { ::signal(SIGPIPE, SIG_IGN); }

void WriteToStderr(const std::string& text) { WriteTo(stderr, text); }

void WriteToStdout(const std::string& text) { WriteTo(stdout, text); }

bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

std::optional<std::string> AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
  if (!cwd) return std::nullopt;
  const auto folder = text::Utf8ToCp1251(cwd.get());
  if (!folder) return std::nullopt;
  return path.empty() ? *folder : *folder + "/" + path;
}

}  // namespace pagefold::platform
