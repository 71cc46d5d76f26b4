// The content type under which a browser shows a packed resource, as the
// Windows res: protocol gives it: sniffed from the first bytes (pictures,
// HTML markup) and from the resource type (HTM*, CSS, JS, the ordinal 23).
#pragma once

#include <string>
#include <string_view>

#include "core/res_reader.h"

namespace pagefold {

// "text/html", "image/gif", "image/jpeg", "image/png", "text/css",
// "text/javascript", else "application/octet-stream".
std::string ResContentType(const ResId& type, std::string_view bytes);

}  // namespace pagefold
