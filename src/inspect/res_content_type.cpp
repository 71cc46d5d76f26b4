#include "inspect/res_content_type.h"

#include <algorithm>

#include "inspect/res_index.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

constexpr std::uint16_t kHtmlOrdinal = 23;  // RT_HTML

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

std::string_view PictureType(std::string_view bytes) {
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return "image/gif";
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return "image/jpeg";
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return "image/png";
  return "";
}

// Markup that opens an HTML document, after blanks and a UTF-8 byte-order
// mark: one of the tags a browser's sniffing knows, then a blank or ">".
bool LooksLikeHtml(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const size_t start = bytes.find_first_not_of(" \t\r\n\f");
  if (start == std::string_view::npos) return false;
  const std::string head = text::UpperAscii(std::string(bytes.substr(start, 16)));
  if (StartsWith(head, "<!--")) return true;
  for (std::string_view tag : {"<!DOCTYPE HTML", "<HTML", "<HEAD", "<BODY", "<SCRIPT", "<TITLE", "<TABLE", "<P",
                               "<A", "<DIV", "<H1", "<BR", "<STYLE", "<IFRAME", "<FONT", "<B"}) {
    if (!StartsWith(head, tag) || head.size() <= tag.size()) continue;
    const char after = head[tag.size()];
    if (after == ' ' || after == '>' || after == '\t' || after == '\n' || after == '\r') return true;
  }
  return false;
}

}  // namespace

std::string ResContentType(const ResId& type, std::string_view bytes) {
  bytes = bytes.substr(0, kSniffedBytes);
  if (const std::string_view picture = PictureType(bytes); !picture.empty()) return std::string(picture);
  const std::string name = type.isOrdinal ? "" : text::UpperAscii(ShownResId(type));
  if ((type.isOrdinal && type.ordinal == kHtmlOrdinal) || name.find("HTM") != std::string::npos)
    return "text/html";
  if (name == "CSS") return "text/css";
  if (name == "JS") return "text/javascript";
  if (LooksLikeHtml(bytes)) return "text/html";
  return "application/octet-stream";
}

std::optional<std::string> ReadSniffedBytes(ResSource& source, const ResEntry& entry) {
  if (entry.dataOffset > source.Size() || entry.dataSize > source.Size() - entry.dataOffset) return std::nullopt;
  ResEntry head = entry;
  head.dataSize = static_cast<std::uint32_t>(std::min<std::size_t>(entry.dataSize, kSniffedBytes));
  return ReadResourceData(source, head);
}

}  // namespace pagefold
