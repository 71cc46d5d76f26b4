// The rule by which a page's link texts are replaced, one replacement after
// the other. An occurrence of a text counts only when it stands alone (see
// name_bytes.h). A replacement is made only while its text still occurs
// standing alone exactly as written in the page as the replacements before it
// have left it; then every standing-alone occurrence in any case (Windows-1251
// letter pairs) is replaced, left to right, without overlaps. Nothing at or
// behind the first zero byte is searched or changed.
//
// ReplaceInOnePass (one_pass_replacement.h) gives the same result quickly;
// this one is its statement and the tests' measure.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagefold {

// Called every so often during a long replacement; it raises to stop it.
using Checkpoint = std::function<void()>;

// Views of bytes that the caller keeps for as long as the replacement runs.
struct LinkReplacement {
  std::string_view text;          // a link text as written in the page
  std::string_view resourceLink;  // what replaces it: "../TYPE/SEARCH_FILE_NOMBER_N"
};

// Makes the replacements in order on the current text, each one searching the
// text as the ones before it have left it. Returns for each whether it was made.
std::vector<bool> ReplaceInOrder(std::string& page, std::span<const LinkReplacement> replacements,
                                 const Checkpoint& checkpoint);

}  // namespace pagefold
