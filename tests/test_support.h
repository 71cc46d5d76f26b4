// Helpers shared by the test programs: a scratch folder and file shortcuts.
#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// A fresh folder that is removed with everything inside at the end of its scope.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as the program's paths name it (UTF-8 is the POSIX form; the
  // folder name itself is ASCII).
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// A path written with "/" in a test, in the platform's own form ("\" on Windows).
std::string OsPath(std::string path);

// A file name written in UTF-8 in a test, as a path of the file system on every
// platform (a narrow path would be read in the ANSI code page on Windows).
std::filesystem::path Utf8Path(const std::string& utf8);

// True when the test runs under Wine, whose timings are not those of Windows.
bool UnderWine();

// Writes bytes to a file, creating its folders.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// Windows-1251 bytes of a UTF-8 text written in a test.
std::string W(const char* utf8);

// One line per entry below the folder, in name order: its relative path, its
// kind and permissions, its modification time and, for a file, its size and
// a hash of its bytes. Equal fingerprints: an unchanged tree.
std::string TreeFingerprint(const std::filesystem::path& folder);

}  // namespace testing_support
