// Texts from files shown to people, on a terminal or in a window: control
// bytes are written as escapes, so that a hostile name can neither break a
// line nor send a terminal a command sequence.
#pragma once

#include <string>

namespace pagefold {

// The text with "\r", "\n" and "\t" for those bytes and "\xHH" (two capital
// hex digits) for the other bytes below 32 and for 127; every other byte as it is.
std::string EscapedControlBytes(const std::string& text);

}  // namespace pagefold
