// The utility class of the pipeline: name parts, listings, the attribute
// scanner, file sizes and the resource script writer. It holds no state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagefold {

using StringList = std::vector<std::string>;

class TMyFunction {
 public:
  // Name conversion.
  static std::string ExtNoDot(const std::string& name);
  static std::string NameNoExt(const std::string& name);
  static std::string Translit(const std::string& name);

  // Appends every entry below the folder, at any depth (see FindFiles).
  static void ListDirFiles(const std::string& folder, const std::string& mask, StringList& list);

  // Appends every value found between an occurrence of the start text and the
  // next end text, both matched without regard to ASCII case. The scan ends at
  // the first zero byte, or at a start text with no end text behind it.
  static void FindBetween(const std::string& text, const std::string& start,
                          const std::string& end, StringList& list);

  // The size in bytes of the entry at the path (0 for a folder); -1 when there is none.
  static std::int64_t FileSize64(const std::string& path);
  // A size given as decimal digits as text such as "3gb 5mg 7b"; characters other
  // than digits are dropped. Raises "'%s' is not a valid integer value" when the
  // digits exceed a signed 64-bit number.
  static std::string SizeToText(const std::string& size);

  // Writes the resource script: one "NAME TYPE "path"" line per listed file
  // that has an extension. Raises "Cannot create file "%s". %s", and refuses
  // a path holding a double quote or a byte below 32.
  static void WriteRcScript(const std::string& groupType, const std::string& scriptPath,
                            const StringList& list);
};

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
