#include "core/page_style_areas.h"

#include <algorithm>
#include <string>

namespace pagefold {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The page is not copied: "style" is found by its "y", the rarest of its
// letters, looked for in both cases at once.
class AreaScan {
 public:
  explicit AreaScan(std::string_view page) : page_(page.substr(0, std::min(page.find('\0'), page.size()))) {}

  std::vector<std::string_view> Areas() {
    std::vector<std::string_view> areas;
    size_t pos = 0;
    for (size_t hit; (hit = FindStyle(pos)) != std::string::npos;) {
      const size_t behind = hit + 5;
      if (hit > 0 && page_[hit - 1] == '<' && behind < page_.size() &&
          (IsBlank(page_[behind]) || page_[behind] == '/' || page_[behind] == '>')) {
        pos = Element(behind, areas);
      } else if (behind < page_.size() && page_[behind] == '=' &&
                 (hit == 0 || IsBlank(page_[hit - 1]) || page_[hit - 1] == '/' || IsQuote(page_[hit - 1]))) {
        pos = Attribute(behind + 1, areas);
      } else {
        pos = hit + 1;
      }
    }
    return areas;
  }

 private:
  bool IsWordAt(size_t at, std::string_view lowerWord) const {
    if (at + lowerWord.size() > page_.size()) return false;
    for (size_t i = 0; i < lowerWord.size(); ++i)
      if (LowerAscii(page_[at + i]) != lowerWord[i]) return false;
    return true;
  }

  // The next "style" in any case that starts at or after `from`.
  size_t FindStyle(size_t from) {
    for (size_t y = from + 2;; ++y) {
      y = FindY(y);
      if (y == std::string::npos) return y;
      if (IsWordAt(y - 2, "style")) return y - 2;
    }
  }

  // The next "y" or "Y" at or after `from`. Each case's next place is kept
  // until the scan passes it, so that the page is searched once for each.
  size_t FindY(size_t from) {
    for (int i = 0; i < 2; ++i)
      if (nextY_[i] < from) nextY_[i] = page_.find("yY"[i], from);
    return std::min(nextY_[0], nextY_[1]);
  }

  // The contents of the element whose start tag's name ends at `from`;
  // returns where the scan goes on.
  size_t Element(size_t from, std::vector<std::string_view>& areas) {
    const size_t tagEnd = page_.find('>', from);
    if (tagEnd == std::string::npos) return page_.size();
    size_t close = page_.find("</", tagEnd + 1);
    while (close != std::string::npos && !IsWordAt(close + 2, "style")) close = page_.find("</", close + 2);
    close = std::min(close, page_.size());
    areas.push_back(page_.substr(tagEnd + 1, close - tagEnd - 1));
    return close;
  }

  // The attribute value that starts at `from`; returns where the scan goes on.
  size_t Attribute(size_t from, std::vector<std::string_view>& areas) {
    if (from < page_.size() && IsQuote(page_[from])) {
      const size_t close = FindClosingQuote(page_[from], from + 1);
      if (close == std::string::npos) return from;
      areas.push_back(page_.substr(from + 1, close - from - 1));
      return close + 1;
    }
    size_t end = from;
    while (end < page_.size() && !IsBlank(page_[end]) && page_[end] != '>') ++end;
    areas.push_back(page_.substr(from, end - from));
    return end;
  }

  // Once a search from some place has found no closing quote, no search from
  // a later place can, so unclosed values do not each search the rest again.
  size_t FindClosingQuote(char quote, size_t from) {
    size_t& noneFrom = quote == '"' ? noDoubleQuoteFrom_ : noSingleQuoteFrom_;
    if (from >= noneFrom) return std::string::npos;
    const size_t close = page_.find(quote, from);
    if (close == std::string::npos) noneFrom = from;
    return close;
  }

  const std::string_view page_;  // up to the first zero byte
  size_t nextY_[2] = {0, 0};     // 0: not searched yet, as every search starts behind it
  size_t noDoubleQuoteFrom_ = std::string::npos;
  size_t noSingleQuoteFrom_ = std::string::npos;
};

}  // namespace

std::vector<std::string_view> PageStyleAreas(std::string_view page) { return AreaScan(page).Areas(); }

}  // namespace pagefold
