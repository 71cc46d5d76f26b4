// ReplaceInOrder for resource links made of name bytes only, in about
// n log n in the page and the replacements. Such a link, inserted where a
// standalone text stood, is one whole word of the new page (or, where the
// same text stood twice side by side, the links together are one word), so
// every text that can stand alone later is found through its rarest word
// among the words of the page as first read and the links inserted since.
#pragma once

#include <string>
#include <vector>

#include "core/link_replacement.h"

namespace pagefold {

// True when every resource link consists of name bytes only.
bool LinksAreWords(const std::vector<LinkReplacement>& replacements);

// The result of ReplaceInOrder, byte for byte, for links that are words.
std::vector<bool> ReplaceInOrderByWords(std::string& page, const std::vector<LinkReplacement>& replacements,
                                        const Checkpoint& checkpoint);

}  // namespace pagefold
