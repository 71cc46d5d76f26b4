#include <gtest/gtest.h>

#include "core/attribute_scan.h"
#include "core/link_resolution.h"
#include "test_support.h"

namespace {

using pagefold::Cnv;
using pagefold::DUrl;
using pagefold::StringList;
using pagefold::FindBetween;
using testing_support::W;

StringList Scan(const std::string& text, const std::string& start, const std::string& end = ">") {
  StringList list;
  FindBetween(text, start, end, list);
  return list;
}

TEST(FindBetween, ValuesRunToTheNextEndTextAndKeepTheirCase) {
  EXPECT_EQ(Scan("<a HREF='Page.htm' target='_top'>x</a><A Href=b.htm>", "href="),
            (StringList{"'Page.htm' target='_top'", "b.htm"}));
  // Found inside longer names too, and each attribute on its own: a further
  // start text in the tag ends the value before it.
  EXPECT_EQ(Scan("<img lowsrc='b.gif' src='c.gif'><i data-src=d SRC=\"e\" x>", "src="),
            (StringList{"'b.gif' ", "'c.gif'", "d ", "\"e\" x"}));
  EXPECT_EQ(Scan("<img src=a.gif src=b.gif>", "src="), (StringList{"a.gif ", "b.gif"}));
  EXPECT_EQ(Scan("<img src= src=b.gif>", "src="), (StringList{" ", "b.gif"}));
  // A start text inside the link before it is part of that link, quoted or not.
  EXPECT_EQ(Scan("<img src='a.php?src=b' src=c?src=d>", "src="), (StringList{"'a.php?src=b' ", "c?src=d"}));
  EXPECT_EQ(Scan("<img src=src=src=a>", "src="), StringList{"src=src=a"});
  EXPECT_EQ(Scan("<img src='a src=b>", "src="), StringList{"'a src=b"});
  EXPECT_EQ(Scan("href=\n'a\nb'>href=>", "href="), (StringList{"\n'a\nb'", ""}));
  EXPECT_EQ(Scan("href = a.htm>", "href="), StringList{});
  // A start text without an end text behind it ends the scan.
  EXPECT_EQ(Scan("href=a href=b", "href="), StringList{});
  // Nothing behind the first zero byte is searched, not even an end text.
  EXPECT_EQ(Scan(std::string("href=a>href=b\0>href=c>", 22), "href="), StringList{"a"});
  EXPECT_EQ(Scan(std::string("href=a\0>", 8), "href="), StringList{});
  // Cyrillic bytes are not upper-cased, so they keep their places and case.
  EXPECT_EQ(Scan(W("src=Фото.jpg>"), "SRC="), StringList{W("Фото.jpg")});
  EXPECT_EQ(Scan("abc", "", ""), StringList{});
}

// Pages made of one start text over and over: the values never overlap, so
// that what the scan gives, and every link cut from it, stays within the page.
TEST(FindBetween, ValuesOfAPageOfStartTextsStayWithinThePage) {
  const auto repeated = [](const std::string& head, const std::string& unit, const std::string& tail) {
    std::string page = head;
    while (page.size() < 400000) page += unit;
    return page + tail;
  };
  for (const std::string& page :
       {repeated("<img ", "src=", ">"), repeated("<img", " src=a", ">"), repeated("<img", " src='a", ">"),
        repeated("<img src='", "src=\"a", "'>"), repeated("<img", " lowsrc=\"a\" src=", ">")}) {
    const std::vector<std::string_view> values = pagefold::ValuesBetween(page, {"src="}, ">");
    size_t total = 0;
    for (std::string_view value : values) total += value.size();
    EXPECT_LE(total, page.size()) << page.substr(0, 20);
    EXPECT_GE(values.size(), 1u) << page.substr(0, 20);
  }
  EXPECT_EQ(pagefold::ValuesBetween(repeated("<img", " src=a", ""), {"src="}, ">").size(), 0u);
}

TEST(FindBetween, AppendsToTheList) {
  StringList list = {"kept"};
  FindBetween("src=a>", "src=", ">", list);
  EXPECT_EQ(list, (StringList{"kept", "a"}));
}

TEST(FindBetween, ValuesBetweenScansEachStartInTurnAndViewsTheText) {
  using Views = std::vector<std::string_view>;
  const std::string page = "<img SRC=a.gif><a href=b.htm><img src=c.gif><td BackGround='d.jpg'>";
  const Views values = pagefold::ValuesBetween(page, {"href=", "src=", "background="}, ">");
  EXPECT_EQ(values, (Views{"b.htm", "a.gif", "c.gif", "'d.jpg'"}));
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].data(), page.data() + page.find("b.htm"));
  EXPECT_EQ(values[3].data(), page.data() + page.find("'d.jpg'"));
  // The zero byte ends the area for every start text, not only the first.
  EXPECT_EQ(pagefold::ValuesBetween(std::string("src=a>\0href=b>src=c>", 20), {"href=", "src="}, ">"), Views{"a"});
  // A start text with no end text behind it ends only its own scan.
  EXPECT_EQ(pagefold::ValuesBetween("href=a src=b>", {"href=", "src="}, ">"), (Views{"a src=b", "b"}));
  // An empty start and end pair finds nothing, and the next start is still scanned.
  EXPECT_EQ(pagefold::ValuesBetween("src=a>", {"", "src="}, ""), Views{""});
}

TEST(Cnv, CutsTheLinkOutOfAValue) {
  EXPECT_EQ(Cnv("'page.htm' target='_top'"), "page.htm");
  EXPECT_EQ(Cnv("\"page.htm\" target=\"_top\""), "page.htm");
  EXPECT_EQ(Cnv("page.htm target=_top"), "page.htm");
  EXPECT_EQ(Cnv("page.htm"), "page.htm");
  EXPECT_EQ(Cnv("'page.htm"), "page.htm");
  EXPECT_EQ(Cnv(" 'x'"), "");
  EXPECT_EQ(Cnv("'"), "");
  EXPECT_EQ(Cnv(""), "");
  EXPECT_EQ(Cnv("\"a 'b'\" c"), "a 'b'");
  EXPECT_EQ(Cnv("a\tb/c\nd e"), "a\tb/c\nd");  // only a blank ends an unquoted link
  EXPECT_EQ(Cnv("&amp;%41"), "&amp;%41");
}

TEST(DUrl, ResolvesAgainstTheBaseFolder) {
  EXPECT_EQ(DUrl("", "img/a.jpg"), "img\\a.jpg");
  EXPECT_EQ(DUrl("sub", "../img/a.jpg"), "img\\a.jpg");
  EXPECT_EQ(DUrl("a\\b", "../../x.htm"), "x.htm");
  EXPECT_EQ(DUrl("", "../x.htm"), "x.htm");
  EXPECT_EQ(DUrl("sub", "./a.jpg"), "sub\\a.jpg");
  EXPECT_EQ(DUrl("sub", "a/./b.gif"), "sub\\a\\b.gif");
  EXPECT_EQ(DUrl("", "a%20b.jpg"), "a b.jpg");
  EXPECT_EQ(DUrl("", "a%41%20%2520.jpg"), "a%41 %2520.jpg");  // no other escape is decoded
  EXPECT_EQ(DUrl("", "img/"), "img");
  EXPECT_EQ(DUrl("", "img\\a.jpg"), "img\\a.jpg");
  EXPECT_EQ(DUrl("a\\b", ".."), "a");
  EXPECT_EQ(DUrl("sub", ""), "sub\\");
  EXPECT_EQ(DUrl("", "x.htm#top"), "x.htm#top");
  EXPECT_EQ(DUrl("", "/img/a.jpg"), "\\img\\a.jpg");
  EXPECT_EQ(DUrl("", "img//a.jpg"), "img\\\\a.jpg");
  EXPECT_EQ(DUrl("", "http://host/a.htm"), "http:\\\\host\\a.htm");
}

TEST(DUrl, DotBackslashAndBlankEscapesWhereverTheyStand) {
  // Every ".\\" of the result goes, the base folder's too.
  EXPECT_EQ(DUrl("a.", "x"), "ax");
  EXPECT_EQ(DUrl("a", "b./c"), "a\\bc");
  // "%20" becomes a blank before the segments are read.
  EXPECT_EQ(DUrl("", "a%20b/../c%20d"), "c d");
  EXPECT_EQ(DUrl("", "%20/.."), "");
  EXPECT_EQ(DUrl("", "../../a%2520"), "a%2520");
  // Only a whole segment ".." climbs; other bytes pass as they are.
  EXPECT_EQ(DUrl("sub", "a/b.."), "sub\\a\\b..");
  EXPECT_EQ(DUrl("", std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(DUrl, ClimbingOutOfEverythingLeavesNothing) {
  EXPECT_EQ(DUrl("", ".."), "");
  EXPECT_EQ(DUrl("", "../"), "");
  EXPECT_EQ(DUrl("sub", "../.."), "");
  EXPECT_EQ(DUrl("a\\b", "../../"), "");
  EXPECT_EQ(DUrl("", "x/.."), "");
  // Deep chains stay cheap and exact.
  std::string link;
  for (int i = 0; i < 10000; ++i) link += "d/";
  for (int i = 0; i < 10000; ++i) link += "../";
  EXPECT_EQ(DUrl("top", link + "x.htm"), "top\\x.htm");
  EXPECT_EQ(DUrl("top", link + "../../x.htm"), "x.htm");
}

TEST(Up, DropsTheLastComponent) {
  EXPECT_EQ(pagefold::up("docs\\a"), "docs");
  EXPECT_EQ(pagefold::up("docs"), "");
  EXPECT_EQ(pagefold::up(""), "");
  EXPECT_EQ(pagefold::up("\\x"), "");
  EXPECT_EQ(pagefold::up("a\\\\b"), "a\\");
}

TEST(LinkReadings, PathEndsAtAQueryOrFragmentOutsideNumericReferences) {
  EXPECT_EQ(pagefold::PathEnd("a.htm?x#y"), 5u);
  EXPECT_EQ(pagefold::PathEnd("a&#35;b#c"), 7u);
  EXPECT_EQ(pagefold::PathEnd("a&#?"), 3u);
  EXPECT_EQ(pagefold::PathEnd("a##"), 1u);
  EXPECT_EQ(pagefold::PathEnd("#a"), 0u);
  EXPECT_EQ(pagefold::PathEnd("&#"), std::string::npos);
  EXPECT_EQ(pagefold::PathEnd("&&#x"), std::string::npos);
  EXPECT_EQ(pagefold::PathEnd(""), std::string::npos);
}

TEST(LinkReadings, CharacterReferencesDecoded) {
  EXPECT_EQ(pagefold::DecodedCharacterReferences("a.htm"), "a.htm");
  EXPECT_EQ(pagefold::DecodedCharacterReferences("&amp;&lt;&#65;&#x42;"), "&<AB");
  EXPECT_EQ(pagefold::DecodedCharacterReferences("&#x444;"), W("ф"));
  EXPECT_EQ(pagefold::DecodedCharacterReferences("&&amp;;"), "&&;");
  // Not references: these stay as written.
  for (const char* link : {"&bogus;", "a&amp", "&#;", "&#x;", "&#123456789;"})
    EXPECT_EQ(pagefold::DecodedCharacterReferences(link), link);
  EXPECT_EQ(pagefold::DecodedCharacterReferences(std::string("&#0;", 4)), std::string("&#0;", 4));
  // A character beyond the code page leaves the whole link as written.
  EXPECT_EQ(pagefold::DecodedCharacterReferences("&#x4E00;.gif"), "&#x4E00;.gif");
  EXPECT_EQ(pagefold::DecodedCharacterReferences("&amp;&#x4E00;"), "&amp;&#x4E00;");
}

TEST(ResourceLink, TypeIsTransliteratedAndUpperCased) {
  EXPECT_EQ(pagefold::ResourceLink("jpg", 12), "../JPG/SEARCH_FILE_NOMBER_12");
  EXPECT_EQ(pagefold::ResourceLink("Pics", 3), "../PICS/SEARCH_FILE_NOMBER_3");
  EXPECT_EQ(pagefold::ResourceLink("", 7), "..//SEARCH_FILE_NOMBER_7");
  EXPECT_EQ(pagefold::ResourceLink(W("Мои файлы"), 1), "../MOI_FAILI/SEARCH_FILE_NOMBER_1");
  EXPECT_EQ(pagefold::ResourceLink(W("Объект(1)"), 2), "../OB'EKT_1_/SEARCH_FILE_NOMBER_2");
  EXPECT_EQ(pagefold::ResourceLink(W("ї"), 2), W("../ї/SEARCH_FILE_NOMBER_2"));
  EXPECT_EQ(pagefold::ResourceLink("gif", 2147483647), "../GIF/SEARCH_FILE_NOMBER_2147483647");
}

TEST(LinkReadings, Utf8LinksInWindows1251) {
  EXPECT_EQ(pagefold::Utf8LinkToCp1251("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg"), W("фото.jpg"));
  EXPECT_EQ(pagefold::Utf8LinkToCp1251("plain.jpg"), std::nullopt);       // nothing to convert
  EXPECT_EQ(pagefold::Utf8LinkToCp1251(W("фото.jpg")), std::nullopt);     // not UTF-8
  EXPECT_EQ(pagefold::Utf8LinkToCp1251("\xE4\xB8\xAD.jpg"), std::nullopt);  // no Windows-1251 form
}

TEST(LinkReadings, PercentEscapesDecoded) {
  EXPECT_EQ(pagefold::PercentDecodedLink("%D1%84%D0%BE%D1%82%D0%BE%20(2).jpg"), W("фото (2).jpg"));
  EXPECT_EQ(pagefold::PercentDecodedLink("%F4%EE%F2%EE.jpg"), W("фото.jpg"));  // raw bytes
  EXPECT_EQ(pagefold::PercentDecodedLink("a%2fb%2Fc%zz%4"), "a/b/c%zz%4");
  EXPECT_EQ(pagefold::PercentDecodedLink("my%20file.jpg"), std::nullopt);  // only "%20"
  EXPECT_EQ(pagefold::PercentDecodedLink("100%.jpg"), std::nullopt);
  EXPECT_EQ(pagefold::PercentDecodedLink("plain.jpg"), std::nullopt);
  EXPECT_EQ(pagefold::PercentDecodedLink(""), std::nullopt);
  EXPECT_EQ(pagefold::PercentDecodedLink("%E4%B8%AD"), "\xE4\xB8\xAD");  // UTF-8 without a form
}

TEST(LinkReadings, OutsideLinksAreToldByTheirForm) {
  for (const char* link : {"http://example.com/a.htm", "HTTPS://x", "ftp://h/f", "file:///c:/a.htm", "mailto:a@b.c",
                           "javascript:void(0)", "data:image/gif;base64,R0lGOD/lh", "svn+ssh://h", "c:\\site\\a.htm",
                           "/img/a.gif", "\\img\\a.gif", "//cdn/a.css", "#top", "#"})
    EXPECT_TRUE(pagefold::IsOutsideLink(link)) << link;
  for (const char* link : {"", "a.htm", "img/a:b.gif", "a.htm#top", "?q=1", "./a.htm", "../a.htm", "1http:x",
                           "my file.htm", "a_b:c", "http", ":x"})
    EXPECT_FALSE(pagefold::IsOutsideLink(link)) << link;
  EXPECT_FALSE(pagefold::IsOutsideLink(W("файл:x.htm")));
}

}  // namespace
