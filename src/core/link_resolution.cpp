#include "core/link_resolution.h"

#include <charconv>
#include <string_view>

#include "core/file_registry.h"
#include "core/name_conversion.h"
#include "text/case_rules.h"
#include "text/cp1251.h"

namespace pagefold {
namespace {

// Drops the last "\"-separated component in place, so that long chains of
// ".." stay linear.
void DropLastComponent(std::string& path) {
  const size_t last = path.rfind('\\');
  path.resize(last == std::string::npos ? 0 : last);
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size())
    out.append(s.substr(pos, hit - pos)).append(to);
  out.append(s.substr(pos));
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsEscapeAt(std::string_view s, size_t pos) {
  return s[pos] == '%' && pos + 2 < s.size() && HexDigit(s[pos + 1]) >= 0 &&
         HexDigit(s[pos + 2]) >= 0;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A scheme: a letter, then letters, digits, "+", "-" or ".", then ":".
bool HasScheme(const std::string& link) {
  if (link.empty() || !IsAsciiLetter(link[0])) return false;
  for (size_t pos = 1; pos < link.size(); ++pos) {
    const char c = link[pos];
    if (c == ':') return true;
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

bool HasNonAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// The character of a numeric reference's digits ("NN" or "xHH"); 0 when
// they are not one.
char32_t NumericReference(std::string_view digits) {
  const bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
  const size_t from = hex ? 1 : 0;
  if (digits.size() <= from || digits.size() - from > 8) return 0;
  char32_t code = 0;
  for (size_t pos = from; pos < digits.size(); ++pos) {
    const int digit = hex ? HexDigit(digits[pos]) : (digits[pos] >= '0' && digits[pos] <= '9' ? digits[pos] - '0' : -1);
    if (digit < 0) return 0;
    code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
  }
  return code;
}

// The byte of the reference "&name;" (name without "&" and ";"); nothing when
// it is not one of ours or names a character outside Windows-1251 (0 among them).
std::optional<char> ReferencedByte(std::string_view name) {
  static const std::pair<const char*, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [named, byte] : kNamed)
    if (name == named) return byte;
  if (name.empty() || name[0] != '#') return std::nullopt;
  const char32_t code = NumericReference(name.substr(1));
  if (code == 0) return std::nullopt;
  const auto byte = text::UnicodeToCp1251(code);
  if (!byte) return std::nullopt;
  return static_cast<char>(*byte);
}

}  // namespace

std::string DecodedCharacterReferences(std::string_view link) {
  if (link.find('&') == std::string::npos) return std::string(link);
  std::string decoded;
  decoded.reserve(link.size());
  for (size_t pos = 0; pos < link.size(); ++pos) {
    // The longest reference, "&#x" and eight digits, ends within twelve bytes.
    const size_t near = link[pos] == '&' ? link.substr(pos, 13).find(';') : std::string::npos;
    const size_t semicolon = near == std::string::npos ? near : pos + near;
    if (semicolon == std::string::npos) {
      decoded += link[pos];
      continue;
    }
    const std::string_view name = link.substr(pos + 1, semicolon - pos - 1);
    const auto byte = ReferencedByte(name);
    // A numeric reference beyond the code page leaves the whole link as written.
    if (!byte && !name.empty() && name[0] == '#' && NumericReference(name.substr(1)) != 0) return std::string(link);
    if (!byte) {
      decoded += link[pos];
      continue;
    }
    decoded += *byte;
    pos = semicolon;
  }
  return decoded;
}

size_t PathEnd(std::string_view link) {
  for (size_t pos = 0; pos < link.size(); ++pos) {
    const char c = link[pos];
    if (c == '?' || (c == '#' && (pos == 0 || link[pos - 1] != '&'))) return pos;
  }
  return std::string::npos;
}

std::string Cnv(std::string_view value) { return std::string(LinkInValue(value)); }

std::string_view LinkInValue(std::string_view value) {
  if (value.empty()) return value;
  char stop = ' ';
  size_t from = 0;
  if (value[0] == '\'' || value[0] == '"') {
    stop = value[0];
    from = 1;
  }
  const size_t to = value.find(stop, from);
  return value.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

std::string DUrl(const std::string& base, std::string_view link) {
  // The link is copied only when it holds "%20".
  std::string spaced;
  std::string_view rest = link;
  if (link.find("%20") != std::string::npos) rest = spaced = ReplaceAll(link, "%20", " ");
  std::string path = base;
  // One segment at least: an empty link adds one empty segment, while a
  // trailing "/" adds none.
  size_t from = 0;
  do {
    size_t to = from;
    while (to < rest.size() && rest[to] != '/') ++to;
    const std::string_view segment = rest.substr(from, to - from);
    if (segment == "..")
      DropLastComponent(path);
    else
      path.append(1, '\\').append(segment);
    from = to + 1;
  } while (from < rest.size());
  if (path.find(".\\") != std::string::npos) path = ReplaceAll(path, ".\\", "");
  if (!path.empty() && path[0] == '\\') path.erase(0, 1);
  return path;
}

std::string up(const std::string& path) {
  std::string parent = path;
  DropLastComponent(parent);
  return parent;
}

std::string ResourceLinkPrefix(const std::string& type) {
  static const std::string kUpperPrefix = text::UpperAscii(kStagedNamePrefix);
  std::string typeName = Translit(type);
  text::UpperAsciiInPlace(typeName);
  return "../" + typeName + "/" + kUpperPrefix;
}

void AppendResourceLink(std::string& links, std::string_view prefix, int number) {
  char digits[16];
  const char* digitsEnd = std::to_chars(digits, digits + sizeof digits, number).ptr;
  links.append(prefix).append(digits, static_cast<size_t>(digitsEnd - digits));
}

std::string ResourceLink(const std::string& type, int number) {
  std::string link;
  AppendResourceLink(link, ResourceLinkPrefix(type), number);
  return link;
}

bool IsOutsideLink(const std::string& link) {
  return !link.empty() && (link[0] == '#' || link[0] == '/' || link[0] == '\\' || HasScheme(link));
}

std::optional<std::string> Utf8LinkToCp1251(std::string_view link) {
  if (!HasNonAscii(link)) return std::nullopt;
  const std::string bytes(link);
  if (!text::IsValidUtf8(bytes)) return std::nullopt;
  return text::Utf8ToCp1251(bytes);
}

std::optional<std::string> PercentDecodedLink(std::string_view link) {
  if (link.find('%') == std::string::npos) return std::nullopt;
  std::string decoded;
  decoded.reserve(link.size());
  bool otherEscape = false;
  for (size_t pos = 0; pos < link.size(); ++pos) {
    if (!IsEscapeAt(link, pos)) {
      decoded += link[pos];
      continue;
    }
    const char byte = static_cast<char>(HexDigit(link[pos + 1]) * 16 + HexDigit(link[pos + 2]));
    otherEscape = otherEscape || byte != ' ';
    decoded += byte;
    pos += 2;
  }
  if (!otherEscape) return std::nullopt;
  if (text::IsValidUtf8(decoded))
    if (auto converted = text::Utf8ToCp1251(decoded)) return converted;
  return decoded;
}

}  // namespace pagefold
