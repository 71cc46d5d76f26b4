// Emptying a folder tree of its files.
#pragma once

#include <string>

namespace pagefold {

// Deletes every file below the folder; the folders themselves stay. A
// symbolic link is deleted itself and never followed.
void ClearFolder(const std::string& folder);

}  // namespace pagefold
