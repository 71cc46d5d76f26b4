#include "core/link_replacement.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <unordered_map>

#include "core/file_registry.h"
#include "core/page_words.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// Replacements made between two checkpoints.
constexpr size_t kCheckEvery = 256;

// Every resource link ends with this, lower-cased: "/" and the staged name.
const std::string kStagedNameMark = std::string("/") + kStagedNamePrefix;

size_t SearchEnd(const std::string& page) { return std::min(page.find('\0'), page.size()); }

bool StandsAlone(const std::string& page, size_t pos, size_t length) {
  return (pos == 0 || !IsNameByte(page[pos - 1])) &&
         (pos + length >= page.size() || !IsNameByte(page[pos + length]));
}

bool HasOtherBytes(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return !IsNameByte(c); });
}

bool OccursAlone(const std::string& page, const std::string& text) {
  if (text.empty()) return false;
  const size_t end = SearchEnd(page);
  for (size_t pos = page.find(text); pos != std::string::npos && pos + text.size() <= end;
       pos = page.find(text, pos + 1))
    if (StandsAlone(page, pos, text.size())) return true;
  return false;
}

// The page lower-cased up to its first zero byte.
std::string LowerSearchArea(const std::string& page) {
  std::string lower = text::LowerCp1251(page);
  lower.resize(SearchEnd(page));
  return lower;
}

void ReplaceAlone(std::string& page, const std::string& text, const std::string& link) {
  const std::string lowerPage = LowerSearchArea(page);
  const std::string lowerText = text::LowerCp1251(text);
  std::string out;
  size_t copied = 0;
  size_t pos = lowerPage.find(lowerText);
  while (pos != std::string::npos) {
    if (StandsAlone(page, pos, text.size())) {
      out.append(page, copied, pos - copied).append(link);
      copied = pos + text.size();
      pos = lowerPage.find(lowerText, copied);
    } else {
      pos = lowerPage.find(lowerText, pos + 1);
    }
  }
  page = out.append(page, copied);
}

// True when the lower-cased text could stand alone against the part of a
// resource link before its staged name, "../type", that holds bytes other than
// name bytes: inside it, or ending just before one of those bytes.
bool FitsAgainstType(std::string_view text, std::string_view typePart) {
  if (typePart.find(text) != std::string_view::npos) return true;
  for (size_t pos = 1; pos < typePart.size(); ++pos)
    if (!IsNameByte(typePart[pos]) && text.ends_with(typePart.substr(0, pos))) return true;
  return false;
}

// True when a word of the lower-cased text ends the way every resource link
// ends, "/search_file_nomber_" and digits. A resource link, and a run of them
// inserted side by side, stands between bytes other than name bytes, so a text
// can take one only by holding such a word whole. Links of a packed site
// (".../search_file_nomber_12.htm") do not.
bool HasLinkEnd(std::string_view lower) {
  for (size_t mark = lower.find(kStagedNameMark); mark != std::string_view::npos;
       mark = lower.find(kStagedNameMark, mark + 1)) {
    size_t end = mark + kStagedNameMark.size();
    while (end < lower.size() && lower[end] >= '0' && lower[end] <= '9') ++end;
    if (end > mark + kStagedNameMark.size() && (end == lower.size() || !IsNameByte(lower[end]))) return true;
  }
  return false;
}

std::vector<Word> WordsOf(std::string_view text) {
  std::vector<Word> words;
  ForEachWord(text, [&](const Word& word) { words.push_back(word); });
  return words;
}

// Where the words of the texts stand in a lower-cased page, ascending. Every
// word of a standalone occurrence is a whole word of the page, so one word of
// a text, the rarest, is enough to find all places where the text may stand.
class WordIndex {
 public:
  WordIndex(const std::string& lowerPage, const std::vector<std::string>& lowerTexts) {
    size_t longest = 0;
    for (const std::string& text : lowerTexts)
      for (const Word& word : WordsOf(text)) {
        positions_.try_emplace(word.bytes);
        longest = std::max(longest, word.bytes.size());
      }
    std::vector<bool> wanted(longest + 1);
    for (const auto& [word, unused] : positions_) wanted[word.size()] = true;
    ForEachWord(lowerPage, [&](const Word& word) {
      if (word.bytes.size() > longest || !wanted[word.bytes.size()]) return;
      const auto it = positions_.find(word.bytes);
      if (it != positions_.end()) it->second.push_back(word.offset);
    });
  }

  std::vector<size_t>& Positions(std::string_view word) { return positions_.at(word); }

 private:
  std::unordered_map<std::string_view, std::vector<size_t>> positions_;
};

// The places where a lower-cased text may begin in the lower-cased page,
// ascending: by its rarest word, or, for a text without words, by its first byte.
std::vector<size_t> PossibleStarts(const std::string& lowerPage, const std::string& lower,
                                   WordIndex& words) {
  std::vector<size_t> starts;
  const std::vector<Word> textWords = WordsOf(lower);
  if (textWords.empty()) {
    for (size_t pos = lowerPage.find(lower[0]); pos != std::string::npos; pos = lowerPage.find(lower[0], pos + 1))
      starts.push_back(pos);
    return starts;
  }
  const Word* rarest = &textWords[0];
  for (const Word& word : textWords)
    if (words.Positions(word.bytes).size() < words.Positions(rarest->bytes).size()) rarest = &word;
  for (size_t pos : words.Positions(rarest->bytes))
    if (pos >= rarest->offset) starts.push_back(pos - rarest->offset);
  return starts;
}

}  // namespace

std::vector<bool> ReplaceInOrder(std::string& page, const std::vector<LinkReplacement>& replacements,
                                 const Checkpoint& checkpoint) {
  std::vector<bool> made(replacements.size());
  for (size_t i = 0; i < replacements.size(); ++i) {
    checkpoint();
    if (!OccursAlone(page, replacements[i].text)) continue;
    ReplaceAlone(page, replacements[i].text, replacements[i].resourceLink);
    made[i] = true;
  }
  return made;
}

bool ReplacementsStayApart(const std::vector<LinkReplacement>& replacements) {
  std::set<std::string> typeParts;  // lower-cased, only those with other bytes
  std::string lower;  // one buffer for every lower-cased text
  for (const LinkReplacement& r : replacements) {
    lower = r.resourceLink;
    text::LowerCp1251InPlace(lower);
    const size_t mark = lower.rfind(kStagedNameMark);
    const std::string_view typePart = std::string_view(lower).substr(0, mark);
    // A zero byte inserted would end the search early for the replacements after it.
    if (mark == std::string::npos || typePart.find('\0') != std::string::npos) return false;
    if (HasOtherBytes(typePart)) typeParts.emplace(typePart);
  }
  for (const LinkReplacement& r : replacements) {
    lower = r.text;
    text::LowerCp1251InPlace(lower);
    if (HasLinkEnd(lower)) return false;
    for (const std::string& typePart : typeParts)
      if (FitsAgainstType(lower, typePart)) return false;
  }
  return true;
}

std::vector<bool> ReplaceIndexed(std::string& page, const std::vector<LinkReplacement>& replacements,
                                 const Checkpoint& checkpoint) {
  const size_t end = SearchEnd(page);
  const std::string lowerPage = LowerSearchArea(page);
  std::vector<std::string> lowerTexts;
  for (const LinkReplacement& r : replacements) lowerTexts.push_back(text::LowerCp1251(r.text));
  checkpoint();
  WordIndex words(lowerPage, lowerTexts);
  checkpoint();

  // Bytes of the page as first read that a replacement has taken.
  std::vector<bool> taken(end);
  const auto isFree = [&](size_t from, size_t to) {  // [from, to) clipped to the search area
    for (size_t pos = from; pos < std::min(to, end); ++pos)
      if (taken[pos]) return false;
    return true;
  };
  std::vector<std::pair<size_t, size_t>> made;  // position, replacement
  std::vector<bool> done(replacements.size());

  for (size_t i = 0; i < replacements.size(); ++i) {
    if (i % kCheckEvery == 0) checkpoint();
    const std::string& text = replacements[i].text;
    const std::string& lower = lowerTexts[i];
    if (text.empty() || text.size() > end) continue;
    const bool oneWord = !HasOtherBytes(lower);
    const std::vector<size_t> starts = PossibleStarts(lowerPage, lower, words);
    // The occurrences in the current text: none touches a taken byte, and a
    // neighbour that was taken is now a resource link's dot or digit.
    std::vector<size_t> found;
    bool exact = false;
    for (size_t pos : starts) {
      if (pos + text.size() > end || lowerPage.compare(pos, lower.size(), lower) != 0 ||
          !StandsAlone(page, pos, text.size()) || !isFree(pos == 0 ? 0 : pos - 1, pos + text.size() + 1))
        continue;
      found.push_back(pos);
      exact = exact || page.compare(pos, text.size(), text) == 0;
    }
    if (!exact) continue;
    // Left to right without overlaps; the neighbours were judged before any
    // of this replacement's occurrences was taken.
    size_t next = 0;
    for (size_t pos : found) {
      if (pos < next) continue;
      made.emplace_back(pos, i);
      next = pos + text.size();
    }
    for (auto it = made.rbegin(); it != made.rend() && it->second == i; ++it)
      std::fill(taken.begin() + it->first, taken.begin() + it->first + text.size(), true);
    // Every place of a one-word text is now taken or can never be part of an
    // occurrence again, whatever text holds the word.
    if (oneWord) words.Positions(lower).clear();
    done[i] = true;
  }

  std::sort(made.begin(), made.end());
  std::string out;
  size_t copied = 0;
  for (const auto& [pos, i] : made) {
    out.append(page, copied, pos - copied).append(replacements[i].resourceLink);
    copied = pos + replacements[i].text.size();
  }
  page = out.append(page, copied);
  return done;
}

}  // namespace pagefold
