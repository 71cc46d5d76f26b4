#include "text/cp1251.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace pagefold::text {
namespace {

// Code points of the bytes 0x80 to 0xFF; the lower half is ASCII.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Decodes one UTF-8 sequence at pos; advances pos. Nothing on malformed input
// (overlong forms, surrogates, truncated or stray continuation bytes).
std::optional<char32_t> NextUtf8(const std::string& s, size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  int extra = 0;
  char32_t code = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    code = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (pos + extra >= s.size()) return std::nullopt;  // truncated
  for (int i = 1; i <= extra; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + i]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (c & 0x3F);
  }
  const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
  if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return std::nullopt;
  pos += extra + 1;
  return code;
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
  char escape[16];
  std::snprintf(escape, sizeof escape, format, value);
  out += escape;
}

// Bytes 1 to 0x7F are the same characters in both encodings, and most names
// are made of them alone.
bool IsPlainAscii(const std::string& bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) - 1u >= 0x7Fu) return false;
  return true;
}

}  // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
  return byte < 0x80 ? byte : kUpperHalf[byte - 0x80];
}

std::optional<unsigned char> UnicodeToCp1251(char32_t code) {
  if (code < 0x80) return static_cast<unsigned char>(code);
  for (size_t i = 0; i < kUpperHalf.size(); ++i)
    if (kUpperHalf[i] != 0 && kUpperHalf[i] == code) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

std::optional<std::string> Cp1251ToUtf8(const std::string& bytes) {
  if (IsPlainAscii(bytes)) return bytes;
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const char32_t code = Cp1251ToUnicode(b);
    if (code == 0 && b != 0) return std::nullopt;
    AppendUtf8(out, code);
  }
  return out;
}

std::optional<std::string> Utf8ToCp1251(const std::string& utf8) {
  if (IsPlainAscii(utf8)) return utf8;
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto code = NextUtf8(utf8, pos);
    if (!code) return std::nullopt;
    const auto byte = UnicodeToCp1251(*code);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string Utf8ToCp1251Shown(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto code = NextUtf8(utf8, pos);
    if (!code) {
      AppendEscape(out, "\\x%02X", static_cast<unsigned char>(utf8[pos++]));
    } else if (const auto byte = UnicodeToCp1251(*code)) {
      out += static_cast<char>(*byte);
    } else if (*code > 0xFFFF) {
      AppendEscape(out, "\\u%04X", 0xD800 + ((*code - 0x10000) >> 10));
      AppendEscape(out, "\\u%04X", 0xDC00 + ((*code - 0x10000) & 0x3FF));
    } else {
      AppendEscape(out, "\\u%04X", *code);
    }
  }
  return out;
}

std::optional<std::u16string> Cp1251ToUtf16(const std::string& bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const char32_t code = Cp1251ToUnicode(b);
    if (code == 0 && b != 0) return std::nullopt;
    out += static_cast<char16_t>(code);
  }
  return out;
}

std::optional<std::string> Utf16ToCp1251(const std::u16string& utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (char16_t unit : utf16) {
    const auto byte = UnicodeToCp1251(unit);  // surrogates have no form
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string Cp1251Text(const char* utf8) {
  auto converted = Utf8ToCp1251(utf8);
  if (!converted) throw std::invalid_argument(std::string("no Windows-1251 form: ") + utf8);
  return *converted;
}

bool IsValidUtf8(const std::string& bytes) {
  size_t pos = 0;
  while (pos < bytes.size())
    if (!NextUtf8(bytes, pos)) return false;
  return true;
}

}  // namespace pagefold::text
