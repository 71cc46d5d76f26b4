// pagefold-rc SCRIPT: compiles a resource script into the .res beside it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/console.h"
#include "rescomp/compile_script.h"
#include "rescomp/script_error.h"

namespace {

const char kUsage[] =
    "Usage: pagefold-rc SCRIPT\n"
    "Compiles the resource script SCRIPT (Windows-1251 text, one \"NAME TYPE FILE\" per line)\n"
    "into a 32-bit Windows resource file beside it, named after it with the extension .res.\n";

// For the tests of a build's handover: with PAGEFOLD_RC_TEST_HOLD naming a
// folder, the compiler marks its start there with a file "started" and waits
// for a file "go" (at most a minute) before it reads anything.
void HoldForTest() {
  const char* hold = std::getenv("PAGEFOLD_RC_TEST_HOLD");
  if (!hold) return;
  const std::filesystem::path folder(hold);
  std::ofstream(folder / "started").close();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!std::filesystem::exists(folder / "go") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::fputs("pagefold-rc " PAGEFOLD_VERSION "\n", stdout);
    return 0;
  }
  if (argc != 2) {
    pagefold::platform::WriteToStderr(kUsage);
    return 2;
  }
  const auto script = pagefold::platform::ArgumentText(argv, 1);
  if (!script) {
    pagefold::platform::WriteToStderr("pagefold-rc: the script's path has a character without a Windows-1251 form\n");
    return 1;
  }
  HoldForTest();
  try {
    pagefold::rescomp::CompileScript(*script);
  } catch (const pagefold::rescomp::ScriptError& e) {
    const std::string where = e.line() > 0 ? *script + ":" + std::to_string(e.line()) : *script;
    pagefold::platform::WriteToStderr(where + ": " + e.what() + "\n");
    return e.exitCode();
  }
  return 0;
}
