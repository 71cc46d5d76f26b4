// The source folder's step as both windows run it: a folder picked in the
// folder dialog, dropped onto the window or typed into its box, listed into
// the check list.
#pragma once

#include <string>

#include "core/build_command.h"
#include "gui/common/dialogs.h"
#include "gui/common/main_window_view.h"
#include "gui/common/window_closing.h"

namespace pagefold::gui {

// FilesToStringsList: the folder into the source folder's box, and every file
// below it into the check list, unticked (ListSource); status panel 1 says
// what was left out, and the build keeps it and whether links out of the
// folder are followed. A window closed during the listing closes at its end.
void ListFolder(const std::string& folder, BuildCommand& build, MainWindowView& window, WindowClosing& closing);

// A folder the user picked or dropped: nothing when empty (the dialog was
// cancelled); refused by AcceptName without a Windows-1251 form; listed
// otherwise.
void ListPickedFolder(const std::u16string& folder, BuildCommand& build, MainWindowView& window,
                      WindowClosing& closing);

// Button1Click: the folder dialog, then the folder it gives as a picked one.
void ChooseSourceFolder(BuildCommand& build, MainWindowView& window, WindowClosing& closing, Dialogs& dialogs);

}  // namespace pagefold::gui
