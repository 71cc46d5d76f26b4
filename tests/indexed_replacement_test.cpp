// ReplaceIndexed against ReplaceInOrder, the one-by-one replacement, on
// generated pages whose link texts share their words: texts that differ only
// in the bytes around a word, texts that begin other texts, texts that differ
// only in case, texts without words. Then the page of many such links that
// one pass per word must keep fast.
#include "core/indexed_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <set>
#include <stdexcept>

#include "random_cases.h"
#include "text/case_rules.h"

namespace {

using pagefold::LinkReplacement;

class Generator : public testing_support::RandomCases {
 public:
  using RandomCases::RandomCases;

  // Few words, so that many texts share them; "\xCF" and "\xEF" are one
  // Windows-1251 letter in two cases.
  std::string Word() { return Pick(std::vector<std::string>{"a.htm", "A.HTM", "b", "x.gif", "\xCF", "\xEF", "_"}); }
  std::string Gap() {
    if (Chance(2)) return std::string(1, '\0');
    return Pick(std::vector<std::string>{"?", "=", "&", "!", " ", "\"", "?=", "=&", " ?", "\n"});
  }

  std::string Page() {
    std::string page;
    for (int i = 0, words = Number(0, 30); i < words; ++i) page += (Chance(75) ? Word() : "") + Gap();
    return page;
  }

  // A stretch of the page, the same in another case, a stretch cut short or
  // grown by a gap, or pieces of words and gaps; each text once.
  std::vector<LinkReplacement> Replacements(const std::string& page) {
    std::vector<LinkReplacement> replacements;
    std::set<std::string> texts;
    for (int i = 0, count = Number(1, 25); i < count; ++i) {
      std::string text = Text(page);
      if (!text.empty() && texts.insert(text).second)
        replacements.push_back({text, "../HTM/SEARCH_FILE_NOMBER_" + std::to_string(Number(1, 9))});
    }
    return replacements;
  }

 private:
  std::string Text(const std::string& page) {
    std::string text;
    if (!page.empty() && Chance(70)) {
      const size_t from = std::uniform_int_distribution<size_t>(0, page.size() - 1)(random_);
      text = page.substr(from, static_cast<size_t>(Number(1, 12)));
      if (Chance(20)) text = text::LowerCp1251(text);
      if (Chance(15)) text.pop_back();
      if (Chance(15)) text += Gap();
      return text;
    }
    for (int i = 0, pieces = Number(1, 4); i < pieces; ++i) text += Chance(50) ? Word() : Gap();
    return text;
  }
};

TEST(IndexedReplacement, MatchesTheOneByOneReplacementOnTextsThatShareTheirWords) {
  Generator generate(20261209);
  int made = 0, notMade = 0, cases = 0;
  for (int i = 0; i < 40000; ++i) {
    const std::string page = generate.Page();
    const std::vector<LinkReplacement> replacements = generate.Replacements(page);
    if (replacements.empty() || !pagefold::ReplacementsStayApart(replacements)) continue;
    ++cases;
    std::string expected = page, actual = page;
    const std::vector<bool> expectedMade = pagefold::ReplaceInOrder(expected, replacements, [] {});
    const std::vector<bool> actualMade = pagefold::ReplaceIndexed(actual, replacements, [] {});
    if (actual != expected || actualMade != expectedMade) {
      std::string texts;
      for (const LinkReplacement& r : replacements) texts += "\n  \"" + testing_support::ShownWithZeros(r.text) + "\" -> " + r.resourceLink;
      FAIL() << "case " << i << "\npage:     " << testing_support::ShownWithZeros(page) << texts << "\nexpected: " << testing_support::ShownWithZeros(expected)
             << "\nactual:   " << testing_support::ShownWithZeros(actual);
    }
    for (bool flag : actualMade) (flag ? made : notMade)++;
  }
  // The cases are worth comparing: most of them can be judged by this path,
  // and both outcomes are common.
  EXPECT_GT(cases, 35000);
  EXPECT_GT(made, 40000);
  EXPECT_GT(notMade, 30000) << made << " made";
}

TEST(IndexedReplacement, TextsSharingAWordAreEachMadeOnlyWhereTheyStand) {
  // "a.htm?" stands in three places: the longer "a.htm?=" takes the first,
  // then "a.htm?" the two left, also the one before "&", so "A.HTM?&" finds
  // none; "B" occurs only in another case; the text without words takes "!!".
  std::string page = "(a.htm?=) (a.htm?) (a.htm?&) !! (b)";
  const std::vector<bool> made = pagefold::ReplaceIndexed(page,
                                                          {{"a.htm?=", "../HTM/SEARCH_FILE_NOMBER_1"},
                                                           {"a.htm?", "../HTM/SEARCH_FILE_NOMBER_2"},
                                                           {"A.HTM?&", "../HTM/SEARCH_FILE_NOMBER_3"},
                                                           {"!!", "../HTM/SEARCH_FILE_NOMBER_4"},
                                                           {"B", "../HTM/SEARCH_FILE_NOMBER_5"}},
                                                          [] {});
  EXPECT_EQ(page,
            "(../HTM/SEARCH_FILE_NOMBER_1) (../HTM/SEARCH_FILE_NOMBER_2) (../HTM/SEARCH_FILE_NOMBER_2&) "
            "../HTM/SEARCH_FILE_NOMBER_4 (b)");
  EXPECT_EQ(made, (std::vector<bool>{true, true, false, true, false}));
}

TEST(IndexedReplacement, ManyTextsDifferingOnlyAroundOneWordTakeOnePassEach) {
  // 100,000 links to one page that differ only in the bytes of their query:
  // each is looked up by the same word. Read one by one at every place of
  // that word, this took a minute; now well under a second, about two under
  // the sanitizers.
  std::string page;
  std::vector<LinkReplacement> replacements;
  for (int i = 0; i < 100000; ++i) {
    std::string query;
    for (int n = i, digit = 0; digit < 9; ++digit, n /= 4) query += "=&!*"[n % 4];
    const std::string text = "../b.htm?" + query;
    page += "<a href=\"" + text + "\">x</a>\n";
    replacements.push_back({text, "../HTM/SEARCH_FILE_NOMBER_" + std::to_string(i % 7 + 1)});
  }
  int checkpoints = 0;
  const auto start = std::chrono::steady_clock::now();
  const std::vector<bool> made = pagefold::ReplaceIndexed(page, replacements, [&] { ++checkpoints; });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 20.0);
  EXPECT_EQ(std::count(made.begin(), made.end(), true), 100000);
  EXPECT_EQ(page.find("../b.htm"), std::string::npos);
  EXPECT_EQ(page.substr(0, 44), "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">x</a>\n");
  // Checked every so often on the way, and raising there stops the replacement.
  EXPECT_GT(checkpoints, 2);
  std::string unchanged = "<a href=\"../b.htm?=\">x</a>";
  EXPECT_THROW(pagefold::ReplaceIndexed(unchanged, {{"../b.htm?=", "../HTM/SEARCH_FILE_NOMBER_1"}},
                                        [] { throw std::runtime_error("stop"); }),
               std::runtime_error);
  EXPECT_EQ(unchanged, "<a href=\"../b.htm?=\">x</a>");
}

TEST(IndexedReplacement, ALinkThatRepeatsItsOwnWordIsMatchedInOnePass) {
  // "../b.htm?" 100,000 times, on a page that holds it twice over after the
  // link: each of the 200,000 places of "../b.htm" begins a match that runs
  // far past the next ones. Compared whole at each place, this took seconds.
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "../b.htm?";
  std::string page = "<a href=\"" + text + "\">x</a>\n" + text + text + "</body>";
  const auto start = std::chrono::steady_clock::now();
  const std::vector<bool> made = pagefold::ReplaceIndexed(page, {{text, "../HTM/SEARCH_FILE_NOMBER_1"}}, [] {});
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
  // It stands alone in the link and as the page's last text; every other
  // place of it runs on into the next "../b.htm".
  EXPECT_EQ(made, std::vector<bool>{true});
  EXPECT_EQ(page, "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">x</a>\n" + text + "../HTM/SEARCH_FILE_NOMBER_1</body>");
}

}  // namespace
