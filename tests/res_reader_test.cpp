#include "resformat/res_reader.h"

#include <gtest/gtest.h>

namespace {

using pagefold::ListResources;
using pagefold::MemoryResSource;

void U16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void U32(std::string& out, unsigned v) {
  U16(out, v & 0xFFFF);
  U16(out, v >> 16);
}

const std::string kEmptyEntry = [] {
  std::string out;
  U32(out, 0);
  U32(out, 32);
  U32(out, 0xFFFF);
  U32(out, 0xFFFF);
  out += std::string(16, '\0');
  return out;
}();

// A .res written by hand: "HTM"/"INDEX" with 5 bytes of data in Russian
// (1049), then ordinal type 10 / ordinal name 7 with 4 bytes.
const std::string kTwoEntries = [] {
  std::string out = kEmptyEntry;
  U32(out, 5);
  U32(out, 8 + 8 + 12 + 16);
  for (char c : std::string("HTM")) U16(out, static_cast<unsigned char>(c));
  U16(out, 0);
  for (char c : std::string("INDEX")) U16(out, static_cast<unsigned char>(c));
  U16(out, 0);
  U32(out, 1);  // DataVersion
  U16(out, 0x30);
  U16(out, 1049);
  U32(out, 2);  // Version
  U32(out, 3);  // Characteristics
  out += std::string("hello") + std::string(3, '\0');
  U32(out, 4);
  U32(out, 32);
  U16(out, 0xFFFF);
  U16(out, 10);
  U16(out, 0xFFFF);
  U16(out, 7);
  out += std::string(16, '\0');
  out += "data";
  return out;
}();

TEST(ResReader, ListsStringAndOrdinalEntriesAndReadsTheirData) {
  MemoryResSource source(kTwoEntries);
  const pagefold::ResListing listing = ListResources(source);
  EXPECT_EQ(listing.error, "");
  ASSERT_EQ(listing.entries.size(), 2u);
  const pagefold::ResEntry& index = listing.entries[0];
  EXPECT_EQ(index.type.text, u"HTM");
  EXPECT_EQ(index.name.Cp1251(), "INDEX");
  EXPECT_EQ(index.language, 1049);
  EXPECT_EQ(index.memoryFlags, 0x30);
  EXPECT_EQ(index.dataVersion, 1u);
  EXPECT_EQ(index.version, 2u);
  EXPECT_EQ(index.characteristics, 3u);
  EXPECT_EQ(index.headerOffset, 32u);
  EXPECT_EQ(index.dataOffset, 32u + 44u);
  EXPECT_EQ(pagefold::ReadResourceData(source, index), "hello");
  const pagefold::ResEntry& ordinal = listing.entries[1];
  EXPECT_TRUE(ordinal.type.isOrdinal);
  EXPECT_EQ(ordinal.type.Cp1251(), "#10");
  EXPECT_EQ(ordinal.name.Cp1251(), "#7");
  EXPECT_EQ(pagefold::ReadResourceData(source, ordinal), "data");

  pagefold::ResEntry outside = ordinal;
  outside.dataSize = 5;
  EXPECT_EQ(pagefold::ReadResourceData(source, outside), std::nullopt);
  pagefold::ResId unmappable;
  unmappable.text = u"\u4E2D";
  EXPECT_EQ(unmappable.Cp1251(), std::nullopt);
}

TEST(ResReader, MalformedInputGivesAnErrorAndTheEntriesBeforeIt) {
  const std::string notRes = "not a 32-bit resource file: it does not start with the empty entry";
  for (const std::string& bytes : {std::string(), std::string("MZ"), kTwoEntries.substr(32),
                                   std::string(32, '\0'), std::string(40, '\xFF')}) {
    MemoryResSource source(bytes);
    EXPECT_EQ(ListResources(source).error, notRes);
  }
  {
    MemoryResSource source(kEmptyEntry);
    const auto listing = ListResources(source);
    EXPECT_EQ(listing.error, "");
    EXPECT_TRUE(listing.entries.empty());
  }
  // Every cut of the file: no crash, no read outside, and a clear error
  // except where the cut falls between two entries (a missing last padding
  // is forgiven).
  for (size_t length = 32; length < kTwoEntries.size(); ++length) {
    const std::string cut = kTwoEntries.substr(0, length);
    MemoryResSource source(cut);
    const auto listing = ListResources(source);
    const size_t firstEnd = 32 + 44 + 5;
    const bool between = length == 32 || (length >= firstEnd && length <= firstEnd + 3);
    EXPECT_EQ(listing.error.empty(), between) << length;
    EXPECT_EQ(listing.entries.size(), length < firstEnd ? 0u : 1u) << length;
  }
  auto errorOf = [](std::string bytes) {
    MemoryResSource source(bytes);
    return ListResources(source).error;
  };
  EXPECT_EQ(errorOf(kTwoEntries.substr(0, 36)), "truncated header at offset 32");
  EXPECT_EQ(errorOf(kTwoEntries.substr(0, 80)), "data runs past the end of the file at offset 32");
  std::string badSize = kTwoEntries;
  badSize[36] = 31;
  EXPECT_EQ(errorOf(badSize), "bad header size 31 at offset 32");
  std::string unterminated = kTwoEntries;
  for (size_t i = 40; i < 40 + 20; ++i) unterminated[i] = 'A';  // type runs into the tail
  EXPECT_EQ(errorOf(unterminated), "type and name do not fit in the header at offset 32");
  std::string hugeData = kTwoEntries;
  hugeData[32 + 3] = '\x7F';
  EXPECT_EQ(errorOf(hugeData), "data runs past the end of the file at offset 32");
}

}  // namespace
