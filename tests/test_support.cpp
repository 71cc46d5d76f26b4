#include "test_support.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "text/cp1251.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace testing_support {

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("pagefold-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directory(path_)) break;
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  // Read-only leftovers must not stop the clean-up.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add |
                                     std::filesystem::perm_options::nofollow,
                                 ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string OsPath(std::string path) {
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

std::filesystem::path Utf8Path(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool UnderWine() {
#ifdef _WIN32
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
  return false;
#endif
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string W(const char* utf8) { return pagefold::text::Cp1251Text(utf8); }

std::string TreeFingerprint(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> lines;
  std::error_code ignored;  // a dangling link has no time of its own to show
  // A folder the user may not enter is shown by its own line only.
  for (const auto& entry : fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied)) {
    const fs::file_status status = entry.symlink_status();
    std::ostringstream line;
    line << entry.path().lexically_relative(folder).generic_string() << ' ' << static_cast<int>(status.type())
         << ' ' << std::oct << static_cast<int>(status.permissions()) << std::dec << ' '
         << entry.last_write_time(ignored).time_since_epoch().count();
    if (status.type() == fs::file_type::regular) {
      std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
      for (const char c : ReadFile(entry.path())) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
      line << ' ' << entry.file_size() << ' ' << std::hex << hash;
    }
    lines.push_back(line.str());
  }
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

}  // namespace testing_support
