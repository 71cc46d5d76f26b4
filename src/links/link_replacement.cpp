#include "links/link_replacement.h"

#include <algorithm>

#include "links/name_bytes.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

size_t SearchEnd(const std::string& page) { return std::min(page.find('\0'), page.size()); }

bool OccursAlone(const std::string& page, std::string_view text) {
  if (text.empty()) return false;
  const size_t end = SearchEnd(page);
  for (size_t pos = page.find(text); pos != std::string::npos && pos + text.size() <= end;
       pos = page.find(text, pos + 1))
    if (StandsAlone(page, pos, text.size())) return true;
  return false;
}

void ReplaceAlone(std::string& page, std::string_view text, std::string_view link) {
  std::string lowerPage = text::LowerCp1251(page);
  lowerPage.resize(SearchEnd(page));
  const std::string lowerText = text::LowerCp1251(std::string(text));
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

}  // namespace

std::vector<bool> ReplaceInOrder(std::string& page, std::span<const LinkReplacement> replacements,
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

}  // namespace pagefold
