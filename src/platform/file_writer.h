// Writing a new file in pieces, and putting a finished file in place of
// another. Paths are Windows-1251.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pagefold::platform {

class FileWriter {
 public:
  enum class Mode {
    Normal,           // readable and writable as the system's defaults allow
    OwnerExecutable,  // readable, writable and executable by the owner only
  };
  enum class CreateResult { Created, AlreadyExists, Failed };

  FileWriter() = default;
  // Closes a file still open; the file stays on disk.
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Creates the file exclusively: an entry already at the path, a dangling
  // symbolic link included, is never opened or changed. On Failed,
  // LastErrorCode() tells why.
  CreateResult Create(const std::string& path, Mode mode);

  // Writes the bytes (through a buffer). False on failure, with LastErrorCode().
  bool Write(const void* data, std::size_t size);
  bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }

  // Writes out what the buffer holds and closes the file. False on failure,
  // with LastErrorCode().
  bool Close();

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;

  bool Flush();
  // Empties the buffer for a file just created.
  void StartBuffer();

  // The descriptor on POSIX, the HANDLE on Windows; -1 when none is open.
  std::intptr_t handle_ = -1;
  std::string buffer_;
};

// Renames a file to the target path, replacing a file that is there, in one
// step: a reader of the target sees either the old or the new content. The
// new file takes over the permission bits of a file it replaces.
bool ReplaceFileWith(const std::string& from, const std::string& to);

}  // namespace pagefold::platform
