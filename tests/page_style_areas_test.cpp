#include "core/page_style_areas.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pagefold::PageStyleAreas;
using Areas = std::vector<std::string_view>;

TEST(PageStyleAreas, StyleElementsAndStyleAttributesInOrderOfPosition) {
  const std::string page =
      "<STYLE type=text/css>h1{background:url(a.gif)}</Style>\n"
      "<p Style=\"color:red\" class=x><b style='x:url(\"b\")'><i\tSTYLE=c:d>e</i><u/style=f:g>\n"
      "<td x=\"1\"style=\"h\"><style>i</style><style/>j</style>";
  const Areas areas = PageStyleAreas(page);
  EXPECT_EQ(areas, (Areas{"h1{background:url(a.gif)}", "color:red", "x:url(\"b\")", "c:d", "f:g", "h", "i", "j"}));
  ASSERT_FALSE(areas.empty());
  EXPECT_EQ(areas[0].data(), page.data() + page.find("h1{"));
  // An element without its end tag runs to the end of the page.
  EXPECT_EQ(PageStyleAreas("<style>\na{} b{}"), Areas{"\na{} b{}"});
}

TEST(PageStyleAreas, ProseAndOtherNamesAreNoStyleArea) {
  // A Javadoc page names a constructor, and scripts and other attributes hold "style".
  EXPECT_EQ(PageStyleAreas("<code>URL(java.net.URL, String)</code> <stylesheet> <p data-style=\"a\" "
                           "nostyle=b> el.style=\"c\"; <a title=\"style = d\">"),
            Areas{});
  // A start tag without ">" and a quoted value without its closing quote give nothing.
  EXPECT_EQ(PageStyleAreas("<p style=\"a:b> <p style='c> <style"), Areas{});
  EXPECT_EQ(PageStyleAreas("<p style=\"a\"> <p style=\"b"), Areas{"a"});
  // Nothing behind the first zero byte is searched.
  EXPECT_EQ(PageStyleAreas(std::string("<p style=a>\0<p style=b><style>c</style>", 38)), Areas{"a"});
  EXPECT_EQ(PageStyleAreas(std::string("<style>a\0b</style>", 18)), Areas{"a"});
}

// Pages made of one opening over and over: the areas never overlap.
TEST(PageStyleAreas, AreasOfAPageOfOpeningsStayWithinThePage) {
  for (const std::string unit : {" style=\"", " style='", " style=", "<style>", "<style", " style=style="}) {
    std::string page;
    while (page.size() < 400000) page += unit;
    size_t total = 0;
    for (std::string_view area : PageStyleAreas(page)) total += area.size();
    EXPECT_LE(total, page.size()) << unit;
  }
}

}  // namespace
