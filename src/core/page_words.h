// The words of a page as link replacement sees them: runs of name bytes
// (ASCII letters and digits, 0x80 to 0xFF, and "_-.~%/\\"). A link text stands
// alone when the bytes around it are not name bytes.
#pragma once

#include <array>
#include <string_view>

namespace pagefold {

namespace page_words_detail {
constexpr std::array<bool, 256> MakeNameBytes() {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[b] = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80 ||
               std::string_view("_-.~%/\\").find(static_cast<char>(b)) != std::string_view::npos;
  return table;
}
inline constexpr std::array<bool, 256> kNameBytes = MakeNameBytes();
}  // namespace page_words_detail

inline bool IsNameByte(char c) { return page_words_detail::kNameBytes[static_cast<unsigned char>(c)]; }

// True when the bytes around page[pos, pos + length) are not name bytes.
inline bool StandsAlone(std::string_view page, size_t pos, size_t length) {
  return (pos == 0 || !IsNameByte(page[pos - 1])) && (pos + length >= page.size() || !IsNameByte(page[pos + length]));
}

// A word of a text, with where it begins in the text.
struct Word {
  size_t offset;
  std::string_view bytes;
};

template <typename Visit>
void ForEachWord(std::string_view text, Visit visit) {
  for (size_t pos = 0; pos < text.size();) {
    size_t end = pos;
    while (end < text.size() && IsNameByte(text[end])) ++end;
    if (end > pos) visit(Word{pos, text.substr(pos, end - pos)});
    pos = end + (end == pos);
  }
}

}  // namespace pagefold
