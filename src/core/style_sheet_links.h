// The links of style sheets: url(...) values and @import strings, found by a
// plain scan of the text, as the attribute scan finds the links of pages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagefold {

// The values of every "url(" (ASCII letters in any case, not the end of a
// longer name) in order of position: blanks after the parenthesis are
// skipped; a value in single or double quotes runs to the same quote, any
// other to the next ")" with the blanks before it dropped. Empty values and
// values without their closing quote or parenthesis give nothing. The scan
// ends at the first zero byte.
std::vector<std::string> CssUrlValues(std::string_view text);

// The links of a style sheet in order of position: its url(...) values and
// the quoted string behind every "@import".
std::vector<std::string> StyleSheetLinks(const std::string& sheet);

}  // namespace pagefold
