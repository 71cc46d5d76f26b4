// Staging: the ticked files copied into the work folder under their numbers,
// with the file registry that records their names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/build_host.h"
#include "core/missing_files.h"
#include "platform/folder_handle.h"

namespace pagefold {

// The build's own work folder, which may stand among the ticked files when
// the target lies inside the source folder.
struct OwnOutputs {
  // The work folder as an item of the check list, followed by "\"; empty
  // when the work folder is not inside the source folder.
  std::string workFolderItem;
};

// How a staged file is named: StagedName(N) alone, or followed by the
// extension of the file's name (ExtWithDot), which saves the build renaming
// every file later.
enum class StagedNames { Bare, WithExtension };

struct StagedFile {
  bool withExtension = false;
  std::int64_t size = 0;  // of the source when it was staged
  std::string name;       // as the registry holds it
};

// Empties the work folder, puts every ticked file into it under its number
// (see LinkOrCopyIn) and writes the file registry (see file_registry.h).
// Takes its snapshot of the source folder and the ticked items when it
// starts. Files are taken from inside the source folder only, unless links
// are followed. Anything below the work folder is passed over. A file whose
// name with its extension cannot be made is staged bare. A file that
// cannot be staged goes to `missing` with why. Many items are staged on two
// threads, with the same numbers, registry, `missing` and progress as on one.
// Returns what was staged, by file number from 1 (index 0 unused).
std::vector<StagedFile> StageFiles(BuildHost& host, platform::FolderHandle& work, const OwnOutputs& own,
                                   StagedNames names, bool followLinks, std::vector<MissingFile>& missing);

}  // namespace pagefold
