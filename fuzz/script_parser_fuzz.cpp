// The resource script parser of pagefold-rc over any bytes: a list of
// statements or a ScriptError, nothing else. Every statement has a name, a
// type and its line, in script order, with names and types upper-cased.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "rescomp/script_error.h"
#include "rescomp/script_parser.h"

namespace {

bool HasLowerAscii(const std::u16string& s) {
  for (char16_t c : s)
    if (c >= u'a' && c <= u'z') return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  int lines = 1;
  for (char c : script) lines += c == '\n';
  try {
    int line = 0;
    for (const pagefold::rescomp::ResourceStatement& r : pagefold::rescomp::ParseScript(script)) {
      if (r.name.empty() || r.type.empty() || HasLowerAscii(r.name) || HasLowerAscii(r.type)) std::abort();
      if (r.line <= line || r.line > lines) std::abort();
      line = r.line;
    }
  } catch (const pagefold::rescomp::ScriptError& e) {
    if (e.line() < 0 || e.line() > lines || std::string_view(e.what()).empty()) std::abort();
  }
  return 0;
}
