#include "core/shown_links.h"

#include <algorithm>

#include "core/link_resolution.h"
#include "text/cp1251.h"

namespace pagefold {

std::vector<std::string> ShownLinks(const std::vector<std::string>& links, LinkSource source, bool utf8) {
  const bool page = source == LinkSource::Page;
  struct Link {
    std::string read, shown;
  };
  std::vector<Link> all;
  all.reserve(links.size());
  for (const std::string& link : links) {
    std::string shown = utf8 ? text::Utf8ToCp1251Shown(link) : link;
    if (page) all.push_back({DecodedCharacterReferences(link), DecodedCharacterReferences(shown)});
    else all.push_back({link, std::move(shown)});
  }
  std::sort(all.begin(), all.end(), [](const Link& a, const Link& b) {
    return a.read != b.read ? a.read < b.read : a.shown < b.shown;
  });
  std::vector<std::string> shown;
  for (size_t i = 0; i < all.size(); ++i)
    if (i == 0 || all[i].read != all[i - 1].read) shown.push_back(std::move(all[i].shown));
  return shown;
}

}  // namespace pagefold
