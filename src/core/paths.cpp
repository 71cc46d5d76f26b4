#include "core/paths.h"

#include "platform/native_path.h"

namespace pagefold {
namespace {

// Where "\" is the platform's separator, "/" separates folders too and a
// drive colon ends a folder part. On POSIX only "/" does: "\" and ":" are
// letters of a name there.
bool Drives() { return platform::NativeSeparator() == '\\'; }

bool IsSeparator(char c) { return c == platform::NativeSeparator() || (Drives() && c == '/'); }

size_t LastSeparator(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;)
    if (IsSeparator(path[i]) || (Drives() && path[i] == ':')) return i;
  return std::string::npos;
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& relative) {
  const char sep = platform::NativeSeparator();
  std::string path = folder;
  if (!path.empty() && !IsSeparator(path.back())) path += sep;
  for (char c : relative) path += c == '\\' ? sep : c;
  return path;
}

std::string FolderPart(const std::string& path) {
  const size_t last = LastSeparator(path);
  return last == std::string::npos ? "" : path.substr(0, last + 1);
}

std::string ChangeExtension(const std::string& path, const std::string& ext) {
  const size_t last = LastSeparator(path);
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (last != std::string::npos && dot < last)) return path + ext;
  return path.substr(0, dot) + ext;
}

}  // namespace pagefold
