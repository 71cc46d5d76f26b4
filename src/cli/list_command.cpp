#include "cli/list_command.h"

#include <cstdio>

#include "core/res_reader.h"
#include "platform/console.h"
#include "platform/platform_error.h"
#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

// A type or name in Windows-1251; a character without a form there is shown
// as \uXXXX.
std::string Shown(const ResId& id) {
  if (const auto cp1251 = id.Cp1251()) return *cp1251;
  std::string shown;
  for (const char16_t c : id.text) {
    if (const auto one = text::Utf16ToCp1251(std::u16string(1, c))) {
      shown += *one;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
      shown += escape;
    }
  }
  return shown;
}

}  // namespace

int RunListCommand(const std::string& resFile) {
  FileResSource source;
  if (!source.Open(resFile)) {
    platform::WriteToStderr("Cannot open file \"" + resFile + "\". " +
                            platform::SystemErrorText(platform::LastErrorCode()) + "\n");
    return 1;
  }
  const ResListing listing = ListResources(source);
  std::string out;
  for (const ResEntry& entry : listing.entries) {
    out += Shown(entry.type) + "/" + Shown(entry.name) + "\t" + std::to_string(entry.dataSize) + "\n";
    if (out.size() >= (1 << 16)) {
      platform::WriteToStdout(out);
      out.clear();
    }
  }
  platform::WriteToStdout(out);
  if (listing.error.empty()) return 0;
  platform::WriteToStderr(resFile + ": " + listing.error + "\n");
  return 1;
}

}  // namespace pagefold::cli
