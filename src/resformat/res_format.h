// The 32-bit Windows resource file (.res), as both its writer (pagefold-rc)
// and its reader know it. The file is a row of entries, each a header, its
// data and zero padding to a 4-byte boundary; the first entry is empty.
// Every number is little-endian.
//
// A header: DataSize and HeaderSize (32 bits each), the type, the name, zero
// padding to a 4-byte boundary, then the tail: DataVersion (32), MemoryFlags
// (16), LanguageId (16), Version (32), Characteristics (32).
#pragma once

#include <cstdint>

namespace pagefold::resformat {

constexpr std::uint32_t kSizesSize = 8;  // DataSize, HeaderSize
constexpr std::uint32_t kTailSize = 16;

// Offsets of the tail's fields from the tail's start.
constexpr std::uint32_t kDataVersionAt = 0;
constexpr std::uint32_t kMemoryFlagsAt = 4;
constexpr std::uint32_t kLanguageAt = 6;
constexpr std::uint32_t kVersionAt = 8;
constexpr std::uint32_t kCharacteristicsAt = 12;

// A type or a name is either a zero-ended UTF-16 string or, when its first
// unit is this mark, a number (ordinal) in the 16 bits that follow it.
constexpr std::uint16_t kOrdinalMark = 0xFFFF;
constexpr std::uint32_t kOrdinalSize = 4;

// The smallest header, which the empty entry has: type and name ordinal 0.
constexpr std::uint32_t kEmptyEntryHeaderSize = kSizesSize + 2 * kOrdinalSize + kTailSize;

// Headers and data start on a 4-byte boundary.
constexpr std::uint64_t kAlignment = 4;
constexpr std::uint64_t AlignUp(std::uint64_t n) { return (n + kAlignment - 1) & ~(kAlignment - 1); }
constexpr std::uint64_t PaddingAfter(std::uint64_t n) { return AlignUp(n) - n; }

// The largest resource the format can hold: DataSize is a 32-bit field.
constexpr std::uint64_t kMaxDataSize = 0xFFFFFFFF;
// The largest header a reader accepts, and so the largest one the writer
// writes: far beyond any real type and name.
constexpr std::uint32_t kMaxHeaderSize = 1 << 20;

// The size of a header whose type and name are strings of these lengths in
// UTF-16 units, their ending zeros not counted.
constexpr std::uint64_t StringHeaderSize(std::uint64_t typeUnits, std::uint64_t nameUnits) {
  return kSizesSize + AlignUp(2 * (typeUnits + 1) + 2 * (nameUnits + 1)) + kTailSize;
}

}  // namespace pagefold::resformat
