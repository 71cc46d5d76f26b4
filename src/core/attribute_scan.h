// The attribute scanner that finds the link values of a page.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/string_list.h"

namespace pagefold {

// Appends every value found between an occurrence of the start text and the
// next end text, both matched without regard to ASCII case. An occurrence
// inside the link of the value before it (Cnv) is part of that link; any
// other one before the end text starts a value of its own and ends the value
// before it there, so that each attribute of a tag is found, src= behind
// lowsrc= too. The scan ends at the first zero byte, or at a start text with
// no end text behind it. The values never overlap.
void FindBetween(const std::string& text, const std::string& start, const std::string& end, StringList& list);

// The values that FindBetween finds for each start text in turn, as views
// into the text, which is read once for all.
std::vector<std::string_view> ValuesBetween(const std::string& text, std::initializer_list<std::string_view> starts,
                                            std::string_view end);

}  // namespace pagefold
