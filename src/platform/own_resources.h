// The program's own resources: blocks of bytes that are linked into the
// program and found by type and name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace pagefold::platform {

struct ResourceBytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// Makes a block of bytes known as a resource. Called by the code that carries
// the block, before main starts; returns true so that it can initialise a static.
bool RegisterOwnResource(const std::string& type, const std::string& name, ResourceBytes bytes);

// The resource of the type and name (both compared by the ASCII case rule),
// or nothing when the program carries none.
std::optional<ResourceBytes> FindOwnResource(const std::string& type, const std::string& name);

}  // namespace pagefold::platform
