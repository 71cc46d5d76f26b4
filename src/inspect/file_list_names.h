// The original names of packed files, read back from the file list page that
// the build packs with them (one row per file: a link ../TYPE/NAME and the
// file's name relative to the source folder, its "<", ">", "&" and '"' as
// character references).
#pragma once

#include <string>
#include <unordered_map>

namespace pagefold {

// The key under which FileListNames files a resource: type and name
// upper-cased by the ASCII rule, a slash between them.
std::string FileListKey(const std::string& type, const std::string& name);

// Every row's original name by the FileListKey of the resource it links to.
std::unordered_map<std::string, std::string> FileListNames(const std::string& page);

}  // namespace pagefold
