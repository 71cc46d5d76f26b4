// TextAutomaton: the numbers texts go by, and every end it reports, in any
// case, through failure links, longest text first.
#include "links/text_automaton.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

namespace {

using Found = std::vector<std::pair<int32_t, size_t>>;  // text number, end

Found ScanAll(const pagefold::TextAutomaton& automaton, std::string_view page, size_t onlyEnd = 0) {
  Found found;
  automaton.Scan(
      page, [&](size_t end) { return onlyEnd == 0 || end == onlyEnd; },
      [&](int32_t text, size_t end) { found.emplace_back(text, end); });
  return found;
}

TEST(TextAutomaton, EqualTextsGoByTheFirstOfThemAndEmptyOnesByNone) {
  const pagefold::TextAutomaton automaton({"ab", "b", "", "ab", "\xEF", "b", "abc"});
  const std::vector<int32_t> expected{0, 1, -1, 0, 4, 1, 6};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(automaton.NumberOf(i), expected[i]) << i;
}

TEST(TextAutomaton, FindsEveryEndInAnyCaseLongestFirst) {
  const pagefold::TextAutomaton automaton({"aab", "ab", "b", "\xEF\xF0", "ab"});
  // "aaab" needs the failure link from "aa" back to "a"; "\xCF\xD0" is
  // "\xEF\xF0" in capitals.
  EXPECT_EQ(ScanAll(automaton, "xAaAB \xCF\xD0 ab"),
            (Found{{0, 5}, {1, 5}, {2, 5}, {3, 8}, {1, 11}, {2, 11}}));
  EXPECT_EQ(ScanAll(automaton, "xAaAB \xCF\xD0 ab", 11), (Found{{1, 11}, {2, 11}}));
  EXPECT_EQ(ScanAll(automaton, "a a-a\xEF"), Found{});
}

}  // namespace
