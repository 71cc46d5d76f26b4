// What the main window's creation step sets.
#pragma once

#include "core/build_command.h"
#include "core/build_host.h"

namespace pagefold::gui {

// CompilerPath in the temporary folder, "0\0" in status panel 0 and an empty
// panel 1.
void FormCreate(BuildCommand& build, BuildHost& window);

}  // namespace pagefold::gui
