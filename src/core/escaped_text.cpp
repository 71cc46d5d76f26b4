#include "core/escaped_text.h"

#include <cstdio>

namespace pagefold {

std::string EscapedControlBytes(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (byte < 32 || byte == 127) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(byte));
      shown += escape;
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace pagefold
