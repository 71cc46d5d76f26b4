#include "core/clear_folder.h"

#include "core/find_files.h"
#include "platform/file_ops.h"

namespace pagefold {

void ClearFolder(const std::string& folder) {
  StringList entries;
  FindFilesToDelete(folder, entries);
  for (const std::string& entry : entries) platform::RemoveFile(entry);
}

}  // namespace pagefold
