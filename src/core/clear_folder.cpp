#include "core/clear_folder.h"

#include "platform/folder_handle.h"

namespace pagefold {

void ClearFolder(const std::string& folder) {
  platform::FolderHandle handle;
  if (handle.Open(folder)) handle.Clear();
}

}  // namespace pagefold
