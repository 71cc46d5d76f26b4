// Which group types may go into the resource script: the type is written
// there bare, so it must be one word of the script's own.
#pragma once

#include <string>

namespace pagefold {

// True when the group type, after transliteration (Translit), is one or more
// ASCII letters, digits and underscores: no quote, blank, slash, control byte
// or anything else the script would read as more than a type.
bool IsPlainResourceType(const std::string& groupType);

}  // namespace pagefold
