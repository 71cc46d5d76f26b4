// Reading a file in pieces, so that files of any size pass through a small
// buffer. Paths are Windows-1251.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pagefold::platform {

class FolderHandle;

class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Opens a regular file. False when it cannot (a folder or a device is
  // refused too); LastErrorCode() tells why.
  bool Open(const std::string& path);
  // Opens a regular file of the folder by its plain name, never through a
  // link: a symbolic link there, or on Windows a reparse point, is refused.
  bool OpenInside(const FolderHandle& folder, const std::string& name);

  // The size of the file when it was opened.
  std::uint64_t Size() const { return size_; }

  // Reads the next bytes, at most `capacity`: the count, 0 at the end of the
  // file, -1 on failure (LastErrorCode() tells why).
  std::int64_t Read(void* buffer, std::size_t capacity);

  // Reads at most `capacity` bytes from the offset without moving the
  // position of Read; same results as Read.
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t capacity);

 private:
  // Holds a file just opened, with its size, in place of the one held; with
  // -1 (the open failed) keeps the one held and gives false.
  bool Hold(std::intptr_t handle, std::uint64_t size);

  std::intptr_t handle_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace pagefold::platform
