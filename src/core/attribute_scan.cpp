#include "core/attribute_scan.h"

#include <algorithm>

#include "text/case_rules.h"

namespace pagefold {

void FindBetween(const std::string& text, const std::string& start, const std::string& end, StringList& list) {
  // Both empty would find the same empty value at one place for ever.
  if (start.empty() && end.empty()) return;
  // Nothing behind the first zero byte is searched. The upper-cased copy keeps
  // every byte at its place, so positions found in it cut the text passed in.
  std::string upper = text::UpperAscii(text);
  upper.resize(std::min(upper.find('\0'), upper.size()));
  const std::string upperStart = text::UpperAscii(start);
  const std::string upperEnd = text::UpperAscii(end);
  size_t pos = 0;
  for (;;) {
    const size_t found = upper.find(upperStart, pos);
    if (found == std::string::npos) return;
    const size_t from = found + upperStart.size();
    const size_t to = upper.find(upperEnd, from);
    if (to == std::string::npos) return;
    list.push_back(text.substr(from, to - from));
    pos = to + upperEnd.size();
  }
}

}  // namespace pagefold
