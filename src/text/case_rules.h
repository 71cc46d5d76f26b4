// The two case rules of Pagefold. File names are compared after lower-casing
// by the letter pairs of Windows-1251; resource names, types and links are
// upper-cased by the ASCII rule, which touches only a to z.
#pragma once

#include <string>

namespace pagefold::text {

// Lower-cases one byte by the Windows-1251 letter pairs (Latin and Cyrillic).
unsigned char LowerCp1251(unsigned char byte);

// Lower-cases a whole text by the Windows-1251 letter pairs.
std::string LowerCp1251(const std::string& s);

// Lower-cases a text in place by the Windows-1251 letter pairs.
void LowerCp1251InPlace(std::string& s);

// Upper-cases a text by the ASCII rule: a to z become A to Z, nothing else changes.
std::string UpperAscii(const std::string& s);

// Upper-cases a text in place by the ASCII rule.
void UpperAsciiInPlace(std::string& s);

// Lower-cases a text by the ASCII rule: A to Z become a to z, nothing else changes.
std::string LowerAscii(const std::string& s);

}  // namespace pagefold::text
