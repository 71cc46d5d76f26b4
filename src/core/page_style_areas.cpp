#include "core/page_style_areas.h"

#include <algorithm>
#include <string>

#include "text/case_rules.h"

namespace pagefold {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

class AreaScan {
 public:
  explicit AreaScan(std::string_view page)
      : page_(page.substr(0, std::min(page.find('\0'), page.size()))), upper_(page_) {
    text::UpperAsciiInPlace(upper_);
  }

  std::vector<std::string_view> Areas() {
    std::vector<std::string_view> areas;
    size_t pos = 0;
    for (size_t hit; (hit = upper_.find("STYLE", pos)) != std::string::npos;) {
      const size_t behind = hit + 5;
      if (hit > 0 && upper_[hit - 1] == '<' && behind < upper_.size() &&
          (IsBlank(upper_[behind]) || upper_[behind] == '/' || upper_[behind] == '>')) {
        pos = Element(behind, areas);
      } else if (behind < upper_.size() && upper_[behind] == '=' &&
                 (hit == 0 || IsBlank(upper_[hit - 1]) || upper_[hit - 1] == '/' || IsQuote(upper_[hit - 1]))) {
        pos = Attribute(behind + 1, areas);
      } else {
        pos = hit + 1;
      }
    }
    return areas;
  }

 private:
  // The contents of the element whose start tag's name ends at `from`;
  // returns where the scan goes on.
  size_t Element(size_t from, std::vector<std::string_view>& areas) {
    const size_t tagEnd = upper_.find('>', from);
    if (tagEnd == std::string::npos) return upper_.size();
    const size_t close = std::min(upper_.find("</STYLE", tagEnd + 1), upper_.size());
    areas.push_back(page_.substr(tagEnd + 1, close - tagEnd - 1));
    return close;
  }

  // The attribute value that starts at `from`; returns where the scan goes on.
  size_t Attribute(size_t from, std::vector<std::string_view>& areas) {
    if (from < upper_.size() && IsQuote(upper_[from])) {
      const size_t close = FindClosingQuote(upper_[from], from + 1);
      if (close == std::string::npos) return from;
      areas.push_back(page_.substr(from + 1, close - from - 1));
      return close + 1;
    }
    size_t end = from;
    while (end < upper_.size() && !IsBlank(upper_[end]) && upper_[end] != '>') ++end;
    areas.push_back(page_.substr(from, end - from));
    return end;
  }

  // Once a search from some place has found no closing quote, no search from
  // a later place can, so unclosed values do not each search the rest again.
  size_t FindClosingQuote(char quote, size_t from) {
    size_t& noneFrom = quote == '"' ? noDoubleQuoteFrom_ : noSingleQuoteFrom_;
    if (from >= noneFrom) return std::string::npos;
    const size_t close = upper_.find(quote, from);
    if (close == std::string::npos) noneFrom = from;
    return close;
  }

  const std::string_view page_;  // up to the first zero byte
  std::string upper_;
  size_t noDoubleQuoteFrom_ = std::string::npos;
  size_t noSingleQuoteFrom_ = std::string::npos;
};

}  // namespace

std::vector<std::string_view> PageStyleAreas(std::string_view page) { return AreaScan(page).Areas(); }

}  // namespace pagefold
