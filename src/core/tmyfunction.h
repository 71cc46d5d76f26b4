// The utility class through which the build's stages call the name parts,
// the listing, the attribute scanner, file sizes and the resource script
// writer. It holds no state; each method forwards to the function of its
// concept (name_conversion.h, find_files.h, attribute_scan.h, size_text.h,
// rc_script_writer.h).
#pragma once

#include <cstdint>
#include <string>

#include "core/string_list.h"

namespace pagefold {

class TMyFunction {
 public:
  static std::string ExtNoDot(const std::string& name);
  static std::string NameNoExt(const std::string& name);
  static std::string Translit(const std::string& name);

  // Appends every entry below the folder, at any depth (see FindFiles).
  static void ListDirFiles(const std::string& folder, const std::string& mask, StringList& list);

  static void FindBetween(const std::string& text, const std::string& start, const std::string& end,
                          StringList& list);

  // The size in bytes of the entry at the path (0 for a folder); -1 when there is none.
  static std::int64_t FileSize64(const std::string& path);
  static std::string SizeToText(const std::string& size);

  static std::string WriteRcScript(const std::string& groupType, const std::string& scriptPath,
                                   const StringList& list);
};

}  // namespace pagefold
