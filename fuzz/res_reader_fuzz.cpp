// The .res reader over any bytes: it lists the resources it can read and says
// where it stopped, never reading outside the input. Every listed entry must
// lie inside the input, after the one before it, and give back its data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "resformat/res_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  pagefold::MemoryResSource source(bytes);
  const pagefold::ResListing listing = pagefold::ListResources(source);
  std::uint64_t end = 32;  // the empty entry that opens the file
  for (const pagefold::ResEntry& entry : listing.entries) {
    if (entry.headerOffset < end || entry.dataOffset <= entry.headerOffset ||
        entry.dataOffset + entry.dataSize > size)
      std::abort();
    const auto content = pagefold::ReadResourceData(source, entry);
    if (!content || *content != bytes.substr(entry.dataOffset, entry.dataSize)) std::abort();
    entry.type.Cp1251();
    entry.name.Cp1251();
    end = entry.dataOffset + entry.dataSize;
  }
  // Without an error the listing reaches the end of the input.
  if (listing.error.empty() && (end + 3) / 4 * 4 < size) std::abort();
  return 0;
}
