#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "platform/native_path.h"
#include "platform/temp_folder.h"

namespace pagefold::platform {

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

// mkdtemp picks the name from a random source and makes the folder 0700.
std::optional<std::string> MakePrivateFolder(const std::string& parent) {
  const auto native = ToNativePath(parent + "pagefold-XXXXXX");
  if (!native) {
    errno = EILSEQ;
    return std::nullopt;
  }
  std::string name = *native;
  if (!::mkdtemp(name.data())) return std::nullopt;
  return parent + name.substr(name.size() - 15) + "/";
}

}  // namespace pagefold::platform
