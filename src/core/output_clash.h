// The files a build writes must be neither one another nor a file it packs:
// the build refuses such a choice before it writes anything.
#pragma once

#include <string>
#include <vector>

namespace pagefold {

// A file the build writes, with what it is, as the refusal names it
// ("Файл ресурс", "Файл сценария", "Отчёт").
struct BuildOutput {
  std::string path;
  std::string what;
};

// The refusal for the first output that is another output or a ticked file
// (a name relative to the source folder), compared by path with the folders
// resolved; empty when there is none. A file that merely shares its bytes
// with an output is no clash. Unless links out of the source folder are
// followed, only an output inside the folder can be a ticked file.
std::string OutputClash(const std::vector<BuildOutput>& outputs, const std::string& sourceFolder,
                        const std::vector<std::string>& ticked, bool followLinks);

}  // namespace pagefold
