#include "text/case_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(CaseRules, LowerCp1251ChangesExactlyTheLetterPairsOfTheCodePage) {
  std::map<int, int> pairs;
  for (int c = 'A'; c <= 'Z'; ++c) pairs[c] = c + 32;
  for (int c = 0xC0; c <= 0xDF; ++c) pairs[c] = c + 32;
  const int extra[][2] = {{0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                          {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC},
                          {0xA5, 0xB4}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
  for (const auto& p : extra) pairs[p[0]] = p[1];
  for (int b = 0; b < 256; ++b) {
    const int expected = pairs.count(b) ? pairs[b] : b;
    EXPECT_EQ(text::LowerCp1251(static_cast<unsigned char>(b)), expected) << "byte " << b;
  }
  EXPECT_EQ(text::LowerCp1251(std::string("\xC0\xC1 AbZ \xA8\xDF")), "\xE0\xE1 abz \xB8\xFF");
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
