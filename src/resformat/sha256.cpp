#include "resformat/sha256.h"

#include "resformat/sha256_blocks.h"

namespace pagefold::resformat {

std::string Sha256Hex(std::string_view bytes) {
  Sha256State state = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t whole = bytes.size() / 64 * 64;
  const bool fast = HasShaExtensions();
  const auto compress = [fast, &state](const unsigned char* blocks, std::size_t count) {
    if (fast)
      CompressBlocksWithShaExtensions(state, blocks, count);
    else
      CompressBlocks(state, blocks, count);
  };
  compress(data, whole / 64);
  // The rest, the 0x80 mark and the length in bits fill one or two blocks.
  unsigned char tail[128] = {};
  const std::size_t rest = bytes.size() - whole;
  for (std::size_t i = 0; i < rest; ++i) tail[i] = data[whole + i];
  tail[rest] = 0x80;
  const std::size_t tailSize = rest < 56 ? 64 : 128;
  const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
  for (int i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  compress(tail, tailSize / 64);
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint32_t word : state)
    for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(word >> shift) & 0xF];
  return hex;
}

}  // namespace pagefold::resformat
