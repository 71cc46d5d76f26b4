// Reading a 32-bit Windows resource file (.res): the list of its resources
// from their headers, and the data of one of them. Only the bytes asked for
// are read, and nothing is read outside the source: any input, however
// malformed, gives a listing or an error text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_reader.h"

namespace pagefold {

// A type or a name: a string or a number (ordinal).
struct ResId {
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::u16string text;

  // The string in Windows-1251, or "#" and the ordinal in decimal; nothing
  // when a character has no Windows-1251 form.
  std::optional<std::string> Cp1251() const;
};

struct ResEntry {
  ResId type;
  ResId name;
  std::uint16_t language = 0;
  std::uint16_t memoryFlags = 0;
  std::uint32_t dataVersion = 0;
  std::uint32_t version = 0;
  std::uint32_t characteristics = 0;
  std::uint64_t headerOffset = 0;
  std::uint64_t dataOffset = 0;
  std::uint32_t dataSize = 0;
};

// Where the reader takes its bytes from.
class ResSource {
 public:
  virtual ~ResSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads exactly `size` bytes from the offset; false when they are not all there.
  virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t size) = 0;
};

// Bytes held in memory (not copied: they must outlive the source).
class MemoryResSource : public ResSource {
 public:
  explicit MemoryResSource(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) override;

 private:
  std::string_view bytes_;
};

// A file on disk, read piece by piece. Paths are Windows-1251.
class FileResSource : public ResSource {
 public:
  // False when the file cannot be opened; platform::LastErrorCode() tells why.
  bool Open(const std::string& path) { return file_.Open(path); }
  std::uint64_t Size() const override { return file_.Size(); }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) override;

 private:
  platform::FileReader file_;
};

struct ResListing {
  // The resources in file order, without the empty entry that opens the file.
  std::vector<ResEntry> entries;
  // Empty when the whole file was read; otherwise what is wrong, and where.
  // The entries before the fault are listed.
  std::string error;
};

ResListing ListResources(ResSource& source);

// The data of a listed resource; nothing when the source cannot give it.
std::optional<std::string> ReadResourceData(ResSource& source, const ResEntry& entry);

}  // namespace pagefold
