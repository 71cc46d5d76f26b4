// The bytes of which names are made in a page: ASCII letters and digits, 0x80
// to 0xFF, and "_-.~%/\\". A link text stands alone when the bytes around it
// are not name bytes.
#pragma once

#include <array>
#include <string_view>

namespace pagefold {

namespace name_bytes_detail {
constexpr std::array<bool, 256> MakeNameBytes() {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[b] = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80 ||
               std::string_view("_-.~%/\\").find(static_cast<char>(b)) != std::string_view::npos;
  return table;
}
inline constexpr std::array<bool, 256> kNameBytes = MakeNameBytes();
}  // namespace name_bytes_detail

inline bool IsNameByte(char c) { return name_bytes_detail::kNameBytes[static_cast<unsigned char>(c)]; }

// True when the bytes around page[pos, pos + length) are not name bytes.
inline bool StandsAlone(std::string_view page, size_t pos, size_t length) {
  return (pos == 0 || !IsNameByte(page[pos - 1])) && (pos + length >= page.size() || !IsNameByte(page[pos + length]));
}

}  // namespace pagefold
