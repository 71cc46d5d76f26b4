#include "core/name_conversion.h"

#include <array>
#include <string_view>

#include "platform/native_path.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// The extension with its dot, inside the name: from the last dot that follows
// the last backslash or colon; empty when there is none.
std::string_view ExtOf(std::string_view name) {
  for (size_t pos = name.size(); pos-- > 0;) {
    const char c = name[pos];
    if (c == '.') return name.substr(pos);
    if (c == '\\' || c == ':') break;
  }
  return {};
}

// True when the extension lower-cased by the Windows-1251 letter pairs equals
// the given lower-case text.
bool LowerExtEquals(std::string_view ext, std::string_view lower) {
  if (ext.size() != lower.size()) return false;
  for (size_t i = 0; i < ext.size(); ++i)
    if (text::LowerCp1251(static_cast<unsigned char>(ext[i])) != static_cast<unsigned char>(lower[i])) return false;
  return true;
}

// True when the extension lower-cased so contains the given lower-case text.
bool LowerExtContains(std::string_view ext, std::string_view lower) {
  for (size_t from = 0; from + lower.size() <= ext.size(); ++from)
    if (LowerExtEquals(ext.substr(from, lower.size()), lower)) return true;
  return false;
}

// The Latin text of every byte that transliteration replaces; empty for the
// bytes that are copied unchanged.
std::array<const char*, 256> MakeTranslitTable() {
  std::array<const char*, 256> t{};
  t[0x20] = "_";
  t[0x28] = "_";
  t[0x29] = "_";
  // а to я, bytes E0 to FF.
  const char* const kSmall[32] = {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "i", "k",
                                  "l", "m", "n", "o", "p", "r", "s", "t", "u", "f", "h",
                                  "c", "ch", "sh", "ch", "'", "i", "'", "e", "u", "ia"};
  for (int i = 0; i < 32; ++i) t[0xE0 + i] = kSmall[i];
  t[0xB8] = "e";  // ё
  return t;
}

const std::array<const char*, 256> kTranslit = MakeTranslitTable();

}  // namespace

std::string ExtWithDot(const std::string& name) { return std::string(ExtOf(name)); }

std::string FileNamePart(const std::string& path) {
  const char native = platform::NativeSeparator();
  size_t from = path.size();
  while (from > 0 && path[from - 1] != '\\' && path[from - 1] != native) --from;
  return path.substr(from);
}

bool IsPageName(const std::string& name) { return LowerExtContains(ExtOf(name), "htm"); }

bool IsStyleSheetName(const std::string& name) { return LowerExtEquals(ExtOf(name), ".css"); }

std::string ExtNoDot(const std::string& name) {
  const std::string_view ext = ExtOf(name);
  return ext.empty() ? "" : std::string(ext.substr(1));
}

std::string NameNoExt(const std::string& name) {
  const size_t folder = name.find_last_of("\\:");
  const std::string file = folder == std::string::npos ? name : name.substr(folder + 1);
  const size_t dot = file.rfind('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

std::string Translit(const std::string& name) {
  std::string out;
  out.reserve(name.size() * 2);
  for (const char c : name) {
    const unsigned char lower = text::LowerCp1251(static_cast<unsigned char>(c));
    if (const char* latin = kTranslit[lower])
      out += latin;
    else
      out += static_cast<char>(lower);
  }
  return out;
}

}  // namespace pagefold
