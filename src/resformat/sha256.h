// SHA-256 (FIPS 180-4) of bytes held in memory, as 64 lower-case hex digits.
// Our own: the Windows builds have no Debian library to take it from. It uses
// the processor's SHA extensions where there are any (sha256_blocks.h).
#pragma once

#include <string>
#include <string_view>

namespace pagefold::resformat {

std::string Sha256Hex(std::string_view bytes);

}  // namespace pagefold::resformat
