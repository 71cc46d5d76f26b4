#include "core/link_replacement.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <unordered_set>

#include "core/file_registry.h"
#include "core/page_words.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// Every resource link ends with this, lower-cased: "/" and the staged name.
const std::string kStagedNameMark = std::string("/") + kStagedNamePrefix;

size_t SearchEnd(const std::string& page) { return std::min(page.find('\0'), page.size()); }

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
  std::unordered_set<std::string_view> judged;  // resource links without their final digits
  for (const LinkReplacement& r : replacements) {
    // Links of one type differ only in their number, which holds no part of
    // the mark, and so are judged alike.
    const std::string_view link = r.resourceLink;
    if (!judged.insert(link.substr(0, link.find_last_not_of("0123456789") + 1)).second) continue;
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

}  // namespace pagefold
