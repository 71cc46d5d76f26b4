#include <sys/stat.h>

#include <cstdlib>

#include "platform/native_path.h"
#include "platform/temp_folder.h"

namespace platform {

std::string TempFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  struct stat st;
  if (tmpdir && *tmpdir && ::stat(tmpdir, &st) == 0 && S_ISDIR(st.st_mode)) {
    if (auto folder = FromNativeName(tmpdir)) {
      if (folder->back() != '/') *folder += '/';
      return *folder;
    }
  }
  return "/tmp/";
}

}  // namespace platform
