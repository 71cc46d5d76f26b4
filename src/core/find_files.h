// Recursive listing of folder trees into lists of texts: files as full paths,
// every subfolder as its path followed by the platform's separator (the only
// mark of a folder).
#pragma once

#include <string>

#include "core/missing_files.h"
#include "core/string_list.h"

namespace pagefold {

// Appends the folder's entries, depth first in pre-order, by name within a
// folder. An empty mask means "*.*", which matches every name; other masks
// match with "*" and "?" regardless of case, folders included. A folder that
// is reached twice (through a symbolic link) is listed but not entered again.
// A symbolic link that leads out of the folder, or nowhere, is left out, so
// that nothing outside the tree is ever packed. Returns how many names were
// left out: such links, and names the program's paths cannot carry.
int FindFiles(const std::string& folder, const std::string& mask, StringList& list, bool recursive);

// The files below a source folder as the check list shows them: names relative
// to the folder, "\" between levels, folders left out.
// With followLinks, links that lead out of the folder are followed as links
// inside it are (as "cp -L" does); links that lead nowhere are left out still.
struct SourceFiles {
  StringList names;
  // The files left out, each with why: names that cannot be carried safely
  // through the registry and the script (no Windows-1251 form, a "\" inside,
  // a byte below 32, or a double quote), and links that lead out of the
  // folder or nowhere. A link to a folder stands for the folder.
  std::vector<MissingFile> leftOut;
  // Every folder that was listed, the source folder first, as full paths.
  StringList folders;
};
SourceFiles ListSourceFiles(const std::string& folder, bool followLinks = false);

}  // namespace pagefold
