#include "platform/file_writer.h"

#include "platform/write_all.h"

namespace pagefold::platform {

bool FileWriter::Write(const void* data, std::size_t size) {
  if (buffer_.size() + size > kBufferSize && !Flush()) return false;
  if (size >= kBufferSize) return WriteAll(handle_, static_cast<const char*>(data), size);
  buffer_.append(static_cast<const char*>(data), size);
  return true;
}

bool FileWriter::Flush() {
  const bool ok = WriteAll(handle_, buffer_.data(), buffer_.size());
  buffer_.clear();
  return ok;
}

void FileWriter::StartBuffer() {
  buffer_.clear();
  buffer_.reserve(kBufferSize);
}

}  // namespace pagefold::platform
