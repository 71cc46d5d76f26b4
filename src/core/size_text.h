// A file's size as the file list page shows it.
#pragma once

#include <string>

namespace pagefold {

// A size given as decimal digits as text such as "3gb 5mg 7b"; characters other
// than digits are dropped. Raises "'%s' is not a valid integer value" when the
// digits exceed a signed 64-bit number.
std::string SizeToText(const std::string& size);

}  // namespace pagefold
