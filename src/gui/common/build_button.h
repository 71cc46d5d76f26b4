// Button5Click as both windows run it: the build with its progress shown
// once a frame, an error in a box captioned "Pagefold", and the window closed
// at the end when it was closed during the build.
#pragma once

#include "core/build_command.h"
#include "gui/common/dialogs.h"
#include "gui/common/main_window_view.h"
#include "gui/common/window_closing.h"

namespace pagefold::gui {

// Runs the build (RunBuild); before any box and at its end the progress
// shows as it stands.
void PressBuildButton(BuildCommand& build, MainWindowView& window, WindowClosing& closing, Dialogs& dialogs);

}  // namespace pagefold::gui
