#include "core/name_conversion.h"

#include <array>

#include "platform/native_path.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// Position of the last dot, backslash or colon; npos when there is none.
size_t LastMark(const std::string& name) { return name.find_last_of(".\\:"); }

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

std::string ExtWithDot(const std::string& name) {
  const size_t mark = LastMark(name);
  if (mark == std::string::npos || name[mark] != '.') return "";
  return name.substr(mark);
}

std::string FileNamePart(const std::string& path) {
  const std::string separators = {'\\', platform::NativeSeparator()};
  const size_t last = path.find_last_of(separators);
  return last == std::string::npos ? path : path.substr(last + 1);
}

bool IsPageName(const std::string& name) {
  return text::LowerCp1251(ExtWithDot(name)).find("htm") != std::string::npos;
}

bool IsStyleSheetName(const std::string& name) { return text::LowerCp1251(ExtWithDot(name)) == ".css"; }

std::string ExtNoDot(const std::string& name) {
  const std::string ext = ExtWithDot(name);
  return ext.empty() ? "" : ext.substr(1);
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
  for (char c : text::LowerCp1251(name)) {
    const char* latin = kTranslit[static_cast<unsigned char>(c)];
    if (latin)
      out += latin;
    else
      out += c;
  }
  return out;
}

}  // namespace pagefold
