#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace {

// The upper half of the code page as published by Microsoft, written out
// independently of the table in the code: every byte 0x80..0xFF in order.
const char* const kUpperHalfUtf8 =
    "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\x01™љ›њќћџ\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
    "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";

TEST(Cp1251, EveryByteMapsAsTheCodePageSays) {
  std::u32string expected;
  const std::string utf8 = kUpperHalfUtf8;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
    char32_t code = len == 1 ? lead : len == 2 ? (lead & 0x1F) : (lead & 0x0F);
    for (int k = 1; k < len; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
    expected += code;
    i += len;
  }
  ASSERT_EQ(expected.size(), 128u);
  expected[0x18] = 0;  // 0x98 is undefined; the placeholder above stands for it
  for (int b = 0; b < 0x80; ++b) EXPECT_EQ(pagefold::text::Cp1251ToUnicode(b), static_cast<char32_t>(b));
  for (int b = 0x80; b < 0x100; ++b)
    EXPECT_EQ(pagefold::text::Cp1251ToUnicode(b), expected[b - 0x80]) << "byte " << b;
}

TEST(Cp1251, EveryDefinedByteRoundTripsThroughUtf8AndUtf16) {
  for (int b = 0; b < 0x100; ++b) {
    const std::string one(1, static_cast<char>(b));
    const auto utf8 = pagefold::text::Cp1251ToUtf8(one);
    const auto utf16 = pagefold::text::Cp1251ToUtf16(one);
    if (b == 0x98) {
      EXPECT_FALSE(utf8);
      EXPECT_FALSE(utf16);
      continue;
    }
    ASSERT_TRUE(utf8 && utf16) << b;
    EXPECT_EQ(pagefold::text::Utf8ToCp1251(*utf8), one) << b;
    EXPECT_EQ(pagefold::text::Utf16ToCp1251(*utf16), one) << b;
    EXPECT_EQ(pagefold::text::UnicodeToCp1251(pagefold::text::Cp1251ToUnicode(b)), b);
  }
}

TEST(Cp1251, CharactersWithoutAFormFailInsteadOfBecomingQuestionMarks) {
  EXPECT_FALSE(pagefold::text::Utf8ToCp1251("a\xE4\xB8\xAD"));         // CJK
  EXPECT_FALSE(pagefold::text::Utf8ToCp1251("\xC3\xA9"));              // é
  EXPECT_FALSE(pagefold::text::Utf8ToCp1251("\xF0\x9F\x98\x80"));      // emoji
  EXPECT_FALSE(pagefold::text::Utf16ToCp1251(u"\xD83D\xDE00"));        // surrogate pair
  EXPECT_FALSE(pagefold::text::Utf16ToCp1251(u"\u00E9"));
  EXPECT_FALSE(pagefold::text::UnicodeToCp1251(0x0098));                // the hole at byte 0x98
}

TEST(Cp1251, MalformedUtf8IsRejected) {
  EXPECT_FALSE(pagefold::text::IsValidUtf8("\xC0\x80"));      // overlong
  EXPECT_FALSE(pagefold::text::IsValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(pagefold::text::IsValidUtf8("\xD0"));          // truncated
  EXPECT_FALSE(pagefold::text::IsValidUtf8("\x80"));          // stray continuation
  EXPECT_TRUE(pagefold::text::IsValidUtf8("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg"));
  EXPECT_EQ(pagefold::text::Utf8ToCp1251("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg"), "\xF4\xEE\xF2\xEE.jpg");
  EXPECT_EQ(pagefold::text::Cp1251Text("Копируются"), "\xCA\xEE\xEF\xE8\xF0\xF3\xFE\xF2\xF1\xFF");
  EXPECT_THROW(pagefold::text::Cp1251Text("\xC3\xA9"), std::invalid_argument);
}

TEST(Cp1251, ShownUtf8KeepsCyrillicAndEscapesTheRest) {
  // картинка.gif
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xD0\xBA\xD0\xB0\xD1\x80\xD1\x82\xD0\xB8\xD0\xBD\xD0\xBA\xD0\xB0.gif"),
            "\xEA\xE0\xF0\xF2\xE8\xED\xEA\xE0.gif");
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xE2\x82\xAC"), "\x88");                  // €, in the code page
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("a\xE2\x86\x92" "b"), "a\\u2192b");          // →, not in it
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xC2\x98"), "\\u0098");                  // the hole at 0x98
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xC3\xA9"), "\\u00E9");                  // é, capital hex digits
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xF0\x9F\x98\x80"), "\\uD83D\\uDE00");  // a UTF-16 pair
  // Every byte of a malformed sequence on its own; the rest goes on.
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xD0x\xE2\x86"), "\\xD0x\\xE2\\x86");
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xC0\x80\xD1\x8F"), "\\xC0\\x80\xFF");  // overlong, then я
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("\xF4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");  // beyond U+10FFFF
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown("a\tb\\"), "a\tb\\");  // ASCII as it is
  EXPECT_EQ(pagefold::text::Utf8ToCp1251Shown(""), "");
}

}  // namespace
