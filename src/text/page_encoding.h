// The encoding a page or a style sheet is written in, told from its bytes.
#pragma once

#include <string>

namespace pagefold::text {

// True when the text is written in UTF-8: it begins with a UTF-8 byte-order
// mark; else its first charset declaration within the first 1024 bytes
// (`charset=utf-8` of a meta element, quoted or not, or `@charset "utf-8"` of
// a style sheet, in any case) names UTF-8, any other name meaning it is not;
// else, without a declaration, it is well-formed UTF-8 holding at least one
// byte beyond ASCII.
bool IsUtf8Page(const std::string& bytes);

}  // namespace pagefold::text
