#include "resformat/res_reader.h"

#include "resformat/res_format.h"
#include "text/cp1251.h"

namespace pagefold {
namespace {

using resformat::AlignUp;

// Little-endian fields of a header held in memory; every read is checked
// against the header's end.
class HeaderBytes {
 public:
  explicit HeaderBytes(const std::string& bytes) : bytes_(bytes) {}

  std::optional<std::uint16_t> U16(std::size_t at) const {
    if (at + 2 > bytes_.size()) return std::nullopt;
    return static_cast<std::uint16_t>(Byte(at) | Byte(at + 1) << 8);
  }

  std::optional<std::uint32_t> U32(std::size_t at) const {
    const auto low = U16(at), high = U16(at + 2);
    if (!low || !high) return std::nullopt;
    return static_cast<std::uint32_t>(*low | static_cast<std::uint32_t>(*high) << 16);
  }

  // A type or name field at `at`; moves `at` past it. Nothing when the field
  // runs past `end`.
  std::optional<ResId> Id(std::size_t& at, std::size_t end) const {
    ResId id;
    const auto first = U16(at);
    if (!first || at + 2 > end) return std::nullopt;
    if (*first == resformat::kOrdinalMark) {
      const auto ordinal = U16(at + 2);
      if (!ordinal || at + resformat::kOrdinalSize > end) return std::nullopt;
      id.isOrdinal = true;
      id.ordinal = *ordinal;
      at += resformat::kOrdinalSize;
      return id;
    }
    for (;;) {
      const auto c = U16(at);
      if (!c || at + 2 > end) return std::nullopt;
      at += 2;
      if (*c == 0) return id;
      id.text += static_cast<char16_t>(*c);
    }
  }

 private:
  unsigned Byte(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
  const std::string& bytes_;
};

std::string At(std::uint64_t offset) { return " at offset " + std::to_string(offset); }

// Reads the entry whose header starts at `offset`; an error text when it is malformed.
std::optional<ResEntry> ReadEntry(ResSource& source, std::uint64_t offset, std::string& error) {
  std::string sizes(resformat::kSizesSize, '\0');
  if (!source.ReadAt(offset, sizes.data(), sizes.size())) {
    error = "truncated header" + At(offset);
    return std::nullopt;
  }
  const HeaderBytes head(sizes);
  const std::uint32_t dataSize = *head.U32(0), headerSize = *head.U32(4);
  if (headerSize < resformat::kEmptyEntryHeaderSize || headerSize > resformat::kMaxHeaderSize) {
    error = "bad header size " + std::to_string(headerSize) + At(offset);
    return std::nullopt;
  }
  std::string bytes;
  if (offset + headerSize <= source.Size()) bytes.resize(headerSize);
  if (bytes.empty() || !source.ReadAt(offset, bytes.data(), bytes.size())) {
    error = "truncated header" + At(offset);
    return std::nullopt;
  }
  const HeaderBytes header(bytes);
  const std::size_t tailSize = resformat::kTailSize;
  std::size_t at = resformat::kSizesSize;
  ResEntry entry;
  const auto type = header.Id(at, headerSize - tailSize);
  const auto name = type ? header.Id(at, headerSize - tailSize) : std::nullopt;
  at = static_cast<std::size_t>(AlignUp(at));
  if (!type || !name || at + tailSize > headerSize) {
    error = "type and name do not fit in the header" + At(offset);
    return std::nullopt;
  }
  entry.type = *type;
  entry.name = *name;
  entry.dataVersion = *header.U32(at + resformat::kDataVersionAt);
  entry.memoryFlags = *header.U16(at + resformat::kMemoryFlagsAt);
  entry.language = *header.U16(at + resformat::kLanguageAt);
  entry.version = *header.U32(at + resformat::kVersionAt);
  entry.characteristics = *header.U32(at + resformat::kCharacteristicsAt);
  entry.headerOffset = offset;
  entry.dataOffset = offset + headerSize;
  entry.dataSize = dataSize;
  if (entry.dataOffset + dataSize > source.Size()) {
    error = "data runs past the end of the file" + At(offset);
    return std::nullopt;
  }
  return entry;
}

bool IsEmptyEntry(const ResEntry& entry) {
  return entry.dataSize == 0 && entry.type.isOrdinal && entry.type.ordinal == 0 && entry.name.isOrdinal &&
         entry.name.ordinal == 0;
}

}  // namespace

std::optional<std::string> ResId::Cp1251() const {
  if (isOrdinal) return "#" + std::to_string(ordinal);
  return text::Utf16ToCp1251(text);
}

bool MemoryResSource::ReadAt(std::uint64_t offset, void* out, std::size_t size) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
  bytes_.copy(static_cast<char*>(out), size, static_cast<std::size_t>(offset));
  return true;
}

bool FileResSource::ReadAt(std::uint64_t offset, void* out, std::size_t size) {
  char* to = static_cast<char*>(out);
  while (size > 0) {
    const std::int64_t n = file_.ReadAt(offset, to, size);
    if (n <= 0) return false;
    offset += static_cast<std::uint64_t>(n);
    to += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

ResListing ListResources(ResSource& source) {
  ResListing listing;
  const auto first = ReadEntry(source, 0, listing.error);
  if (!first || !IsEmptyEntry(*first) || first->dataOffset != resformat::kEmptyEntryHeaderSize) {
    listing.error = "not a 32-bit resource file: it does not start with the empty entry";
    return listing;
  }
  std::uint64_t offset = AlignUp(first->dataOffset);
  while (offset < source.Size()) {
    const auto entry = ReadEntry(source, offset, listing.error);
    if (!entry) break;
    listing.entries.push_back(*entry);
    offset = AlignUp(entry->dataOffset + entry->dataSize);
  }
  return listing;
}

std::optional<std::string> ReadResourceData(ResSource& source, const ResEntry& entry) {
  if (entry.dataOffset > source.Size() || entry.dataSize > source.Size() - entry.dataOffset) return std::nullopt;
  std::string data(entry.dataSize, '\0');
  if (!source.ReadAt(entry.dataOffset, data.data(), data.size())) return std::nullopt;
  return data;
}

}  // namespace pagefold
