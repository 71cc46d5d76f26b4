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
    EXPECT_EQ(text::LowerCp1251(static_cast<unsigned char>(b)), expected) << "byte " << b;
  }
  EXPECT_EQ(text::LowerCp1251(W("АБ AbZ ЁЯ Ґ")), W("аб abz ёя ґ"));
}

TEST(CaseRules, AsciiRulesTouchOnlyLatinLetters) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string upper = text::UpperAscii(all), lower = text::LowerAscii(all);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(static_cast<unsigned char>(upper[b]), (b >= 'a' && b <= 'z') ? b - 32 : b);
    EXPECT_EQ(static_cast<unsigned char>(lower[b]), (b >= 'A' && b <= 'Z') ? b + 32 : b);
  }
  EXPECT_EQ(text::UpperAscii("../jpg/search_file_nomber_12"), "../JPG/SEARCH_FILE_NOMBER_12");
  EXPECT_EQ(text::UpperAscii("\xEC\xEE\xE8"), "\xEC\xEE\xE8");  // Cyrillic stays small
}

}  // namespace
