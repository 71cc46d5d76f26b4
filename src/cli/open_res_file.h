#pragma once

#include <string>

#include "resformat/res_reader.h"

namespace pagefold::cli {

// Opens the .res file that --list, --check and --serve read; on failure writes
// "Cannot open file ..." with the system's reason to stderr and returns false.
bool OpenResFile(FileResSource& source, const std::string& resFile);

}  // namespace pagefold::cli
