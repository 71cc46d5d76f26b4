// pagefold-rc SCRIPT: compiles a resource script into the .res beside it.
#include <cstdio>
#include <cstring>

#include "platform/console.h"
#include "rescomp/compile_script.h"
#include "rescomp/script_error.h"

namespace {

const char kUsage[] =
    "Usage: pagefold-rc SCRIPT\n"
    "Compiles the resource script SCRIPT (Windows-1251 text, one \"NAME TYPE FILE\" per line)\n"
    "into a 32-bit Windows resource file beside it, named after it with the extension .res.\n";

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
    platform::WriteToStderr(kUsage);
    return 2;
  }
  const auto script = platform::ArgumentText(argv, 1);
  if (!script) {
    platform::WriteToStderr("pagefold-rc: the script's path has a character without a Windows-1251 form\n");
    return 1;
  }
  try {
    rescomp::CompileScript(*script);
  } catch (const rescomp::ScriptError& e) {
    const std::string where = e.line() > 0 ? *script + ":" + std::to_string(e.line()) : *script;
    platform::WriteToStderr(where + ": " + e.what() + "\n");
    return 1;
  }
  return 0;
}
