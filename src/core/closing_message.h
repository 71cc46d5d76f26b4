// The message that ends a finished build: "Сбор закончен !!!", then what the
// user must know about it.
#pragma once

#include <string>
#include <vector>

#include "core/missing_files.h"
#include "core/shown_links.h"

namespace pagefold {

// The start page as a build left it.
struct StartPage {
  std::string name;     // the start file as the build read it last
  bool staged = false;  // a ticked file of that name was copied into the work folder
  bool copied = false;  // its copy "index.html" was made
};

// "Сбор закончен !!!", then, each on lines of its own: a sentence naming the
// start page when it is neither in the resource file as "index.html" nor the
// generated file list, the files not packed (MissingFilesSummary) and the
// links that name no packed file (LinkSummary).
std::string ClosingMessage(const StartPage& start, const std::vector<MissingFile>& missing,
                           const std::vector<UnlinkedLink>& links);

}  // namespace pagefold
