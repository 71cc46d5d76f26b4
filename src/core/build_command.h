// The build: the state that lives from one build to the next and the stages
// that turn the ticked files into a compiled resource file. It talks to its
// front end only through BuildHost.
#pragma once

#include <string>
#include <vector>

#include "core/build_host.h"
#include "core/missing_files.h"
#include "core/output_clash.h"
#include "core/shown_links.h"

namespace pagefold {

class RegistryIndex;

// How a build ended when it raised no error.
enum class BuildOutcome {
  NotStarted,  // an input was missing, or the start-page question was declined
  Built,       // the compiler wrote the resource file
  Failed,      // the compiler could not be written out, started, or it failed
};

class BuildCommand {
 public:
  // Resource type for every file when grouping is on; empty otherwise.
  std::string GroupType;
  // Folder of the target file, with its trailing separator.
  std::string ResourceFolder;
  // Where the resource compiler is written out and run from.
  std::string CompilerPath;
  // One flag per file number (index 0 unused): 1 when some page links to it,
  // or a style sheet that is kept itself.
  std::vector<unsigned char> UsedFlags;
  // The links of the last build's packed pages and style sheets that name no
  // packed file: by file number, each file's links sorted and given once.
  // Cleared when a build is asked for.
  std::vector<UnlinkedLink> UnlinkedLinks;
  // Files the front end writes besides the resource file and the script
  // (the command line's report): none may be another output or a ticked file.
  std::vector<BuildOutput> OtherOutputs;
  // Staging follows links that lead out of the source folder (the user asked
  // for it); otherwise it takes files from inside the folder only.
  bool FollowLinks = false;
  // The files of the source folder that its listing left out, set by the
  // front end: a build names them with those it could not pack.
  std::vector<MissingFile> LeftOut;
  // The last build's files that are not in its resource file, with why: those
  // left out by the listing, then those it could not stage or pack, in list
  // order. Named after "Сбор закончен !!!". Cleared when a build is asked for.
  std::vector<MissingFile> MissingFiles;

  // The build: from the inputs that the host holds to the compiled resource
  // file, with every status text, counter and message on the way. An error of
  // a platform operation (platform::PlatformError) ends the build: the ending
  // still runs, so the window is usable again, and the error is raised to the
  // caller, which shows it (the window in an error box captioned "Pagefold").
  // A host that reports Closing() ends the build the same way, with
  // BuildCancelled, at the next event pump.
  BuildOutcome Run(BuildHost& host);

  // What a build into the resource file writes: the file, its script and
  // OtherOutputs.
  std::vector<BuildOutput> Outputs(const std::string& resourceFile) const;

  // Staging (see StageFiles): copies every ticked file into the work folder
  // under its number and writes the file registry "fillist.ini". Raises
  // WorkFolderSwapped when no folder, or a link, stands at the path.
  void Stage(BuildHost& host, const std::string& workFolder);

  // Rewrites the links of a staged page (its full path) into resource links
  // and marks the linked files in UsedFlags; the page folder is the folder
  // part of the page's registry name. Writes the page back only when it made
  // a replacement, and returns their number. The page's links that name no
  // packed file go to `unlinked` when it is given. Raises "Cannot open file
  // "%s". %s" and "Cannot create file "%s". %s".
  int ReplaceUrl(const std::string& pagePath, const std::string& pageFolder, const RegistryIndex& registry,
                 std::vector<std::string>* unlinked = nullptr);
};

}  // namespace pagefold
