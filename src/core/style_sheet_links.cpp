#include "core/style_sheet_links.h"

#include <algorithm>

#include "text/case_rules.h"

namespace pagefold {
namespace {

bool IsCssBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Bytes that continue a CSS name, so that "myurl(" is another function.
bool IsCssNameByte(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80 || c == '-' ||
         c == '_' || c == '\\';
}

// Scans the text up to its first zero byte. Searches run in an upper-cased
// copy that keeps every byte at its place; values are cut from the text.
class LinkScan {
 public:
  explicit LinkScan(const std::string& text) : text_(text), upper_(text::UpperAscii(text)) {
    upper_.resize(std::min(upper_.find('\0'), upper_.size()));
  }

  std::vector<std::string> Links(bool withImports) {
    std::vector<std::string> links;
    size_t pos = 0;
    for (;;) {
      const size_t url = FindUrl(pos);
      const size_t import = withImports ? upper_.find("@IMPORT", pos) : std::string::npos;
      if (url == std::string::npos && import == std::string::npos) return links;
      pos = url < import ? ReadUrl(url + 4, links) : ReadImport(import + 7, links);
    }
  }

 private:
  size_t FindUrl(size_t from) const {
    size_t hit = upper_.find("URL(", from);
    while (hit != std::string::npos && hit > 0 && IsCssNameByte(upper_[hit - 1])) hit = upper_.find("URL(", hit + 1);
    return hit;
  }

  size_t SkipBlanks(size_t pos) const {
    while (pos < upper_.size() && IsCssBlank(upper_[pos])) ++pos;
    return pos;
  }

  // Adds the non-empty text between two positions; returns where the scan goes on.
  size_t Take(size_t from, size_t to, size_t resume, std::vector<std::string>& links) const {
    if (to > from) links.push_back(text_.substr(from, to - from));
    return resume;
  }

  // A value in quotes at pos: added, and the position behind its closing
  // quote returned; nothing added and pos returned when it is not one.
  size_t ReadQuoted(size_t pos, std::vector<std::string>& links) const {
    if (pos >= upper_.size() || (upper_[pos] != '"' && upper_[pos] != '\'')) return pos;
    const size_t close = upper_.find(upper_[pos], pos + 1);
    if (close == std::string::npos) return pos;
    return Take(pos + 1, close, close + 1, links);
  }

  // The value behind "url(", which ends at `from`.
  size_t ReadUrl(size_t from, std::vector<std::string>& links) const {
    const size_t start = SkipBlanks(from);
    if (start < upper_.size() && (upper_[start] == '"' || upper_[start] == '\'')) return ReadQuoted(start, links);
    const size_t close = upper_.find(')', start);
    if (close == std::string::npos) return from;
    size_t end = close;
    while (end > start && IsCssBlank(upper_[end - 1])) --end;
    return Take(start, end, close + 1, links);
  }

  // The string behind "@import", which ends at `from`; "@import url(...)"
  // is left to the url scan.
  size_t ReadImport(size_t from, std::vector<std::string>& links) const {
    return ReadQuoted(SkipBlanks(from), links);
  }

  const std::string& text_;
  std::string upper_;
};

}  // namespace

std::vector<std::string> CssUrlValues(const std::string& text) { return LinkScan(text).Links(false); }

std::vector<std::string> StyleSheetLinks(const std::string& sheet) { return LinkScan(sheet).Links(true); }

}  // namespace pagefold
