// Rewriting the links of one page into resource links (see
// BuildCommand::ReplaceUrl, which reads and writes the page file around it).
#pragma once

#include <string>
#include <vector>

#include "core/registry_index.h"

namespace pagefold {

// Collects the values behind "href=", "src=" and "background=" of the page's
// text, resolves each link against the page's folder, and for every entry of
// the registry, by ascending number, and every link that names it, in the
// order collected, replaces the link text wherever it stands alone in the
// page by the entry's ResourceLink and sets usedFlags[N] (the table grows to
// the registry's count when it is shorter). The type is groupType, or the
// extension of the entry's name when groupType is empty. A link names an entry
// as written; failing that by its part before "#" or "?"; then read as UTF-8;
// then percent-decoded. Returns the number of replacements made.
int RewriteLinks(std::string& page, const std::string& pageFolder, const RegistryIndex& registry,
                 const std::string& groupType, std::vector<unsigned char>& usedFlags);

}  // namespace pagefold
