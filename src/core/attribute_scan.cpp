#include "core/attribute_scan.h"

#include <algorithm>

#include "core/link_resolution.h"
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
  // The end text behind the last value; still the next one while the scan has not passed it.
  size_t to = 0;
  bool toFound = false;
  for (size_t found = upper.find(upperStart); found != std::string::npos;) {
    const size_t from = found + upperStart.size();
    if (!toFound || to < from) {
      to = upper.find(upperEnd, from);
      toFound = true;
    }
    if (to == std::string::npos) return;
    const std::string_view value = text.substr(from, to - from);
    const std::string_view link = LinkInValue(value);
    const size_t linkEnd = from + static_cast<size_t>(link.data() - value.data()) + link.size();
    // A start text inside the link is part of it; one behind it, before the
    // end text, is the next attribute of the same tag and ends this value.
    const size_t next = upper.find(upperStart, std::max(linkEnd, found + 1));
    if (next < to) {
      values.push_back(text.substr(from, next - from));
      found = next;
    } else {
      values.push_back(value);
      const size_t resume = to + upperEnd.size();
      found = next >= resume ? next : upper.find(upperStart, resume);
    }
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
