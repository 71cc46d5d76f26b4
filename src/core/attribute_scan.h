// The attribute scanner that finds the link values of a page.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/string_list.h"

namespace pagefold {

// Appends every value found between an occurrence of the start text and the
// next end text, both matched without regard to ASCII case. The scan ends at
// the first zero byte, or at a start text with no end text behind it.
void FindBetween(const std::string& text, const std::string& start, const std::string& end, StringList& list);

// FindBetween for each start text in turn, reading the text once.
void FindBetweenEach(const std::string& text, std::initializer_list<std::string_view> starts, std::string_view end,
                     StringList& list);

}  // namespace pagefold
