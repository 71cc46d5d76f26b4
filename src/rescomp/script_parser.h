// Reads the statements of a resource script: one resource per line,
// "NAME TYPE FILE", and "LANGUAGE primary, sub" for the resources after it.
// The script is Windows-1251 text held in memory; nothing here touches the disk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagefold::rescomp {

// The language of resources before any LANGUAGE statement: U.S. English.
constexpr std::uint16_t kDefaultLanguage = 0x0409;

struct ResourceStatement {
  std::u16string type;  // upper-cased by the ASCII rule, always a string
  std::u16string name;  // likewise, even when it is a keyword or only digits
  std::string file;     // Windows-1251, as the script writes it
  std::uint16_t language = kDefaultLanguage;
  int line = 0;
};

// Every resource of the script, in script order. Raises ScriptError for
// anything that is not a statement of the script language.
std::vector<ResourceStatement> ParseScript(std::string_view script);

}  // namespace pagefold::rescomp
