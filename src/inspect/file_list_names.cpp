#include "inspect/file_list_names.h"

#include <string_view>

#include "text/case_rules.h"

namespace pagefold {
namespace {

// A name as the file list page writes it, with its character references
// for "<", ">", "&" and '"' read back.
std::string FromPageText(const std::string& text) {
  static const std::pair<const char*, char> kReferences[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}};
  std::string name;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '&')
      for (const auto& [reference, byte] : kReferences)
        if (text.compare(pos, std::char_traits<char>::length(reference), reference) == 0) {
          c = byte;
          pos += std::char_traits<char>::length(reference) - 1;
          break;
        }
    name += c;
  }
  return name;
}

}  // namespace

std::string FileListKey(const std::string& type, const std::string& name) {
  return text::UpperAscii(type) + "/" + text::UpperAscii(name);
}

std::unordered_map<std::string, std::string> FileListNames(const std::string& page) {
  // A row: <td><a href="../TYPE/NAME">ORIGINAL</a></td>, read only up to the
  // next row's opening, so that no row reads the rest of the page.
  static const std::string kOpen = "<td><a href=\"../", kClose = "</a></td>";
  std::unordered_map<std::string, std::string> names;
  for (size_t open = page.find(kOpen); open != std::string::npos;) {
    const size_t from = open + kOpen.size();
    open = page.find(kOpen, from);
    const std::string_view row = std::string_view(page).substr(from, open == std::string::npos ? open : open - from);
    const size_t slash = row.find('/'), quote = row.find("\">");
    if (quote == std::string_view::npos || slash >= quote) continue;
    const size_t close = row.find(kClose, quote);
    if (close == std::string_view::npos) continue;
    names.try_emplace(FileListKey(std::string(row.substr(0, slash)), std::string(row.substr(slash + 1, quote - slash - 1))),
                      FromPageText(std::string(row.substr(quote + 2, close - quote - 2))));
  }
  return names;
}

}  // namespace pagefold
