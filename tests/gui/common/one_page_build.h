// A build of a one-page site, ticked and with its start page, into a target
// folder of its own, through a window of type Window that records what it
// is told.
#pragma once

#include "core/build_command.h"
#include "gui/common/window_closing.h"
#include "test_support.h"

namespace testing_support {

template <typename Window>
struct OnePageBuild {
  OnePageBuild() {
    WriteFile(source.path() / "index.htm", "<p>");
    window.sourceFolder = source.str();
    window.ticked = {"index.htm"};
    window.startFile = "index.htm";
    build.ResourceFolder = OsPath(target.str() + "/");
    window.resourceFile = build.ResourceFolder + "site.res";
  }

  ScratchDir source, target;
  Window window;
  pagefold::BuildCommand build;
  pagefold::gui::WindowClosing closing;
};

}  // namespace testing_support
