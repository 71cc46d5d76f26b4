// The data of a listed resource, for tests that check what a .res holds.
#pragma once

#include <optional>
#include <string>

#include "core/res_reader.h"

namespace testing_support {

// Nothing when the source cannot give all of it.
inline std::optional<std::string> ReadResourceData(pagefold::ResSource& source, const pagefold::ResEntry& entry) {
  std::string data(entry.dataSize, '\0');
  if (!source.ReadAt(entry.dataOffset, data.data(), data.size())) return std::nullopt;
  return data;
}

}  // namespace testing_support
