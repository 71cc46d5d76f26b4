#include "core/style_sheet_links.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using pagefold::CssUrlValues;
using pagefold::StyleSheetLinks;
using testing_support::W;
using Links = std::vector<std::string>;

TEST(CssUrlValues, QuotedUnquotedAndBlanksAround) {
  EXPECT_EQ(CssUrlValues("a{background:url(img/bg.gif) no-repeat}"), Links{"img/bg.gif"});
  EXPECT_EQ(CssUrlValues("x:url('a b.png');y:URL(\"c'd.png\");z:Url( \t\r\n e.png \f)"),
            (Links{"a b.png", "c'd.png", "e.png"}));
  // A quoted value ends at its quote; what follows up to ")" does not matter.
  EXPECT_EQ(CssUrlValues("url( 'a.png' x) url(\"b.png\""), (Links{"a.png", "b.png"}));
  // Case and Cyrillic bytes are kept as written.
  EXPECT_EQ(CssUrlValues(W("url(Img/Фото.JPG)")), Links{W("Img/Фото.JPG")});
  EXPECT_EQ(CssUrlValues("url(data:image/gif;base64,R0lG)"), Links{"data:image/gif;base64,R0lG"});
}

TEST(CssUrlValues, WhatIsNotAUrlValue) {
  // Another function whose name ends in "url", and blanks before the parenthesis.
  EXPECT_EQ(CssUrlValues("myurl(a.png) my-url(b.png) _url(c.png) url (d.png)"), Links{});
  EXPECT_EQ(CssUrlValues(W("фurl(a.png)")), Links{});
  EXPECT_EQ(CssUrlValues("(url(a.png)),url(b.png)"), (Links{"a.png", "b.png"}));
  // Empty values, and values whose quote or parenthesis never closes.
  EXPECT_EQ(CssUrlValues("url() url( ) url('') url(\"\")"), Links{});
  EXPECT_EQ(CssUrlValues("url('a.png) url(b.png)"), Links{"b.png"});
  EXPECT_EQ(CssUrlValues("url(\"a.png"), Links{});
  EXPECT_EQ(CssUrlValues("url(a.png"), Links{});
  // One that never closes does not end the values in quotes behind it.
  EXPECT_EQ(CssUrlValues("url(a url('b.png' url(\"c\" url(\"d url(e url('f'"), (Links{"b.png", "c", "f"}));
  // Nothing behind the first zero byte is searched.
  EXPECT_EQ(CssUrlValues(std::string("url(a.png) url(b\0.png) url(c.png)", 33)), Links{"a.png"});
  // "@import" strings are not url values.
  EXPECT_EQ(CssUrlValues("@import \"a.css\";"), Links{});
}

TEST(StyleSheetLinks, UrlValuesAndImportsInOrderOfPosition) {
  EXPECT_EQ(StyleSheetLinks("@import \"print.css\";\n@IMPORT 'a b.css' screen;\n@import url(c.css);\n"
                            "@import   \"d.css\";@import e.css;@import\t'f.css"
                            "\nbody{background:url(img/bg.gif)}"),
            (Links{"print.css", "a b.css", "c.css", "d.css", "img/bg.gif"}));
  EXPECT_EQ(StyleSheetLinks("h1{background:url(x.gif)}\n@import \"y.css\";"), (Links{"x.gif", "y.css"}));
  EXPECT_EQ(StyleSheetLinks("@import '';@import url('');"), Links{});
  // A value is taken whole: what looks like a link inside it is not another one.
  EXPECT_EQ(StyleSheetLinks("@import \"url(x).css\"; a{background:url('@import \"y.css\"')}"),
            (Links{"url(x).css", "@import \"y.css\""}));
  EXPECT_EQ(StyleSheetLinks(std::string("@import \"a.css\";\0@import \"b.css\";", 33)), Links{"a.css"});
  EXPECT_EQ(StyleSheetLinks("body { color: red }"), Links{});
}

}  // namespace
