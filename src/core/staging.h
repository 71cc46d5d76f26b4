// Staging: the ticked files copied into the work folder under their numbers,
// with the file registry that records their names.
#pragma once

#include <string>

#include "core/build_host.h"

namespace pagefold {

// Empties the work folder, copies every ticked file into it as StagedName(N)
// and writes the file registry (see file_registry.h). Takes its snapshot of
// the source folder and the ticked items when it starts.
void StageFiles(BuildHost& host, const std::string& workFolder);

}  // namespace pagefold
