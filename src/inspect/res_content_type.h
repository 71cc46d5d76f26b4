// The content type under which a browser shows a packed resource, as the
// Windows res: protocol gives it: sniffed from the first bytes (pictures,
// HTML markup) and from the resource type (HTM*, CSS, JS, the ordinal 23).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "resformat/res_reader.h"

namespace pagefold {

// How many of a resource's first bytes the sniffing looks at, as browsers do.
constexpr std::size_t kSniffedBytes = 1445;

// "text/html", "image/gif", "image/jpeg", "image/png", "text/css",
// "text/javascript", else "application/octet-stream". Only the first
// kSniffedBytes of the bytes count.
std::string ResContentType(const ResId& type, std::string_view bytes);

// The first kSniffedBytes of a listed resource's data (all of a shorter
// one); nothing when the source cannot give them.
std::optional<std::string> ReadSniffedBytes(ResSource& source, const ResEntry& entry);

}  // namespace pagefold
