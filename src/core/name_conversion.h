// Cutting a file's name into the parts that resource names, types and links
// are made of, and turning Cyrillic names into Latin ones. Windows-1251 bytes
// in and out; every input has a result.
#pragma once

#include <string>

namespace pagefold {

// The extension without its dot (see ExtWithDot); empty when there is none.
std::string ExtNoDot(const std::string& name);

// The name after its last backslash or colon, cut before its last dot.
std::string NameNoExt(const std::string& name);

// The name lower-cased by the Windows-1251 letter pairs, with every Cyrillic
// letter, blank and parenthesis replaced by its Latin text.
std::string Translit(const std::string& name);

// The extension of a name with its dot: from the last dot that follows the
// last backslash or colon; empty when there is none.
std::string ExtWithDot(const std::string& name);

// The last component of a path in the platform's form (after the last "\" or
// platform separator), so that folder names never lend it an extension.
std::string FileNamePart(const std::string& path);

// True when the lower-cased extension contains "htm" anywhere.
bool IsPageName(const std::string& name);

// True when the lower-cased extension is ".css".
bool IsStyleSheetName(const std::string& name);

}  // namespace pagefold
