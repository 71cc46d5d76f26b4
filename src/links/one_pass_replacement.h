// ReplaceInOrder's result (link_replacement.h) in one pass over the page.
//
// The standing-alone places of every link text are found together, in any
// case, by an Aho–Corasick automaton over the page as first read. Then each
// replacement in order takes its text's places whose bytes and neighbours no
// earlier replacement has taken, left to right without overlaps, once one of
// them holds the text as written. A text that can meet a link inserted before
// it (see link_contact.h) is also looked for around those links, in the page
// as the replacements have left it (page_sequence.h). A link of another form
// leaves the replacements after it to ReplaceInOrder.
//
// Time: linear in the page, the texts and the places found; a place is
// compared as written at most once for each way a text is written.
#pragma once

#include <string>
#include <vector>

#include "links/link_replacement.h"

namespace pagefold {

std::vector<bool> ReplaceInOnePass(std::string& page, const std::vector<LinkReplacement>& replacements,
                                   const Checkpoint& checkpoint);

}  // namespace pagefold
