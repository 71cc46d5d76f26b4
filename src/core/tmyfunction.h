// TMyFunction: the utility class of the original design, through which its
// build stages called the name parts, the listing, the attribute scanner,
// file sizes and the resource script writer. It keeps those names, each the
// very function of its concept (name_conversion.h, find_files.h,
// attribute_scan.h, size_text.h, rc_script_writer.h); the program calls
// those functions by their own names.
#pragma once

#include "core/attribute_scan.h"
#include "core/find_files.h"
#include "core/name_conversion.h"
#include "core/rc_script_writer.h"
#include "core/size_text.h"
#include "platform/folder_listing.h"

namespace pagefold {

struct TMyFunction {
  static constexpr auto& ExtNoDot = pagefold::ExtNoDot;
  static constexpr auto& NameNoExt = pagefold::NameNoExt;
  static constexpr auto& Translit = pagefold::Translit;
  static constexpr auto& FindBetween = pagefold::FindBetween;
  static constexpr auto& FileSize64 = platform::EntrySize;
  static constexpr auto& SizeToText = pagefold::SizeToText;
  static constexpr auto& WriteRcScript = pagefold::WriteRcScript;

  // Appends every entry below the folder, at any depth (FindFiles, recursive).
  static void ListDirFiles(const std::string& folder, const std::string& mask, StringList& list) {
    FindFiles(folder, mask, list, true);
  }
};

}  // namespace pagefold
