#include "core/style_sheet_links.h"

#include <algorithm>
#include <string_view>

namespace pagefold {
namespace {

bool IsCssBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Bytes that continue a CSS name, so that "myurl(" is another function.
bool IsCssNameByte(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80 || c == '-' ||
         c == '_' || c == '\\';
}

char UpperAsciiByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Scans the text up to its first zero byte, matching "url(" and "@import"
// without regard to ASCII case; the text is not copied.
class LinkScan {
 public:
  explicit LinkScan(std::string_view text) : text_(text), end_(std::min(text.find('\0'), text.size())) {}

  std::vector<std::string> Links(bool withImports) {
    std::vector<std::string> links;
    size_t pos = 0;
    // The next place of each, found again only once the scan has passed it.
    size_t url = FindUrl(0);
    size_t import = withImports ? FindWord("@IMPORT", 0) : std::string::npos;
    while (url != std::string::npos || import != std::string::npos) {
      pos = url < import ? ReadUrl(url + 4, links) : ReadImport(import + 7, links);
      if (url != std::string::npos && url < pos) url = FindUrl(pos);
      if (import != std::string::npos && import < pos) import = FindWord("@IMPORT", pos);
    }
    return links;
  }

 private:
  // The next place from `from` where the upper-case word stands in any case.
  size_t FindWord(std::string_view word, size_t from) const {
    for (size_t hit = Find(word[0], from); hit != std::string::npos; hit = Find(word[0], hit + 1)) {
      if (hit + word.size() > end_) return std::string::npos;
      size_t i = 1;
      while (i < word.size() && UpperAsciiByte(text_[hit + i]) == word[i]) ++i;
      if (i == word.size()) return hit;
    }
    return std::string::npos;
  }

  // The next "url(": found by its parenthesis, not part of a longer name.
  size_t FindUrl(size_t from) const {
    for (size_t paren = Find('(', from + 3); paren != std::string::npos; paren = Find('(', paren + 1)) {
      const size_t hit = paren - 3;
      if (UpperAsciiByte(text_[hit]) == 'U' && UpperAsciiByte(text_[hit + 1]) == 'R' &&
          UpperAsciiByte(text_[hit + 2]) == 'L' && (hit == 0 || !IsCssNameByte(text_[hit - 1])))
        return hit;
    }
    return std::string::npos;
  }

  // A byte at or after `from` within the scanned part, or npos.
  size_t Find(char c, size_t from) const {
    if (from >= end_) return std::string::npos;
    const size_t hit = text_.find(c, from);
    return hit < end_ ? hit : std::string::npos;
  }

  // Find for a closing byte. Once a search from some place has found none,
  // no search from a later place can, so an unclosed "url(" or quote does
  // not make every later one search the rest of the text again.
  size_t FindClose(char c, size_t from) {
    size_t& noneFrom = c == ')' ? noParenFrom_ : c == '"' ? noDoubleQuoteFrom_ : noSingleQuoteFrom_;
    if (from >= noneFrom) return std::string::npos;
    const size_t hit = Find(c, from);
    if (hit == std::string::npos) noneFrom = from;
    return hit;
  }

  size_t SkipBlanks(size_t pos) const {
    while (pos < end_ && IsCssBlank(text_[pos])) ++pos;
    return pos;
  }

  // Adds the non-empty text between two positions; returns where the scan goes on.
  size_t Take(size_t from, size_t to, size_t resume, std::vector<std::string>& links) const {
    if (to > from) links.emplace_back(text_.substr(from, to - from));
    return resume;
  }

  // A value in quotes at pos: added, and the position behind its closing
  // quote returned; nothing added and pos returned when it is not one.
  size_t ReadQuoted(size_t pos, std::vector<std::string>& links) {
    if (pos >= end_ || (text_[pos] != '"' && text_[pos] != '\'')) return pos;
    const size_t close = FindClose(text_[pos], pos + 1);
    if (close == std::string::npos) return pos;
    return Take(pos + 1, close, close + 1, links);
  }

  // The value behind "url(", which ends at `from`.
  size_t ReadUrl(size_t from, std::vector<std::string>& links) {
    const size_t start = SkipBlanks(from);
    if (start < end_ && (text_[start] == '"' || text_[start] == '\'')) return ReadQuoted(start, links);
    const size_t close = FindClose(')', start);
    if (close == std::string::npos) return from;
    size_t end = close;
    while (end > start && IsCssBlank(text_[end - 1])) --end;
    return Take(start, end, close + 1, links);
  }

  // The string behind "@import", which ends at `from`; "@import url(...)"
  // is left to the url scan.
  size_t ReadImport(size_t from, std::vector<std::string>& links) {
    return ReadQuoted(SkipBlanks(from), links);
  }

  const std::string_view text_;
  const size_t end_;  // the first zero byte, or the size
  // Where a search for each closing byte last found none, or npos.
  size_t noParenFrom_ = std::string::npos;
  size_t noDoubleQuoteFrom_ = std::string::npos;
  size_t noSingleQuoteFrom_ = std::string::npos;
};

}  // namespace

std::vector<std::string> CssUrlValues(std::string_view text) { return LinkScan(text).Links(false); }

std::vector<std::string> StyleSheetLinks(const std::string& sheet) { return LinkScan(sheet).Links(true); }

}  // namespace pagefold
