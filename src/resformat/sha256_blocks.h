// The compression of SHA-256 over whole 64-byte blocks, in two ways that give
// the same state: portable C++, and the x86 SHA extensions where the
// processor has them, several times faster. Sha256Hex takes the fastest.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pagefold::resformat {

using Sha256State = std::array<std::uint32_t, 8>;

void CompressBlocks(Sha256State& state, const unsigned char* blocks, std::size_t count);

// True when this processor runs CompressBlocksWithShaExtensions.
bool HasShaExtensions();
void CompressBlocksWithShaExtensions(Sha256State& state, const unsigned char* blocks, std::size_t count);

}  // namespace pagefold::resformat
