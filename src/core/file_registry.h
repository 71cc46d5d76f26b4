// The file registry of a build: the INI file in the work folder that staging
// writes and the later stages read. Section "data" holds "count" and, for
// every staged file N, its name relative to the source folder under the key
// StagedName(N), which is also the staged copy's name without its extension.
#pragma once

#include <string>

namespace pagefold {

inline constexpr const char* kRegistryFile = "fillist.ini";
inline constexpr const char* kRegistrySection = "data";
inline constexpr const char* kRegistryCount = "count";
inline constexpr const char* kStagedNamePrefix = "search_file_nomber_";

// "search_file_nomber_" + N.
inline std::string StagedName(int number) { return kStagedNamePrefix + std::to_string(number); }

}  // namespace pagefold
