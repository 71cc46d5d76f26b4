#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/build_command.h"
#include "core/link_rewriting.h"
#include "core/registry_index.h"
#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using pagefold::BuildCommand;
using pagefold::LinkRewrite;
using pagefold::LinkSource;
using pagefold::RegistryIndex;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;
using Flags = std::vector<unsigned char>;

struct ReplaceUrl : ::testing::Test {
  ScratchDir work;
  BuildCommand build;
  fs::path page = work.path() / "search_file_nomber_1.htm";
  int count = -1;

  // Rewrites the page against a registry of the names given (entries 1, 2, ...)
  // and returns the page's bytes afterwards.
  std::string Rewrite(const std::string& bytes, const std::vector<std::string>& names,
                      const std::string& folder = "") {
    WriteFile(page, bytes);
    build.UsedFlags.assign(names.size() + 1, 0);
    count = build.ReplaceUrl(page.string(), folder, RegistryIndex(names));
    return ReadFile(page);
  }
};

TEST_F(ReplaceUrl, OneReplacementTakesEveryCaseOfTheLinkText) {
  EXPECT_EQ(Rewrite("<img src=\"IMG/A.JPG\"><a href='img/a.jpg'>", {"x.htm", "b.gif", "img\\a.jpg"}),
            "<img src=\"../JPG/SEARCH_FILE_NOMBER_3\"><a href='../JPG/SEARCH_FILE_NOMBER_3'>");
  EXPECT_EQ(count, 1);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 0, 0, 1}));
  // The same text found by two scans is replaced and counted once.
  EXPECT_EQ(Rewrite("<a href=a.jpg><img src=\"a.jpg\">", {"a.jpg"}),
            "<a href=../JPG/SEARCH_FILE_NOMBER_1><img src=\"../JPG/SEARCH_FILE_NOMBER_1\">");
  EXPECT_EQ(count, 1);
}

// Each attribute of a tag is read on its own: the src behind a lowsrc or a
// data-src is rewritten too, and so is a second src.
TEST_F(ReplaceUrl, EverySrcOfATagIsRewritten) {
  EXPECT_EQ(Rewrite("<img lowsrc=\"../img/1.jpg\" src=\"../img/11.jpg\">\n"
                    "<img data-src='../img/2.png' SRC=../img/1.jpg alt=x>\n<img src=a.gif src=../img/2.png>",
                    {"img\\1.jpg", "img\\11.jpg", "img\\2.png", "sub\\a.gif"}, "sub"),
            "<img lowsrc=\"../JPG/SEARCH_FILE_NOMBER_1\" src=\"../JPG/SEARCH_FILE_NOMBER_2\">\n"
            "<img data-src='../PNG/SEARCH_FILE_NOMBER_3' SRC=../JPG/SEARCH_FILE_NOMBER_1 alt=x>\n"
            "<img src=../GIF/SEARCH_FILE_NOMBER_4 src=../PNG/SEARCH_FILE_NOMBER_3>");
  EXPECT_EQ(count, 4);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 1, 1, 1}));
}

TEST_F(ReplaceUrl, LinksResolveAgainstThePageFolder) {
  EXPECT_EQ(Rewrite("<a href=\"../index.htm\">", {"index.htm", "sub\\page.htm"}, "sub"),
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">");
  // A link from a page to itself is rewritten like any other.
  EXPECT_EQ(Rewrite("<a href=\"./page.htm\" target=_top>", {"index.htm", "sub\\page.htm"}, "sub"),
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_2\" target=_top>");
  EXPECT_EQ(build.UsedFlags, (Flags{0, 0, 1}));
  EXPECT_EQ(Rewrite("<img src=my%20file.jpg>", {"my file.jpg"}),
            "<img src=../JPG/SEARCH_FILE_NOMBER_1>");
}

TEST_F(ReplaceUrl, ALinkTextInsideALongerNameStaysAsItIs) {
  EXPECT_EQ(Rewrite("<img src=\"1.jpg\"><img src=\"11.jpg\">", {"1.jpg", "11.jpg"}),
            "<img src=\"../JPG/SEARCH_FILE_NOMBER_1\"><img src=\"../JPG/SEARCH_FILE_NOMBER_2\">");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 1}));

  EXPECT_EQ(Rewrite("<a href=\"a.htm\"><a href=data.htm><a href='a.html'> a.htm.bak x_a.htm",
                    {"x.gif", "a.htm", "y.gif", "z.gif", "data.htm", "a.html"}),
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_2\"><a href=../HTM/SEARCH_FILE_NOMBER_5>"
            "<a href='../HTML/SEARCH_FILE_NOMBER_6'> a.htm.bak x_a.htm");
  EXPECT_EQ(count, 3);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 0, 1, 0, 0, 1, 1}));

  // Inside "../img/a.jpg" the text "img/a.jpg" follows a slash; both links
  // name the same file and each is replaced whole.
  EXPECT_EQ(Rewrite("<img src=\"img/a.jpg\"><img src=\"../img/a.jpg\"> %img/a.jpg ~img/a.jpg-",
                    {"img\\a.jpg"}),
            "<img src=\"../JPG/SEARCH_FILE_NOMBER_1\"><img src=\"../JPG/SEARCH_FILE_NOMBER_1\">"
            " %img/a.jpg ~img/a.jpg-");
  EXPECT_EQ(count, 2);
}

TEST_F(ReplaceUrl, CaptionsAndOtherStandaloneOccurrencesAreRewritten) {
  EXPECT_EQ(Rewrite("<a href=\"x.htm\">X.HTM</a> (x.htm), x.htm\r\nx.htm=\"x.htm\"?x.htm#x.htm",
                    {"x.htm"}),
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">../HTM/SEARCH_FILE_NOMBER_1</a> "
            "(../HTM/SEARCH_FILE_NOMBER_1), ../HTM/SEARCH_FILE_NOMBER_1\r\n"
            "../HTM/SEARCH_FILE_NOMBER_1=\"../HTM/SEARCH_FILE_NOMBER_1\"?"
            "../HTM/SEARCH_FILE_NOMBER_1#../HTM/SEARCH_FILE_NOMBER_1");
  EXPECT_EQ(count, 1);
}

TEST_F(ReplaceUrl, FragmentsAndQueriesReachTheirPage) {
  // A resource cannot read a query: it goes, while a fragment stays.
  EXPECT_EQ(Rewrite("<a href=\"x.htm#top\"><a href=x.htm?a=1><a href=\"#top\"><a href='x.htm?q=1#top'>",
                    {"a.gif", "b.gif", "c.gif", "d.gif", "x.htm"}),
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_5#top\"><a href=../HTM/SEARCH_FILE_NOMBER_5>"
            "<a href=\"#top\"><a href='../HTM/SEARCH_FILE_NOMBER_5#top'>");
  EXPECT_EQ(count, 3);
  // The link with a query goes first, before its path alone would take its place.
  EXPECT_EQ(Rewrite("<link href=\"style.css\"><link href=\"style.css?2022.1\"><a href=\"x.htm#a?b\">",
                    {"style.css", "x.htm"}),
            "<link href=\"../CSS/SEARCH_FILE_NOMBER_1\"><link href=\"../CSS/SEARCH_FILE_NOMBER_1\">"
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_2#a?b\">");
  EXPECT_EQ(count, 3);
  // A name that holds the "#" itself is matched as a whole first.
  EXPECT_EQ(Rewrite("<a href=\"x.htm#top\"><a href=\"x.htm\">", {"x.htm#top", "x.htm"}),
            "<a href=\"../HTM#TOP/SEARCH_FILE_NOMBER_1\"><a href=\"../HTM/SEARCH_FILE_NOMBER_2\">");
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 1}));
}

TEST_F(ReplaceUrl, CharacterReferencesAreDecodedBeforeTheLookup) {
  EXPECT_EQ(Rewrite("<img src=\"img/a&amp;b.gif\"><a href='&#120;&#X2E;htm?a=1&amp;b=2'><img src=\"&#x444;.gif\">",
                    {"img\\a&b.gif", "x.htm", W("ф.gif")}),
            "<img src=\"../GIF/SEARCH_FILE_NOMBER_1\"><a href='../HTM/SEARCH_FILE_NOMBER_2'>"
            "<img src=\"../GIF/SEARCH_FILE_NOMBER_3\">");
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 1, 1}));
  // A character beyond the code page leaves the link as written; an unknown
  // reference or one without its ";" stays as text.
  EXPECT_EQ(Rewrite("<img src=\"&#x4E00;&amp;.gif\"><img src=\"&#x4E00;&.gif\"><img src=&nbsp;.gif><img src=&amp.gif>",
                    {"\xE4\xB8\x80&.gif", "&#x4E00;&.gif", "&nbsp;.gif", "&amp.gif"}),
            "<img src=\"&#x4E00;&amp;.gif\"><img src=\"../GIF/SEARCH_FILE_NOMBER_2\"><img src=../GIF/SEARCH_FILE_NOMBER_3>"
            "<img src=../GIF/SEARCH_FILE_NOMBER_4>");
}

TEST_F(ReplaceUrl, Utf8AndPercentEncodedLinksFindWindows1251Names) {
  const std::string utf8 = "img/\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg";  // img/фото.jpg
  const std::vector<std::string> names = {W("img\\фото.jpg"), W("Мой файл.htm")};
  EXPECT_EQ(Rewrite("<img src=\"" + utf8 + "\" alt=\"" + utf8 + "\">", names),
            "<img src=\"../JPG/SEARCH_FILE_NOMBER_1\" alt=\"../JPG/SEARCH_FILE_NOMBER_1\">");
  EXPECT_EQ(Rewrite("<a href=\"%D0%BC%D0%BE%D0%B9%20%D1%84%D0%B0%D0%B9%D0%BB.htm#a\">"
                    "<img src='img/%F4%EE%F2%EE.jpg'>",
                    names),
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_2#a\"><img src='../JPG/SEARCH_FILE_NOMBER_1'>");
  EXPECT_EQ(count, 2);
  // A UTF-8 reading comes before percent decoding.
  EXPECT_EQ(Rewrite("<a href=\"\xD1\x84%41.htm\">", {W("фA.htm"), W("ф%41.htm")}),
            "<a href=\"../HTM/SEARCH_FILE_NOMBER_2\">");
  // Windows-1251 pages match directly, in either case.
  EXPECT_EQ(Rewrite(W("<img src=IMG/ФОТО.JPG>"), names), "<img src=../JPG/SEARCH_FILE_NOMBER_1>");
}

TEST_F(ReplaceUrl, ResourceTypes) {
  build.GroupType = "pics";
  EXPECT_EQ(Rewrite("<a href=a.htm><img src=b.gif>", {"a.htm", "b.gif"}),
            "<a href=../PICS/SEARCH_FILE_NOMBER_1><img src=../PICS/SEARCH_FILE_NOMBER_2>");
  build.GroupType = W("Мои файлы");
  EXPECT_EQ(Rewrite("<img src=b.gif>", {"b.gif"}), "<img src=../MOI_FAILI/SEARCH_FILE_NOMBER_1>");
  build.GroupType = "";
  EXPECT_EQ(Rewrite("<a href=README><a href=\"a b.Htm\">", {"README", "a b.Htm"}),
            "<a href=..//SEARCH_FILE_NOMBER_1><a href=\"../HTM/SEARCH_FILE_NOMBER_2\">");
  // Types taken in turn, each again after others, in either case.
  EXPECT_EQ(Rewrite("<img src=a.gif><a href=b.htm><img src=c.GIF><img src=d.jpg><a href=e.htm><img src=f.gif>",
                    {"a.gif", "b.htm", "c.GIF", "d.jpg", "e.htm", "f.gif"}),
            "<img src=../GIF/SEARCH_FILE_NOMBER_1><a href=../HTM/SEARCH_FILE_NOMBER_2>"
            "<img src=../GIF/SEARCH_FILE_NOMBER_3><img src=../JPG/SEARCH_FILE_NOMBER_4>"
            "<a href=../HTM/SEARCH_FILE_NOMBER_5><img src=../GIF/SEARCH_FILE_NOMBER_6>");
}

TEST_F(ReplaceUrl, LinksThatNameNothingStay) {
  const std::string bytes =
      "<a href=b.htm\n>"                  // a line break is part of an unquoted link
      "<a href = a.htm><a href=http://x/a.htm><a href=/a.htm>"
      "<a href=\"..\"><a href=\"\"><a href='a.htm";  // no ">" behind the last value
  EXPECT_EQ(Rewrite(bytes, {"a.htm", "b.htm"}), bytes);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 0, 0}));
}

TEST_F(ReplaceUrl, APageWithoutRewritableLinksIsNotWritten) {
  WriteFile(page, "<a href=gone.htm>");
  const auto old = fs::last_write_time(page) - std::chrono::hours(24 * 400);
  fs::last_write_time(page, old);
  build.UsedFlags = {0, 1, 0};
  EXPECT_EQ(build.ReplaceUrl(page.string(), "", RegistryIndex({"a.htm", "b.htm"})), 0);
  EXPECT_EQ(ReadFile(page), "<a href=gone.htm>");
  EXPECT_EQ(fs::last_write_time(page), old);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 0}));  // marks are only ever set
  EXPECT_EQ(build.ReplaceUrl(page.string(), "", RegistryIndex(std::vector<std::string>{})), 0);
  EXPECT_EQ(fs::last_write_time(page), old);
}

TEST_F(ReplaceUrl, NothingBehindAZeroByteIsTouched) {
  const std::string tail("\0a.htm <a href=b.htm>", 21);
  EXPECT_EQ(Rewrite("<a href=a.htm> a.htm" + tail, {"a.htm", "b.htm"}),
            "<a href=../HTM/SEARCH_FILE_NOMBER_1> ../HTM/SEARCH_FILE_NOMBER_1" + tail);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 0}));
}

TEST_F(ReplaceUrl, EntriesSharingANameGiveTheLinkToTheFirst) {
  EXPECT_EQ(Rewrite("<a href=a.htm>", {"A.HTM", "a.htm"}), "<a href=../HTM/SEARCH_FILE_NOMBER_1>");
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 0}));
}

TEST_F(ReplaceUrl, ReplacementsMeetingEarlierOnesFollowTheEntryOrder) {
  // Entry 1 inserts the very text that entry 2's link names, so entry 2 then
  // takes both.
  EXPECT_EQ(Rewrite("<a href=x.htm><a href=\"../HTM/SEARCH_FILE_NOMBER_1\">",
                    {"x.htm", "htm\\search_file_nomber_1"}),
            "<a href=..//SEARCH_FILE_NOMBER_2><a href=\"..//SEARCH_FILE_NOMBER_2\">");
  EXPECT_EQ(count, 2);
  // A type with an apostrophe ends a name inside the resource link, where
  // the later link "../ob" then stands alone.
  build.GroupType = W("Объект");
  EXPECT_EQ(Rewrite("<a href=\"a.htm\"><a href=\"../ob\">", {"sub\\a.htm", "ob"}, "sub"),
            "<a href=\"../OB'EKT/SEARCH_FILE_NOMBER_2'EKT/SEARCH_FILE_NOMBER_1\">"
            "<a href=\"../OB'EKT/SEARCH_FILE_NOMBER_2\">");
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 1}));
  // The same with a text that ends where the apostrophe stands ("a ../ob"
  // resolves to "a .ob": the ".\" goes).
  EXPECT_EQ(Rewrite("<a href=\"x\">a x</a><a href=\"a ../ob\">", {"x", "a .ob"}),
            "<a href=\"../OB'EKT/SEARCH_FILE_NOMBER_1\">../OB'EKT/SEARCH_FILE_NOMBER_2'EKT/"
            "SEARCH_FILE_NOMBER_1</a><a href=\"../OB'EKT/SEARCH_FILE_NOMBER_2\">");
}

TEST_F(ReplaceUrl, OccurrencesOfOneTextDoNotOverlap) {
  EXPECT_EQ(Rewrite("<a href=\"a a\"> a a a a a", {"a a"}),
            "<a href=\"..//SEARCH_FILE_NOMBER_1\"> ..//SEARCH_FILE_NOMBER_1 ..//SEARCH_FILE_NOMBER_1 a");
}

TEST_F(ReplaceUrl, AReplacementNeedsItsTextAsWritten) {
  // Entry 1 takes the only "x.htm" written so; "X.HTM" is left to nobody.
  EXPECT_EQ(Rewrite("<a href=\"x.htm y\"><a href=x.htm y> X.HTM", {"x.htm y", "x.htm"}),
            "<a href=\"../HTM_Y/SEARCH_FILE_NOMBER_1\"><a href=../HTM_Y/SEARCH_FILE_NOMBER_1> X.HTM");
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 0}));
  // A text next to one that was replaced no longer stands alone.
  EXPECT_EQ(Rewrite("<a href=\"a (\"><a href=\"(b\"> a ((b", {"a (", "(b"}),
            "<a href=\"..//SEARCH_FILE_NOMBER_1\"><a href=\"..//SEARCH_FILE_NOMBER_2\"> "
            "..//SEARCH_FILE_NOMBER_1(b");
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 1}));
  EXPECT_EQ(Rewrite("<a href=\"(x\"><a href=\"b)\"> b)(x", {"(x", "b)"}),
            "<a href=\"..//SEARCH_FILE_NOMBER_1\"><a href=\"..//SEARCH_FILE_NOMBER_2\"> "
            "b)..//SEARCH_FILE_NOMBER_1");
}

TEST_F(ReplaceUrl, UsedFlagsGrowToTheRegistry) {
  WriteFile(page, "<img src=c.gif>");
  build.UsedFlags.clear();
  EXPECT_EQ(build.ReplaceUrl(page.string(), "", RegistryIndex({"a.gif", "b.gif", "c.gif"})), 1);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 0, 0, 1}));
}

TEST_F(ReplaceUrl, AMissingPageRaisesTheOpenError) {
  const std::string missing = (work.path() / "missing.htm").string();
  try {
    build.ReplaceUrl(missing, "", RegistryIndex({"a.htm"}));
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.what();
  }
}

TEST_F(ReplaceUrl, APageInAnUnwritableFolderRaisesTheCreateError) {
  WriteFile(page, "<a href=a.htm>");
  const fs::path folder = page.parent_path();
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const bool rootWrites = static_cast<bool>(std::ofstream(folder / "probe"));
  if (rootWrites) {
    fs::permissions(folder, fs::perms::owner_all);
    GTEST_SKIP() << "root writes into read-only folders (under Wine too)";
  }
  try {
    build.ReplaceUrl(page.string(), "", RegistryIndex({"a.htm"}));
    ADD_FAILURE() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + page.string() + "\". ", 0), 0u)
        << e.what();
  }
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(ReadFile(page), "<a href=a.htm>");
}

TEST(PageLinks, TheThreeScansComeFirstThenTheUrlValues) {
  EXPECT_EQ(pagefold::PageLinks("<div style=\"background:url('u.gif')\"><td background=c.gif><img src=b.gif>"
                                "<a href=a.htm><style>h1{background:url(v.gif)}</style>"),
            (std::vector<std::string>{"a.htm", "b.gif", "c.gif", "u.gif", "v.gif"}));
  // Outside style areas url( is prose or script.
  EXPECT_EQ(pagefold::PageLinks("<p>URL(java.net.URL, String)</p><script>f = url(\"x.gif\")</script>"
                                "<p style=\"margin:0\">url(y.gif)</p>"),
            std::vector<std::string>{});
}

TEST_F(ReplaceUrl, UrlValuesInStyleAttributesAndStyleBlocksAreRewritten) {
  EXPECT_EQ(Rewrite("<style>\nh1 { background: url( \"../img/h.png\" ) }\n</style>\n"
                    "<div style=\"background:url(../img/bg.gif)\"><img src=\"../img/bg.gif\">",
                    {"img\\bg.gif", "img\\h.png", "sub\\page.htm"}, "sub"),
            "<style>\nh1 { background: url( \"../PNG/SEARCH_FILE_NOMBER_2\" ) }\n</style>\n"
            "<div style=\"background:url(../GIF/SEARCH_FILE_NOMBER_1)\"><img src=\"../GIF/SEARCH_FILE_NOMBER_1\">");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(build.UsedFlags, (Flags{0, 1, 1, 0}));
}

struct StyleSheet : ::testing::Test {
  ScratchDir work;
  fs::path sheet = work.path() / "search_file_nomber_4.css";
  const RegistryIndex registry{std::vector<std::string>{"css\\print.css", "img\\bg.gif", "css\\img\\h.png",
                                                        "css\\site.css", "img\\README"}};

  LinkRewrite Rewrite(const std::string& bytes, const std::string& groupType = "") {
    WriteFile(sheet, bytes);
    return pagefold::RewriteStagedFile(sheet.string(), LinkSource::StyleSheet, "css", registry, groupType);
  }
};

TEST_F(StyleSheet, ImportsAndUrlValuesResolveAgainstTheSheetsFolder) {
  const LinkRewrite rewrite = Rewrite(
      "@import \"print.css\" print;\n@import url('site.css');\n"
      "body { background: url(../img/bg.gif) repeat-x }\n"
      "h1 { background: URL( 'img/h.png' ) }\n"
      "i { background: url(data:image/gif;base64,R0lGODlh) }\n"
      "b { background: url(http://example.com/img/bg.gif) }\n"
      "u { background: url(/img/bg.gif) }\n"
      "s { background: url(\"missing.gif\") }\n");
  EXPECT_EQ(ReadFile(sheet),
            "@import \"../CSS/SEARCH_FILE_NOMBER_1\" print;\n@import url('../CSS/SEARCH_FILE_NOMBER_4');\n"
            "body { background: url(../GIF/SEARCH_FILE_NOMBER_2) repeat-x }\n"
            "h1 { background: URL( '../PNG/SEARCH_FILE_NOMBER_3' ) }\n"
            "i { background: url(data:image/gif;base64,R0lGODlh) }\n"
            "b { background: url(http://example.com/img/bg.gif) }\n"
            "u { background: url(/img/bg.gif) }\n"
            "s { background: url(\"missing.gif\") }\n");
  EXPECT_EQ(rewrite.count, 4);
  EXPECT_EQ(rewrite.marked, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(rewrite.unlinked, std::vector<std::string>{"missing.gif"});
}

TEST_F(StyleSheet, QueriesAreDroppedAsInPages) {
  Rewrite("@import 'print.css?v=2';\nb { background: url(../img/bg.gif?1#x) }");
  EXPECT_EQ(ReadFile(sheet), "@import '../CSS/SEARCH_FILE_NOMBER_1';\nb { background: url(../GIF/SEARCH_FILE_NOMBER_2#x) }");
}

TEST_F(StyleSheet, TheAttributesOfPagesAreNotLinksOfASheet) {
  const std::string bytes = "/* <a href=print.css> <img src=\"site.css\"> */ p { color: red }";
  const LinkRewrite rewrite = Rewrite(bytes);
  EXPECT_EQ(ReadFile(sheet), bytes);
  EXPECT_EQ(rewrite.count, 0);
  EXPECT_TRUE(rewrite.marked.empty());
  // Grouping gives the sheet's links the group type, as in pages.
  Rewrite("@import 'print.css';", "pics");
  EXPECT_EQ(ReadFile(sheet), "@import '../PICS/SEARCH_FILE_NOMBER_1';");
}

TEST(RewriteLinks, LinksThatNameNoPackedFileAreListedOnceEach) {
  const RegistryIndex registry(std::vector<std::string>{"b.gif", "README", "a.htm"});
  std::string page =
      "<a href=\"gone.htm\"><a href=gone.htm><a href=\"http://example.com/\"><a href='mailto:a@b.c'>"
      "<a href=\"javascript:void(0)\"><a href=\"#top\"><a href=\"/abs.htm\"><a href=\"\">"
      "<a href=\"README\"><a href=\"a.htm#x\"><a href=\"c.htm#x\"><img src=\"b.gif\">"
      "<div style=\"background:url(none.png)\"><img src=\"data:image/gif;base64,R0lG\">";
  const LinkRewrite rewrite = pagefold::RewriteLinks(page, pagefold::PageLinks(page), "", registry, "");
  // README has no extension: its link is rewritten, but no file is packed under it.
  EXPECT_EQ(rewrite.unlinked, (std::vector<std::string>{"README", "c.htm#x", "gone.htm", "none.png"}));
  EXPECT_EQ(rewrite.marked, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(rewrite.count, 3);
  EXPECT_NE(page.find("<a href=\"..//SEARCH_FILE_NOMBER_2\">"), std::string::npos);

  // Without entries every link that could name a file is listed.
  std::string other = "<a href=x.htm><img src=x.htm>";
  const LinkRewrite none = pagefold::RewriteLinks(other, pagefold::PageLinks(other), "",
                                                  RegistryIndex(std::vector<std::string>{}), "");
  EXPECT_EQ(none.unlinked, std::vector<std::string>{"x.htm"});
  EXPECT_EQ(none.count, 0);
}

}  // namespace
