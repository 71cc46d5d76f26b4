#include "text/page_encoding.h"

#include <gtest/gtest.h>

namespace {

using pagefold::text::IsUtf8Page;

const std::string kUtf8Link = "<a href=\"\xD0\xBA\xD0\xB0\xD1\x82.gif\">";  // кат.gif in UTF-8
const std::string kCp1251Link = "<a href=\"\xEA\xE0\xF2.gif\">";            // кат.gif in Windows-1251

TEST(PageEncoding, AByteOrderMarkMakesUtf8) {
  EXPECT_TRUE(IsUtf8Page("\xEF\xBB\xBF<p>plain</p>"));
  EXPECT_TRUE(IsUtf8Page("\xEF\xBB\xBF<meta charset=\"windows-1251\">" + kCp1251Link));
  EXPECT_FALSE(IsUtf8Page("\xEF\xBB<p>"));
  EXPECT_FALSE(IsUtf8Page(" \xEF\xBB\xBF" + kCp1251Link));
}

TEST(PageEncoding, TheFirstDeclarationDecides) {
  EXPECT_TRUE(IsUtf8Page("<meta charset=\"utf-8\"><p>ascii</p>"));
  EXPECT_TRUE(IsUtf8Page("<META CHARSET='UTF-8'>" + kCp1251Link));
  EXPECT_TRUE(IsUtf8Page("<meta charset = utf8>"));
  EXPECT_TRUE(IsUtf8Page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"));
  EXPECT_TRUE(IsUtf8Page("<meta content=\"text/html; Charset=UTF-8\" http-equiv=\"content-type\">"));
  EXPECT_TRUE(IsUtf8Page("@charset \"utf-8\";\na { background: url(x.gif) }"));
  EXPECT_TRUE(IsUtf8Page("@CHARSET 'UTF-8';"));
  // Windows-1251, or any other name, with bytes that read as UTF-8.
  EXPECT_FALSE(IsUtf8Page("<meta charset=\"windows-1251\">" + kUtf8Link));
  EXPECT_FALSE(IsUtf8Page("<meta content=\"text/html; charset=cp1251\">" + kUtf8Link));
  EXPECT_FALSE(IsUtf8Page("@charset \"koi8-r\";" + kUtf8Link));
  EXPECT_FALSE(IsUtf8Page("<meta charset=\"utf-16\">" + kUtf8Link));
  EXPECT_FALSE(IsUtf8Page("<meta charset=\"windows-1251\"><meta charset=\"utf-8\">" + kUtf8Link));
  // The word alone declares nothing: the bytes decide.
  EXPECT_TRUE(IsUtf8Page("<p>charset is utf-8</p><p>charset \"x\"</p><p>charset=</p>" + kUtf8Link));
  EXPECT_FALSE(IsUtf8Page("<p>charset \"utf-8\"</p>" + kCp1251Link));
}

TEST(PageEncoding, OnlyTheFirst1024BytesAreSearched) {
  // "<meta charset=\"utf-8\"" is 21 bytes: the quote after the name is the last byte searched.
  const std::string filler(1024 - 21, ' ');
  EXPECT_TRUE(IsUtf8Page(filler + "<meta charset=\"utf-8\">" + kCp1251Link));
  // One byte later the name is cut: no declaration, the bytes decide.
  EXPECT_FALSE(IsUtf8Page(filler + " <meta charset=\"utf-8\">" + kCp1251Link));
  EXPECT_TRUE(IsUtf8Page(filler + " <meta charset=\"windows-1251\">" + kUtf8Link));
  EXPECT_FALSE(IsUtf8Page(std::string(2000, ' ') + "<meta charset=\"utf-8\">" + kCp1251Link));
  EXPECT_TRUE(IsUtf8Page(std::string(2000, ' ') + "<meta charset=\"windows-1251\">" + kUtf8Link));
}

TEST(PageEncoding, WithoutADeclarationValidUtf8BeyondAsciiMakesUtf8) {
  EXPECT_TRUE(IsUtf8Page(kUtf8Link));
  EXPECT_TRUE(IsUtf8Page(std::string(5000, 'a') + kUtf8Link));  // past the declaration's reach
  EXPECT_FALSE(IsUtf8Page(kCp1251Link));
  EXPECT_FALSE(IsUtf8Page(kUtf8Link + kCp1251Link));
  EXPECT_FALSE(IsUtf8Page("<a href=\"a.gif\">"));  // ASCII alone
  EXPECT_FALSE(IsUtf8Page(""));
  // One letter "ы" (D1 8B) at every place of pages up to 20 bytes long, so
  // that it falls in each byte of a group of eight and in the tail.
  for (size_t length = 2; length <= 20; ++length)
    for (size_t at = 0; at + 2 <= length; ++at) {
      std::string page(length, 'a');
      page.replace(at, 2, "\xD1\x8B");
      EXPECT_TRUE(IsUtf8Page(page)) << length << " " << at;
      page[at] = 'a';  // the second byte alone is not UTF-8
      EXPECT_FALSE(IsUtf8Page(page)) << length << " " << at;
    }
}

}  // namespace
