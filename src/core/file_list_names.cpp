#include "core/file_list_names.h"

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
  // A row: <td><a href="../TYPE/NAME">ORIGINAL</a></td>
  static const std::string kOpen = "<td><a href=\"../", kClose = "</a></td>";
  std::unordered_map<std::string, std::string> names;
  for (size_t pos = page.find(kOpen); pos != std::string::npos; pos = page.find(kOpen, pos)) {
    pos += kOpen.size();
    const size_t slash = page.find('/', pos), quote = page.find("\">", pos);
    if (quote == std::string::npos) break;
    const size_t close = page.find(kClose, quote);
    if (slash >= quote || close == std::string::npos) continue;
    const std::string type = page.substr(pos, slash - pos), name = page.substr(slash + 1, quote - slash - 1);
    names.try_emplace(FileListKey(type, name), FromPageText(page.substr(quote + 2, close - quote - 2)));
    pos = close;
  }
  return names;
}

}  // namespace pagefold
