#include "core/attribute_scan.h"

#include <algorithm>

#include "text/case_rules.h"

namespace pagefold {
namespace {

std::string UpperAscii(std::string_view s) {
  std::string upper(s);
  text::UpperAsciiInPlace(upper);
  return upper;
}

// The scan of one start text over the upper-cased search area; positions
// found in it cut the text, since upper-casing keeps every byte at its place.
void ScanUpper(const std::string& text, std::string_view upper, std::string_view start, std::string_view end,
               StringList& list) {
  // Both empty would find the same empty value at one place for ever.
  if (start.empty() && end.empty()) return;
  const std::string upperStart = UpperAscii(start);
  const std::string upperEnd = UpperAscii(end);
  size_t pos = 0;
  for (;;) {
    const size_t found = upper.find(upperStart, pos);
    if (found == std::string::npos) return;
    const size_t from = found + upperStart.size();
    const size_t to = upper.find(upperEnd, from);
    if (to == std::string::npos) return;
    list.emplace_back(text, from, to - from);
    pos = to + upperEnd.size();
  }
}

}  // namespace

void FindBetween(const std::string& text, const std::string& start, const std::string& end, StringList& list) {
  FindBetweenEach(text, {start}, end, list);
}

void FindBetweenEach(const std::string& text, std::initializer_list<std::string_view> starts, std::string_view end,
                     StringList& list) {
  // Nothing behind the first zero byte is searched.
  const std::string upper = UpperAscii(std::string_view(text).substr(0, std::min(text.find('\0'), text.size())));
  for (std::string_view start : starts) ScanUpper(text, upper, start, end, list);
}

}  // namespace pagefold
