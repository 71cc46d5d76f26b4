#include "inspect/res_content_type.h"

#include <gtest/gtest.h>

namespace {

using pagefold::ResContentType;
using pagefold::ResId;

ResId Type(const std::u16string& text) { return ResId{false, 0, text}; }
ResId Ordinal(std::uint16_t n) { return ResId{true, n, {}}; }

TEST(ResContentType, PicturesByTheirBytesThenTheTypeThenMarkup) {
  EXPECT_EQ(ResContentType(Type(u"HTM"), "GIF89a..."), "image/gif");  // the bytes win over the type
  EXPECT_EQ(ResContentType(Type(u"PICS"), "GIF87a"), "image/gif");
  EXPECT_EQ(ResContentType(Type(u"JPG"), "\xFF\xD8\xFF\xE0"), "image/jpeg");
  EXPECT_EQ(ResContentType(Type(u"PNG"), "\x89PNG\r\n\x1A\n"), "image/png");
  EXPECT_EQ(ResContentType(Type(u"PNG"), "\x89PNG\r\n"), "application/octet-stream");  // cut short
  EXPECT_EQ(ResContentType(Type(u"shtml"), "text"), "text/html");
  EXPECT_EQ(ResContentType(Ordinal(23), ""), "text/html");
  EXPECT_EQ(ResContentType(Ordinal(10), "<html>"), "text/html");
  EXPECT_EQ(ResContentType(Type(u"css"), "body{}"), "text/css");
  EXPECT_EQ(ResContentType(Type(u"JS"), "alert(1)"), "text/javascript");
  EXPECT_EQ(ResContentType(Type(u"JSON"), "{}"), "application/octet-stream");
  EXPECT_EQ(ResContentType(Type(u"PICS"), "\xEF\xBB\xBF \r\n<!DOCTYPE html>"), "text/html");
  EXPECT_EQ(ResContentType(Type(u"PICS"), "<Body bgcolor=red>"), "text/html");
  EXPECT_EQ(ResContentType(Type(u"PICS"), "<bodyguard>"), "application/octet-stream");
  EXPECT_EQ(ResContentType(Type(u"PICS"), "<html"), "application/octet-stream");  // no end of the tag
  EXPECT_EQ(ResContentType(Type(u"CSS2"), "body{}"), "application/octet-stream");
}

}  // namespace
