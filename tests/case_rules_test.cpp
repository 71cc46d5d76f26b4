#include "text/case_rules.h"

#include <gtest/gtest.h>

#include <map>

#include "test_support.h"

namespace {

using testing_support::W;

TEST(CaseRules, LowerCp1251ChangesExactlyTheLetterPairsOfTheCodePage) {
  // Every capital of the code page followed by its small letter, written out
  // as letters, not as bytes.
  const std::string pairs = W("AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz"
                              "АаБбВвГгДдЕеЁёЖжЗзИиЙйКкЛлМмНнОоПпРрСсТтУуФфХхЦцЧчШшЩщЪъЫыЬьЭэЮюЯя"
                              "ЂђЃѓЉљЊњЌќЋћЏџЎўЈјҐґЄєЇїІіЅѕ");
  ASSERT_EQ(pairs.size(), 2u * (26 + 33 + 14));
  std::map<unsigned char, unsigned char> lower;
  for (std::size_t i = 0; i < pairs.size(); i += 2)
    lower[static_cast<unsigned char>(pairs[i])] = static_cast<unsigned char>(pairs[i + 1]);
  for (int b = 0; b < 256; ++b) {
    const int expected = lower.count(b) ? lower[b] : b;
    EXPECT_EQ(pagefold::text::LowerCp1251(static_cast<unsigned char>(b)), expected) << "byte " << b;
  }
  EXPECT_EQ(pagefold::text::LowerCp1251(W("АБ AbZ ЁЯ Ґ")), W("аб abz ёя ґ"));
}

TEST(CaseRules, AsciiRulesTouchOnlyLatinLetters) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string upper = pagefold::text::UpperAscii(all), lower = pagefold::text::LowerAscii(all);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(static_cast<unsigned char>(upper[b]), (b >= 'a' && b <= 'z') ? b - 32 : b);
    EXPECT_EQ(static_cast<unsigned char>(lower[b]), (b >= 'A' && b <= 'Z') ? b + 32 : b);
  }
  EXPECT_EQ(pagefold::text::UpperAscii("../jpg/search_file_nomber_12"), "../JPG/SEARCH_FILE_NOMBER_12");
  EXPECT_EQ(pagefold::text::UpperAscii("\xEC\xEE\xE8"), "\xEC\xEE\xE8");  // Cyrillic stays small
}

// Whole texts go eight bytes at a time where they can: every byte at every
// place of such a word, among ASCII bytes and beside a byte beyond ASCII,
// must come out as the byte rule says.
TEST(CaseRules, WholeTextsFollowTheByteRuleAtEveryPlace) {
  const std::string edges = std::string("@AZ[`az{\x7F\x00 9", 12) + "\xC0\xDF\xA8\xFF";
  for (const char filler : {'x', 'Q', '\xC1'})
    for (size_t length = 0; length <= 17; ++length)
      for (size_t at = 0; at < length; ++at)
        for (const char byte : edges) {
          std::string text(length, filler);
          text[at] = byte;
          std::string lower, upper;
          for (const char c : text) {
            lower += static_cast<char>(pagefold::text::LowerCp1251(static_cast<unsigned char>(c)));
            upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
          }
          ASSERT_EQ(pagefold::text::LowerCp1251(text), lower) << "length " << length << " at " << at;
          ASSERT_EQ(pagefold::text::UpperAscii(text), upper) << "length " << length << " at " << at;
        }
}

}  // namespace
