// Windows-1251, the code page of every text inside Pagefold, and its
// conversions to and from Unicode.
#pragma once

#include <optional>
#include <string>

namespace pagefold::text {

// The Unicode code point of a Windows-1251 byte; 0 for 0x98, which the code
// page leaves undefined (byte 0 itself maps to 0 as well).
char32_t Cp1251ToUnicode(unsigned char byte);

// The Windows-1251 byte of a code point, or nothing when the code page has no
// form for it.
std::optional<unsigned char> UnicodeToCp1251(char32_t code);

// Conversions of whole texts. Each returns nothing when a character has no
// form on the other side (a code point outside Windows-1251, byte 0x98, or
// malformed UTF-8 / UTF-16); there is never a silent replacement.
std::optional<std::string> Cp1251ToUtf8(const std::string& bytes);
std::optional<std::string> Utf8ToCp1251(const std::string& utf8);
std::optional<std::u16string> Cp1251ToUtf16(const std::string& bytes);
std::optional<std::string> Utf16ToCp1251(const std::u16string& utf16);

// The Windows-1251 form of a UTF-8 text to show it: "\uXXXX" (four capital
// hex digits, as ShownResId writes them; a UTF-16 pair above U+FFFF) for a
// character that Windows-1251 lacks, and "\xHH" for every byte that begins no
// well-formed sequence.
std::string Utf8ToCp1251Shown(const std::string& utf8);

// The Windows-1251 form of a text written in the (UTF-8) source code, such as
// a message of the interface. Raises std::invalid_argument when a character
// has no Windows-1251 form: that is a mistake in the program.
std::string Cp1251Text(const char* utf8);

// True when the text is well-formed UTF-8.
bool IsValidUtf8(const std::string& bytes);

}  // namespace pagefold::text
