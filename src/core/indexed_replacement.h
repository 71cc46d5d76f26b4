// ReplaceInOrder in about one pass over the page, for replacements that stay
// apart (see ReplacementsStayApart) and whose texts differ from each other.
// Each text is looked up through its rarest word in an index of the page as
// first read; texts looked up through the same word are matched together, so
// that every place of a word is read once for all of them.
#pragma once

#include <string>
#include <vector>

#include "core/link_replacement.h"

namespace pagefold {

// The result of ReplaceInOrder, byte for byte, for such replacements.
std::vector<bool> ReplaceIndexed(std::string& page, const std::vector<LinkReplacement>& replacements,
                                 const Checkpoint& checkpoint);

}  // namespace pagefold
