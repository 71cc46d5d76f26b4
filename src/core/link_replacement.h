// Replacing link texts in a page's text, one replacement after the other. An
// occurrence of a text counts only when it stands alone: the byte before it
// and the byte after it are not name bytes. Occurrences are matched without
// regard to letter case (Windows-1251 letter pairs), left to right, without
// overlaps. A replacement is made only while its text still occurs standing
// alone exactly as written; earlier replacements may have consumed it. Nothing
// at or behind the first zero byte is searched or changed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pagefold {

// Called every so often during a long replacement; it raises to stop it.
using Checkpoint = std::function<void()>;

struct LinkReplacement {
  std::string text;          // a link text as written in the page
  std::string resourceLink;  // what replaces it: "../TYPE/SEARCH_FILE_NOMBER_N"
};

// Makes the replacements in order on the current text, each one searching the
// text as the ones before it have left it. Returns for each whether it was made.
std::vector<bool> ReplaceInOrder(std::string& page, const std::vector<LinkReplacement>& replacements,
                                 const Checkpoint& checkpoint);

// True when no text can occur across or inside a resource link inserted by
// another replacement: no word of a text ends in "/search_file_nomber_" and
// digits (in any case), and no text can fit against the bytes of a resource
// type that are not name bytes. Only then does ReplaceIndexed (see
// indexed_replacement.h) give the result of ReplaceInOrder.
bool ReplacementsStayApart(const std::vector<LinkReplacement>& replacements);

}  // namespace pagefold
