// ReplaceInOnePass against ReplaceInOrder, the rule, on generated pages whose
// link texts meet each other and the resource links inserted before them:
// texts cut short or grown, in another case, without words, written like
// resource links or like pieces of them, links side by side, zero bytes.
// Then the cases worth seeing whole, and pages made to be slow.
#include "links/one_pass_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>

#include "links/link_replacement.h"
#include "random_cases.h"
#include "text/case_rules.h"

namespace {

using pagefold::LinkReplacement;
using testing_support::ShownWithZeros;

// A replacement's bytes, which a LinkReplacement views.
struct Owned {
  std::string text, resourceLink;
};

std::vector<LinkReplacement> Views(const std::vector<Owned>& owned) {
  std::vector<LinkReplacement> views;
  for (const Owned& o : owned) views.push_back({o.text, o.resourceLink});
  return views;
}

class Generator : public testing_support::RandomCases {
 public:
  using RandomCases::RandomCases;

  // A resource link of a few types and numbers, so that links repeat; types
  // with bytes that end a name, so that texts can end inside them; now and
  // then a link of another form.
  std::string Link() {
    if (Number(0, 299) == 0)
      return Pick(std::vector<std::string>{std::string("../A\0/SEARCH_FILE_NOMBER_2", 26),
                                           " ../HTM/SEARCH_FILE_NOMBER_3", "../HTM/SEARCH_FILE_NOMBER_"});
    return "../" +
           Pick(std::vector<std::string>{"HTM", "HTM", "", "JPG", "A.B", "C++", "A B", "A B C", "(X)", "X=Y", "\xCE\xC1 C"}) +
           "/SEARCH_FILE_NOMBER_" + std::to_string(Number(1, 9));
  }

  // A piece of a page or of a text: words, a word cut or grown, resource
  // links as written or in another case. "\xCF" and "\xEF" are one
  // Windows-1251 letter in two cases.
  std::string Word() {
    switch (Number(0, 6)) {
      case 0: case 1: case 2:
        return Pick(std::vector<std::string>{"a.htm", "A.HTM", "a.ht", "a.htmx", "b", "x.gif", "\xCF", "\xEF", "_",
                                             "x", "X", "c", "../c", "../C", "x.c++", "a b"});
      case 3: return pagefold::text::LowerCp1251(Link());
      case 4: return Link() + Pick(std::vector<std::string>{"", "../HTM/SEARCH_FILE_NOMBER_1"});
      default: return Link();
    }
  }
  std::string Gap() {
    if (Chance(1)) return std::string(1, '\0');
    if (Chance(8)) return "";
    return Pick(std::vector<std::string>{" ", " ", "  ", "(", ")", ") (", "\"", "=", "?", "?=", "&", "!", "+", "\n"});
  }

  // A page of words and gaps; some pages repeat one word between double
  // blanks, where a text with blanks around it stands twice side by side.
  std::vector<std::string> Page() {
    std::vector<std::string> pieces;
    const bool repeated = Chance(20);
    const std::string word = Word();
    for (int i = 0, words = Number(0, 24); i < words; ++i) {
      pieces.push_back(repeated && Chance(80) ? word : Word());
      pieces.push_back(repeated && Chance(80) ? "  " : Gap());
    }
    return pieces;
  }

  std::vector<Owned> Replacements(const std::vector<std::string>& page) {
    std::vector<Owned> replacements;
    for (int i = 0, count = Number(1, 20); i < count; ++i) replacements.push_back({Text(page, replacements), Link()});
    return replacements;
  }

 private:
  // A text: an earlier text again; the links of an earlier one side by side,
  // or one of them with bytes around it, or cut inside its type; pieces of
  // the page side by side, cut short, grown or in another case; or a few
  // other pieces.
  std::string Text(const std::vector<std::string>& page, const std::vector<Owned>& before) {
    if (!before.empty()) {
      const Owned& earlier = Pick(before);
      const std::string& link = earlier.resourceLink;
      switch (Number(0, 9)) {
        case 0: return earlier.text;
        case 1: return Gap() + link + link + Gap();
        case 2: {
          std::string text = Chance(30) ? pagefold::text::LowerCp1251(link) : link;
          if (Chance(30)) text = Pick(std::vector<std::string>{"x ", " ", "(", ""}) + text;
          if (Chance(20)) text += Pick(std::vector<std::string>{" x", " ", ")", link});
          return text;
        }
        case 3: {
          const size_t cut = std::min(link.size(), static_cast<size_t>(Number(1, 8)));
          const size_t from = Chance(50) ? 0 : static_cast<size_t>(Number(0, static_cast<int>(cut)));
          return Pick(std::vector<std::string>{"", "x", "("}) + link.substr(from, cut - from);
        }
        default: break;
      }
    }
    std::string text;
    if (!page.empty() && Chance(70)) {
      const size_t from = std::uniform_int_distribution<size_t>(0, page.size() - 1)(random_);
      for (size_t n = from, end = std::min(page.size(), from + Number(1, 4)); n < end; ++n) text += page[n];
      if (Chance(20)) text = pagefold::text::LowerCp1251(text);
      if (Chance(10) && !text.empty()) text.pop_back();
      if (Chance(10)) text += Gap();
      return text;
    }
    for (int i = 0, pieces = Number(1, 3); i < pieces; ++i) text += Chance(50) ? Word() : Gap();
    return text;
  }
};

std::string Described(const std::string& page, const std::vector<LinkReplacement>& replacements) {
  std::string out = "page: " + ShownWithZeros(page);
  for (const LinkReplacement& r : replacements)
    out += "\n  \"" + ShownWithZeros(std::string(r.text)) + "\" -> " + ShownWithZeros(std::string(r.resourceLink));
  return out;
}

TEST(OnePassReplacement, GivesTheRulesPageAndMarksOnGeneratedPages) {
  Generator generate(20261209);
  int made = 0, notMade = 0, overLinks = 0, insideTypes = 0, sideBySide = 0;
  for (int i = 0; i < 40000; ++i) {
    const std::vector<std::string> pieces = generate.Page();
    std::string page;
    for (const std::string& piece : pieces) page += piece;
    const std::vector<Owned> owned = generate.Replacements(pieces);
    const std::vector<LinkReplacement> replacements = Views(owned);
    std::string expected = page, actual = page;
    const std::vector<bool> expectedMade = pagefold::ReplaceInOrder(expected, replacements, [] {});
    const std::vector<bool> actualMade = pagefold::ReplaceInOnePass(actual, replacements, [] {});
    if (actual != expected || actualMade != expectedMade)
      FAIL() << "case " << i << "\n" << Described(page, replacements) << "\nexpected: " << ShownWithZeros(expected)
             << "\nactual:   " << ShownWithZeros(actual);
    for (size_t n = 0; n < replacements.size(); ++n) {
      (actualMade[n] ? made : notMade)++;
      const std::string& text = owned[n].text;
      const std::string& link = owned[n].resourceLink;
      sideBySide += actualMade[n] && expected.find(link + link) != std::string::npos;
      // A made text that holds an earlier link made, or a piece of its type.
      for (size_t m = 0; m < n && actualMade[n] && page.find(text) == std::string::npos; ++m) {
        if (!actualMade[m]) continue;
        const std::string& earlier = owned[m].resourceLink;
        overLinks += text.find(earlier) != std::string::npos;
        insideTypes += earlier.find(text) != std::string::npos && earlier.find(text) < earlier.rfind('/');
      }
    }
  }
  // The cases are worth comparing: both outcomes are common, and many
  // texts are made over links inserted before them.
  EXPECT_GT(made, 30000);
  EXPECT_GT(notMade, 200000);
  EXPECT_GT(overLinks, 1500);
  EXPECT_GT(insideTypes, 1500);
  EXPECT_GT(sideBySide, 60);
}

TEST(OnePassReplacement, OrderDecidesWhereOneTextHoldsAnother) {
  // "a.htm" comes first and takes the beginning of "a.htm?x" too, which is
  // then no longer found, while "a.htm" inside "data.htm" does not stand
  // alone; "B" stands only in another case; "!!" has no word.
  const std::string a = "../HTM/SEARCH_FILE_NOMBER_2", query = "../HTM/SEARCH_FILE_NOMBER_5";
  std::string page = "<a href=\"a.htm?x\">(a.htm) data.htm !! (b)</a>";
  const std::vector<bool> made = pagefold::ReplaceInOnePass(
      page, {{"a.htm", a}, {"a.htm?x", query}, {"!!", a}, {"B", query}}, [] {});
  EXPECT_EQ(page, "<a href=\"" + a + "?x\">(" + a + ") data.htm " + a + " (b)</a>");
  EXPECT_EQ(made, (std::vector<bool>{true, false, true, false}));
}

TEST(OnePassReplacement, TextsEqualInAnyCaseAreEachLookedForAsWritten) {
  // "A" and "B" are not written so in the page and are not made; "a" and
  // "b", written as the page has them, are, each after a miss in another case.
  std::string page = "(a) (b)";
  const std::vector<bool> made = pagefold::ReplaceInOnePass(page,
                                                            {{"A", "../A/SEARCH_FILE_NOMBER_1"},
                                                             {"a", "../A/SEARCH_FILE_NOMBER_2"},
                                                             {"B", "../B/SEARCH_FILE_NOMBER_3"},
                                                             {"B", "../B/SEARCH_FILE_NOMBER_4"},
                                                             {"b", "../B/SEARCH_FILE_NOMBER_5"},
                                                             {"a", "../A/SEARCH_FILE_NOMBER_6"}},
                                                            [] {});
  EXPECT_EQ(page, "(../A/SEARCH_FILE_NOMBER_2) (../B/SEARCH_FILE_NOMBER_5)");
  EXPECT_EQ(made, (std::vector<bool>{false, true, false, false, true, false}));
}

TEST(OnePassReplacement, TextsMeetTheLinksInsertedBeforeThem) {
  // A text ending inside the type "C++", before its "+": written "../C" as
  // the link has it.
  const std::string cpp = "../C++/SEARCH_FILE_NOMBER_1", bare = "..//SEARCH_FILE_NOMBER_2";
  std::string page = "(x.c++) ../c";
  std::vector<bool> made = pagefold::ReplaceInOnePass(page, {{"x.c++", cpp}, {"../C", bare}, {"../c", bare}}, [] {});
  EXPECT_EQ(page, "(" + bare + "++/SEARCH_FILE_NOMBER_1) " + bare);
  EXPECT_EQ(made, (std::vector<bool>{true, true, false}));

  // " x " twice side by side: the two links are one word, which a later
  // text takes only whole. A text holding a link is made only when written
  // as the link is.
  const std::string one = "../HTM/SEARCH_FILE_NOMBER_1", four = "../HTM/SEARCH_FILE_NOMBER_4";
  page = "( x  x ) x,(x)";
  made = pagefold::ReplaceInOnePass(page,
                                    {{" x ", one},
                                     {one, "../HTM/SEARCH_FILE_NOMBER_2"},
                                     {one + one, "../HTM/SEARCH_FILE_NOMBER_3"},
                                     {"x", four},
                                     {"(../htm/search_file_nomber_4)", "../HTM/SEARCH_FILE_NOMBER_5"},
                                     {"(" + four + ")", "../HTM/SEARCH_FILE_NOMBER_6"}},
                                    [] {});
  EXPECT_EQ(page, "(../HTM/SEARCH_FILE_NOMBER_3) " + four + ",../HTM/SEARCH_FILE_NOMBER_6");
  EXPECT_EQ(made, (std::vector<bool>{true, false, true, true, false, true}));
}

TEST(OnePassReplacement, ALinkOfAnotherFormLeavesTheRestToTheRule) {
  // A zero byte in a link ends the search there for every later text.
  const std::string zero("../A\0/SEARCH_FILE_NOMBER_1", 26);
  std::string page = "(a) (b) (c)";
  const std::vector<bool> made =
      pagefold::ReplaceInOnePass(page, {{"b", zero}, {"a", "../A/SEARCH_FILE_NOMBER_2"}, {"c", "../C/SEARCH_FILE_NOMBER_3"}}, [] {});
  EXPECT_EQ(page, "(../A/SEARCH_FILE_NOMBER_2) (" + zero + ") (c)");
  EXPECT_EQ(made, (std::vector<bool>{true, true, false}));
}

TEST(OnePassReplacement, StopsAtTheCheckpointWithThePageUnchanged) {
  std::vector<Owned> owned;
  for (int i = 0; i < 5000; ++i) owned.push_back({"x" + std::to_string(i), "../HTM/SEARCH_FILE_NOMBER_1"});
  const std::vector<LinkReplacement> replacements = Views(owned);
  std::string page = "x1 x4999";
  int calls = 0;
  EXPECT_THROW(pagefold::ReplaceInOnePass(page, replacements,
                                          [&] {
                                            if (++calls == 3) throw std::runtime_error("stop");
                                          }),
               std::runtime_error);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(page, "x1 x4999");
}

TEST(OnePassReplacement, APageThatGrowsReachesTheCheckpointBetweenFewSteps) {
  // Each link holds the next text twice, standing alone inside its type, so
  // 17 steps double the page 16 times, to some 2.5 MiB.
  std::string page;
  std::vector<Owned> owned;
  for (char c = 'a'; c <= 'q'; ++c) {
    const std::string next(1, static_cast<char>(c + 1 - 'a' + 'A'));
    page += std::string(1, c) + " ";
    owned.push_back({std::string(1, c), "../X " + next + " " + next + " X/SEARCH_FILE_NOMBER_" +
                                            std::to_string(c - 'a' + 1)});
  }
  const std::vector<LinkReplacement> replacements = Views(owned);
  std::string expected = page;
  pagefold::ReplaceInOrder(expected, replacements, [] {});
  ASSERT_GT(expected.size(), 2u << 20);

  std::string actual = page;
  int calls = 0;
  const std::vector<bool> made = pagefold::ReplaceInOnePass(actual, replacements, [&] { ++calls; });
  EXPECT_TRUE(actual == expected);
  EXPECT_EQ(std::count(made.begin(), made.end(), true), 17);
  EXPECT_GE(calls, 3);  // at the start, then after each MiB or more inserted

  calls = 0;
  EXPECT_THROW(pagefold::ReplaceInOnePass(actual = page, replacements,
                                          [&] {
                                            if (++calls == 2) throw std::runtime_error("stop");
                                          }),
               std::runtime_error);
  EXPECT_EQ(actual, page);
}

double SecondsOf(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Pages that made the earlier ways quadratic. Each now takes well under a
// second; the limits leave room for the sanitizers and a loaded machine.
TEST(OnePassReplacement, PagesMadeToBeSlowTakeOnePass) {
  // 100,000 links to one page that differ only in their query punctuation.
  std::string page;
  std::vector<Owned> owned;
  for (int i = 0; i < 100000; ++i) {
    std::string query;
    for (int n = i, digit = 0; digit < 9; ++digit, n /= 4) query += "=&!*"[n % 4];
    const std::string text = "../b.htm?" + query;
    page += "<a href=\"" + text + "\">x</a>\n";
    owned.push_back({text, "../HTM/SEARCH_FILE_NOMBER_" + std::to_string(i % 7 + 1)});
  }
  std::vector<LinkReplacement> replacements = Views(owned);
  std::vector<bool> made;
  EXPECT_LT(SecondsOf([&] { made = pagefold::ReplaceInOnePass(page, replacements, [] {}); }), 20.0);
  EXPECT_EQ(std::count(made.begin(), made.end(), true), 100000);
  EXPECT_EQ(page.substr(0, 44), "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">x</a>\n");

  // Two texts repeating "../b.htm?" 20,000 times, the second with "=" after
  // it, on a page that holds it twice over: read together at every place of
  // "../b.htm", they took minutes.
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "../b.htm?";
  page = "<a href=\"" + text + "\">x</a>\n<a href=\"" + text + "=\">x</a>\n" + text + text + "</body>";
  EXPECT_LT(SecondsOf([&] {
              made = pagefold::ReplaceInOnePass(
                  page, {{text, "../HTM/SEARCH_FILE_NOMBER_1"}, {text + "=", "../HTM/SEARCH_FILE_NOMBER_2"}}, [] {});
            }),
            5.0);
  // The first takes the beginning of the second, and of the page's last text.
  EXPECT_EQ(made, (std::vector<bool>{true, false}));
  EXPECT_TRUE(page == "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">x</a>\n<a href=\"../HTM/SEARCH_FILE_NOMBER_1=\">x</a>\n" +
                          text + "../HTM/SEARCH_FILE_NOMBER_1</body>");

  // 20,000 links written as the resource links that the ones before them
  // insert, each meeting one of those links.
  page.clear();
  owned.clear();
  for (int i = 1; i <= 20000; ++i) {
    const std::string link = "../HTM/SEARCH_FILE_NOMBER_" + std::to_string(i);
    page += "<a href=\"" + link + "\">x</a> (" + std::to_string(i) + ")\n";
    owned.push_back({std::to_string(i), link});
    owned.push_back({link, "../PICS/SEARCH_FILE_NOMBER_" + std::to_string(i)});
  }
  replacements = Views(owned);
  EXPECT_LT(SecondsOf([&] { made = pagefold::ReplaceInOnePass(page, replacements, [] {}); }), 20.0);
  EXPECT_EQ(std::count(made.begin(), made.end(), true), 40000);
  EXPECT_EQ(page.find("HTM/"), std::string::npos);
  EXPECT_TRUE(page.starts_with("<a href=\"../PICS/SEARCH_FILE_NOMBER_1\">x</a> (../PICS/SEARCH_FILE_NOMBER_1)\n"));
}

}  // namespace
