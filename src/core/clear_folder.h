// Emptying a folder tree of its files.
#pragma once

#include <string>

namespace pagefold {

// Deletes every file below the folder, read-only ones too; the folders
// themselves stay. A symbolic link is deleted itself and never followed, and
// a link standing at the folder's own path is not entered.
void ClearFolder(const std::string& folder);

}  // namespace pagefold
