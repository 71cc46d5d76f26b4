// Staging: the ticked files copied into the work folder under their numbers,
// with the file registry that records their names.
#pragma once

#include <optional>
#include <string>

#include "core/build_host.h"
#include "platform/folder_handle.h"

namespace pagefold {

// The build's own outputs, which may stand among the ticked files when the
// target lies inside the source folder.
struct OwnOutputs {
  // The resource file and the script as they stood when the build began.
  std::optional<platform::FileIdentity> resourceFile;
  std::optional<platform::FileIdentity> script;
  std::string scriptPath;
  // The work folder as an item of the check list, followed by "\"; empty
  // when the work folder is not inside the source folder.
  std::string workFolderItem;
};

// Empties the work folder, copies every ticked file into it as StagedName(N)
// and writes the file registry (see file_registry.h). Takes its snapshot of
// the source folder and the ticked items when it starts. The resource file
// and anything below the work folder are passed over; a ticked script ends
// the build with ScriptAmongSources.
void StageFiles(BuildHost& host, platform::FolderHandle& work, const OwnOutputs& own);

}  // namespace pagefold
