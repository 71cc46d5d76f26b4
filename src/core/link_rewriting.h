// Rewriting the links of a page or a style sheet into resource links (see
// BuildCommand::ReplaceUrl, which reads and writes the page file around it).
#pragma once

#include <string>
#include <vector>

#include "core/registry_index.h"
#include "links/link_replacement.h"

namespace pagefold {

// What rewriting one text did.
struct LinkRewrite {
  int count = 0;                      // replacements made
  std::vector<int> marked;            // the entries linked, ascending, each once
  std::vector<std::string> unlinked;  // links naming no packed file, sorted, each once
};

// The links of a page: the values behind "href=", then "src=", then
// "background=" (each cut by Cnv), each group in order of position, then the
// url(...) values of its style areas (PageStyleAreas).
std::vector<std::string> PageLinks(const std::string& page);

// For every entry of the registry, by ascending number, and every link that
// names it, in the order given, replaces the link text wherever it stands
// alone in the text by the entry's ResourceLink. Links resolve against the
// folder. The type is groupType, or the extension of the entry's name when
// groupType is empty. A link names an entry as written; failing that by its
// part before "#" or "?"; then read as UTF-8; then percent-decoded; its
// character references decoded first. A link named by its part before "?"
// is replaced with its query, which a resource cannot read; its fragment stays. A link
// with a scheme, an absolute path or a fragment alone names nothing and is
// not counted as unlinked; nor is an empty one. A link that names only an
// entry without an extension, which is never packed, counts as unlinked.
// The checkpoint is called every so often, so that a long page can be stopped.
LinkRewrite RewriteLinks(std::string& text, const std::vector<std::string>& links, const std::string& folder,
                         const RegistryIndex& registry, const std::string& groupType,
                         const Checkpoint& checkpoint = [] {});

enum class LinkSource { Page, StyleSheet };

// Reads a staged file, rewrites it with the links of a page (PageLinks) or of
// a style sheet (StyleSheetLinks), and writes it back when a replacement was
// made. Raises "Cannot open file "%s". %s" and "Cannot create file "%s". %s".
LinkRewrite RewriteStagedFile(const std::string& path, LinkSource source, const std::string& folder,
                              const RegistryIndex& registry, const std::string& groupType);

}  // namespace pagefold
