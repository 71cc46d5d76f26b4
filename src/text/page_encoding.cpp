#include "text/page_encoding.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "text/cp1251.h"

namespace pagefold::text {
namespace {

// Only the head of a page is searched for a declaration.
constexpr size_t kDeclarationScan = 1024;
constexpr std::string_view kCharset = "charset";

char LowerAsciiChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsNameChar(char c) {
  const char lower = LowerAsciiChar(c);
  return (lower >= 'a' && lower <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
}

size_t SkipSpaces(std::string_view head, size_t pos) {
  while (pos < head.size() && (head[pos] == ' ' || head[pos] == '\t' || head[pos] == '\r' || head[pos] == '\n'))
    ++pos;
  return pos;
}

bool IsCharsetWordAt(std::string_view head, size_t pos) {
  if (head.size() - pos < kCharset.size()) return false;
  for (size_t i = 0; i < kCharset.size(); ++i)
    if (LowerAsciiChar(head[pos + i]) != kCharset[i]) return false;
  return true;
}

// The name, in lower case, declared by the word "charset" at pos: followed by
// "=" and the name, quoted or not, or after "@" by a quoted name. Nothing when
// the word declares nothing or its name runs to the end of the head.
std::optional<std::string> DeclaredAt(std::string_view head, size_t pos) {
  size_t at = SkipSpaces(head, pos + kCharset.size());
  const bool equals = at < head.size() && head[at] == '=';
  if (equals) {
    at = SkipSpaces(head, at + 1);
  } else if (pos == 0 || head[pos - 1] != '@') {
    return std::nullopt;
  }
  if (at < head.size() && (head[at] == '"' || head[at] == '\'')) {
    ++at;
  } else if (!equals) {
    return std::nullopt;
  }
  std::string name;
  while (at < head.size() && IsNameChar(head[at])) name += LowerAsciiChar(head[at++]);
  // A name cut off by the end of the head is not known whole.
  if (name.empty() || at == head.size()) return std::nullopt;
  return name;
}

std::optional<std::string> FirstDeclaration(const std::string& bytes) {
  const std::string_view head = std::string_view(bytes).substr(0, kDeclarationScan);
  for (size_t pos = 0; pos < head.size(); ++pos)
    if (LowerAsciiChar(head[pos]) == kCharset[0] && IsCharsetWordAt(head, pos))
      if (auto name = DeclaredAt(head, pos)) return name;
  return std::nullopt;
}

// Eight bytes at a time: a byte beyond ASCII has its top bit set.
bool HasNonAscii(const std::string& bytes) {
  size_t pos = 0;
  for (; pos + 8 <= bytes.size(); pos += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, bytes.data() + pos, sizeof eight);
    if (eight & 0x8080808080808080u) return true;
  }
  for (; pos < bytes.size(); ++pos)
    if (static_cast<unsigned char>(bytes[pos]) >= 0x80) return true;
  return false;
}

}  // namespace

bool IsUtf8Page(const std::string& bytes) {
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return true;
  if (const auto declared = FirstDeclaration(bytes)) return *declared == "utf-8" || *declared == "utf8";
  return HasNonAscii(bytes) && IsValidUtf8(bytes);
}

}  // namespace pagefold::text
