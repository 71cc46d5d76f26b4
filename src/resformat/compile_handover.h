// What a build hands the compiler it runs, so that the compiler packs only
// what this build made: the digest of the script the build wrote, as an
// environment entry, and the work folder, held open (platform::Handover).
// A compiler started so refuses anything else with an exit code of its own
// and leaves the .res as it was; it removes each file of the folder once it
// has packed it, as the build removes the folder after it.
#pragma once

#include <string>
#include <string_view>

#include "resformat/sha256.h"

namespace pagefold::resformat {

constexpr const char* kScriptDigestName = "PAGEFOLD_SCRIPT_SHA256";

// The script read is not the one the build wrote.
constexpr int kScriptNotTheBuilds = 3;
// A file it names is not a file of the handed-over work folder, is a link,
// or the folder's path no longer names that folder.
constexpr int kFileNotTheBuilds = 4;

inline std::string ScriptDigestEntry(std::string_view script) {
  return std::string(kScriptDigestName) + "=" + Sha256Hex(script);
}

}  // namespace pagefold::resformat
