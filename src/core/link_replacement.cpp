#include "core/link_replacement.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <unordered_map>

#include "text/case_rules.h"

namespace pagefold {
namespace {

// Every resource link ends with this, lower-cased: "/" and the staged name.
constexpr std::string_view kStagedNameMark = "/search_file_nomber_";

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

void ReplaceAlone(std::string& page, const std::string& text, const std::string& link) {
  const std::string lowerPage = text::LowerCp1251(page.substr(0, SearchEnd(page)));
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

// The positions of words (runs of name bytes) in a lower-cased page, for the
// words that the lower-cased texts begin with.
class WordIndex {
 public:
  WordIndex(const std::string& lowerPage, const std::vector<std::string>& lowerTexts) {
    size_t longest = 0;
    for (const std::string& text : lowerTexts) {
      const std::string_view word = FirstWord(text);
      if (word.empty()) continue;
      positions_.try_emplace(word);
      longest = std::max(longest, word.size());
    }
    std::vector<bool> wanted(longest + 1);
    for (const auto& [word, unused] : positions_) wanted[word.size()] = true;
    for (size_t pos = 0; pos < lowerPage.size();) {
      size_t end = pos;
      while (end < lowerPage.size() && IsNameByte(lowerPage[end])) ++end;
      if (end > pos && end - pos <= longest && wanted[end - pos]) {
        const auto it = positions_.find(std::string_view(lowerPage).substr(pos, end - pos));
        if (it != positions_.end()) it->second.push_back(pos);
      }
      pos = end + (end == pos);
    }
  }

  static std::string_view FirstWord(std::string_view text) {
    const auto other = std::find_if(text.begin(), text.end(), [](char c) { return !IsNameByte(c); });
    return text.substr(0, static_cast<size_t>(other - text.begin()));
  }

  // Where the word stands, ascending.
  std::vector<size_t>& Positions(std::string_view word) { return positions_.at(word); }

 private:
  std::unordered_map<std::string_view, std::vector<size_t>> positions_;
};

}  // namespace

bool IsNameByte(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80 ||
         std::string_view("_-.~%/\\").find(c) != std::string_view::npos;
}

std::vector<bool> ReplaceInOrder(std::string& page, const std::vector<LinkReplacement>& replacements) {
  std::vector<bool> made(replacements.size());
  for (size_t i = 0; i < replacements.size(); ++i) {
    if (!OccursAlone(page, replacements[i].text)) continue;
    ReplaceAlone(page, replacements[i].text, replacements[i].resourceLink);
    made[i] = true;
  }
  return made;
}

bool ReplacementsStayApart(const std::vector<LinkReplacement>& replacements) {
  std::set<std::string> typeParts;  // lower-cased, only those with other bytes
  for (const LinkReplacement& r : replacements) {
    const std::string lower = text::LowerCp1251(r.resourceLink);
    const size_t mark = lower.rfind(kStagedNameMark);
    const std::string typePart = lower.substr(0, mark);
    // A zero byte inserted would end the search early for the replacements after it.
    if (mark == std::string::npos || typePart.find('\0') != std::string::npos) return false;
    if (HasOtherBytes(typePart)) typeParts.insert(typePart);
  }
  for (const LinkReplacement& r : replacements) {
    const std::string lower = text::LowerCp1251(r.text);
    if (lower.find(kStagedNameMark) != std::string::npos) return false;
    for (const std::string& typePart : typeParts)
      if (FitsAgainstType(lower, typePart)) return false;
  }
  return true;
}

std::vector<bool> ReplaceIndexed(std::string& page, const std::vector<LinkReplacement>& replacements) {
  const size_t end = SearchEnd(page);
  const std::string lowerPage = text::LowerCp1251(page.substr(0, end));
  std::vector<std::string> lowerTexts;
  for (const LinkReplacement& r : replacements) lowerTexts.push_back(text::LowerCp1251(r.text));
  WordIndex words(lowerPage, lowerTexts);

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
    const std::string& text = replacements[i].text;
    const std::string& lower = lowerTexts[i];
    if (text.empty() || text.size() > end) continue;
    const bool oneWord = !HasOtherBytes(lower);
    std::vector<size_t> scanned;
    std::vector<size_t>* starts = &scanned;
    if (IsNameByte(lower[0])) {
      starts = &words.Positions(WordIndex::FirstWord(lower));
    } else {
      for (size_t pos = 0; pos + text.size() <= end; ++pos)
        if (lowerPage[pos] == lower[0]) scanned.push_back(pos);
    }
    // The occurrences in the current text: none touches a taken byte, and a
    // neighbour that was taken is now a resource link's dot or digit.
    std::vector<size_t> found;
    bool exact = false;
    for (size_t pos : *starts) {
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
    // Every occurrence of a one-word text is now taken or can never stand alone again.
    if (oneWord) starts->clear();
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
