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
void ScanUpper(std::string_view text, std::string_view upper, std::string_view start, std::string_view end,
               std::vector<std::string_view>& values) {
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
    values.push_back(text.substr(from, to - from));
    pos = to + upperEnd.size();
  }
}

}  // namespace

void FindBetween(const std::string& text, const std::string& start, const std::string& end, StringList& list) {
  for (std::string_view value : ValuesBetween(text, {start}, end)) list.emplace_back(value);
}

std::vector<std::string_view> ValuesBetween(const std::string& text, std::initializer_list<std::string_view> starts,
                                            std::string_view end) {
  // Nothing behind the first zero byte is searched.
  const std::string upper = UpperAscii(std::string_view(text).substr(0, std::min(text.find('\0'), text.size())));
  std::vector<std::string_view> values;
  for (std::string_view start : starts) ScanUpper(text, upper, start, end, values);
  return values;
}

}  // namespace pagefold
