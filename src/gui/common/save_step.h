// saveClick as both windows run it: the target file chosen in the save
// dialog.
#pragma once

#include "core/build_command.h"
#include "gui/common/dialogs.h"
#include "gui/common/main_window_view.h"

namespace pagefold::gui {

// Opens the save dialog, which offers the name chosen last. A chosen name
// with a Windows-1251 form becomes the target: ResourceFolder, the text of
// the target's box (TargetName) and the dialog's next offer. A cancelled
// dialog changes nothing; a name without that form neither, after the
// message of AcceptName.
void ChooseTargetFile(BuildCommand& build, MainWindowView& window, Dialogs& dialogs, SaveDialog& dialog);

}  // namespace pagefold::gui
