// ReplaceInOrderByWords against a plain loop over the replacements on
// generated pages whose link texts meet each other and the resource links
// inserted before them: the same page bytes and the same replacements made.
#include "core/word_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <random>
#include <stdexcept>
#include <string_view>

#include "random_cases.h"
#include "text/case_rules.h"

namespace {

using pagefold::LinkReplacement;

// ---- The plain loop ---------------------------------------------------------

bool IsName(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return std::isalnum(b) || b >= 0x80 || (b != 0 && std::string_view("_-.~%/\\").find(c) != std::string_view::npos);
}

bool Alone(const std::string& s, size_t pos, size_t length) {
  return (pos == 0 || !IsName(s[pos - 1])) && (pos + length == s.size() || !IsName(s[pos + length]));
}

struct Result {
  std::string page;
  std::vector<bool> made;
};

Result PlainLoop(std::string page, const std::vector<LinkReplacement>& replacements) {
  std::vector<bool> made;
  for (const LinkReplacement& r : replacements) {
    const std::string& t = r.text;
    const size_t limit = std::min(page.find('\0'), page.size());
    bool occurs = false;
    for (size_t pos = 0; !t.empty() && pos + t.size() <= limit && !occurs; ++pos)
      occurs = page.compare(pos, t.size(), t) == 0 && Alone(page, pos, t.size());
    made.push_back(occurs);
    if (!occurs) continue;
    const std::string lower = text::LowerCp1251(page), lowerT = text::LowerCp1251(t);
    std::string out;
    for (size_t pos = 0; pos < page.size();) {
      if (pos + t.size() <= limit && lower.compare(pos, t.size(), lowerT) == 0 && Alone(page, pos, t.size())) {
        out += r.resourceLink;
        pos += t.size();
      } else {
        out += page[pos++];
      }
    }
    page = out;
  }
  return {page, made};
}

// ---- Generated cases --------------------------------------------------------

class Generator : public testing_support::RandomCases {
 public:
  using RandomCases::RandomCases;

  // A resource link of a few types and numbers, so that links repeat.
  std::string Link() {
    return "../" + Pick(std::vector<std::string>{"HTM", "HTM", "", "JPG", "A.B"}) + "/SEARCH_FILE_NOMBER_" +
           std::to_string(Number(1, 9));
  }

  // A piece of a page or of a text: words, resource links as written or in
  // another case, bytes that end a word, a zero byte now and then.
  std::string Word() {
    switch (Number(0, 5)) {
      case 0: case 1: return Pick(std::vector<std::string>{"x", "X", "a", "ab", "x.y", "_"});
      case 2: return text::LowerCp1251(Link());
      case 3: return Link() + Pick(std::vector<std::string>{"", "../HTM/SEARCH_FILE_NOMBER_1"});
      default: return Link();
    }
  }
  std::string Gap() {
    if (Chance(3)) return std::string(1, '\0');
    if (Chance(10)) return "";
    return Pick(std::vector<std::string>{" ", " ", "  ", "  ", "(", ")", "\"", "=", "\n", ") ("});
  }

  // A page of words and gaps, kept as its pieces; some pages repeat one
  // word between double blanks, where a text with blanks around it stands
  // twice side by side.
  std::vector<std::string> Page() {
    std::vector<std::string> pieces;
    const bool repeated = Chance(20);
    const std::string word = Word();
    for (int i = 0, words = Number(0, 20); i < words; ++i) {
      pieces.push_back(repeated && Chance(80) ? word : Word());
      pieces.push_back(repeated && Chance(80) ? "  " : Gap());
    }
    return pieces;
  }

  // A text: pieces of the page side by side, a link that an earlier
  // replacement inserts, an earlier text again, or a few other pieces.
  std::string Text(const std::vector<std::string>& page, const std::vector<LinkReplacement>& before) {
    if (!before.empty() && Chance(15)) return Pick(before).text;
    if (!before.empty() && Chance(10)) {
      // The links inserted where a text stood twice side by side.
      const LinkReplacement& r = Pick(before);
      return Gap() + r.resourceLink + r.resourceLink + Gap();
    }
    if (!before.empty() && Chance(25)) {
      std::string link = Pick(before).resourceLink;
      if (Chance(30)) link = text::LowerCp1251(link);
      if (Chance(30)) link = Pick(std::vector<std::string>{"x ", " ", "(", ""}) + link;
      if (Chance(20)) link += Pick(std::vector<std::string>{" x", " ", ")", link});
      return link;
    }
    std::string text;
    if (!page.empty() && Chance(10)) return " " + page[std::uniform_int_distribution<size_t>(0, page.size() / 2 - 1)(random_) * 2] + " ";
    if (!page.empty() && Chance(70)) {
      const size_t from = std::uniform_int_distribution<size_t>(0, page.size() - 1)(random_);
      for (size_t n = from, end = std::min(page.size(), from + Number(1, 4)); n < end; ++n) text += page[n];
      return Chance(20) ? text::LowerCp1251(text) : text;
    }
    for (int i = 0, pieces = Number(1, 3); i < pieces; ++i) text += Chance(50) ? Word() : Gap();
    return text;
  }

  std::vector<LinkReplacement> Replacements(const std::vector<std::string>& page) {
    std::vector<LinkReplacement> replacements;
    for (int i = 0, count = Number(1, 20); i < count; ++i) replacements.push_back({Text(page, replacements), Link()});
    return replacements;
  }
};

TEST(WordReplacement, MatchesThePlainLoopOnPagesOfLinksAndTheirPieces) {
  Generator generate(20261209);
  int made = 0, swallowing = 0, sideBySide = 0;
  for (int i = 0; i < 30000; ++i) {
    const std::vector<std::string> pieces = generate.Page();
    std::string page;
    for (const std::string& piece : pieces) page += piece;
    const std::vector<LinkReplacement> replacements = generate.Replacements(pieces);
    const Result expected = PlainLoop(page, replacements);
    std::string actual = page;
    const std::vector<bool> flags = pagefold::ReplaceInOrderByWords(actual, replacements, [] {});
    if (actual != expected.page || flags != expected.made) {
      std::string texts;
      for (const LinkReplacement& r : replacements) texts += "\n  \"" + testing_support::ShownWithZeros(r.text) + "\" -> " + r.resourceLink;
      FAIL() << "case " << i << "\npage:     " << testing_support::ShownWithZeros(page) << texts << "\nexpected: " << testing_support::ShownWithZeros(expected.page)
             << "\nactual:   " << testing_support::ShownWithZeros(actual);
    }
    for (size_t n = 0; n < replacements.size(); ++n) {
      made += flags[n];
      const std::string& link = replacements[n].resourceLink;
      sideBySide += flags[n] && expected.page.find(link + link) != std::string::npos;
      // A made text that holds an earlier resource link.
      for (size_t m = 0; m < n && flags[n]; ++m)
        if (replacements[n].text.find(replacements[m].resourceLink) != std::string::npos && flags[m]) {
          ++swallowing;
          break;
        }
    }
  }
  // The cases are worth comparing: many replacements are made, many of
  // them over links inserted before, some side by side.
  EXPECT_GT(made, 25000);
  EXPECT_GT(swallowing, 3000);
  EXPECT_GT(sideBySide, 300);
}

TEST(WordReplacement, SideBySideOccurrencesBecomeOneWord) {
  // " x " twice side by side: the two links inserted are one word, which a
  // later text finds only whole.
  const std::string link = "../HTM/SEARCH_FILE_NOMBER_1";
  std::string page = "( x  x ) x";
  const std::vector<bool> made = pagefold::ReplaceInOrderByWords(
      page, {{" x ", link}, {link, "../HTM/SEARCH_FILE_NOMBER_2"}, {link + link, "../HTM/SEARCH_FILE_NOMBER_3"}},
      [] {});
  EXPECT_EQ(page, "(../HTM/SEARCH_FILE_NOMBER_3) x");
  EXPECT_EQ(made, (std::vector<bool>{true, false, true}));
}

TEST(WordReplacement, APlaceTooNearThePageStartIsLookedAtAgainOnceALinkLengthensWhatStandsBeforeIt) {
  // Both texts are looked up through "a.b", 28 bytes into them, so the first
  // finds no room before the only "a.b". Once "x" has become a link, the
  // second text stands there.
  const std::string link1 = "../HTM/SEARCH_FILE_NOMBER_1", link2 = "../HTM/SEARCH_FILE_NOMBER_2";
  std::string page = "x a.b (" + link1 + ") (" + link1 + ") (" + link2 + ") (" + link2 + ")";
  const std::vector<bool> made = pagefold::ReplaceInOrderByWords(
      page, {{link2 + " a.b", "../HTM/SEARCH_FILE_NOMBER_3"}, {"x", link1}, {link1 + " a.b", "../HTM/SEARCH_FILE_NOMBER_4"}},
      [] {});
  EXPECT_EQ(page, "../HTM/SEARCH_FILE_NOMBER_4 (" + link1 + ") (" + link1 + ") (" + link2 + ") (" + link2 + ")");
  EXPECT_EQ(made, (std::vector<bool>{false, true, true}));
}

TEST(WordReplacement, ManyTextsDifferingOnlyAroundOneLinkWordTakeAboutOnePassEach) {
  // 100,000 texts that differ only in the punctuation after one resource
  // link, each standing once: read one by one at every place of that link,
  // they took minutes. Now about a second, several under the sanitizers.
  const std::string link = "../HTM/SEARCH_FILE_NOMBER_1";
  std::string page;
  std::vector<LinkReplacement> replacements;
  for (int i = 0; i < 100000; ++i) {
    std::string query;
    for (int n = i, digit = 0; digit < 9; ++digit, n /= 4) query += "=&!*"[n % 4];
    page += "<a href=\"" + link + "?" + query + "\">x</a>\n";
    replacements.push_back({link + "?" + query, "../HTM/SEARCH_FILE_NOMBER_" + std::to_string(i % 7 + 2)});
  }
  const auto start = std::chrono::steady_clock::now();
  const std::vector<bool> made = pagefold::ReplaceInOrderByWords(page, replacements, [] {});
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20.0);
  EXPECT_EQ(std::count(made.begin(), made.end(), true), 100000);
  EXPECT_EQ(page.find(link), std::string::npos);
  EXPECT_EQ(page.substr(0, 44), "<a href=\"../HTM/SEARCH_FILE_NOMBER_2\">x</a>\n");
}

TEST(WordReplacement, TellsLinksOfNameBytesOnlyAndStopsAtTheCheckpoint) {
  EXPECT_TRUE(pagefold::LinksAreWords({{"a", "../HTM/SEARCH_FILE_NOMBER_1"}, {"b", "..//SEARCH_FILE_NOMBER_2"}}));
  EXPECT_FALSE(pagefold::LinksAreWords({{"a", "../HTM/SEARCH_FILE_NOMBER_1"}, {"b", "../A B/SEARCH_FILE_NOMBER_2"}}));
  EXPECT_FALSE(pagefold::LinksAreWords({{"a", std::string("../A\0/SEARCH_FILE_NOMBER_2", 26)}}));

  std::vector<LinkReplacement> replacements;
  for (int i = 0; i < 1000; ++i) replacements.push_back({"x" + std::to_string(i), "../HTM/SEARCH_FILE_NOMBER_1"});
  std::string page = "x1 x999";
  int calls = 0;
  EXPECT_THROW(pagefold::ReplaceInOrderByWords(page, replacements,
                                               [&] {
                                                 if (++calls == 4) throw std::runtime_error("stop");
                                               }),
               std::runtime_error);
  EXPECT_EQ(calls, 4);
}

}  // namespace
