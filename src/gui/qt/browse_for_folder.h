// The folder dialog: lets the user pick a folder of the file system.
#pragma once

#include <QtGui/qwindowdefs.h>

#include <QString>

namespace pagefold::gui {

// The full path of the folder the user picks (no trailing separator except for
// a root), or defaultPath when the user cancels. owner is the window that owns
// the dialog, 0 for none. Each call starts afresh at the top of the folder
// tree with nothing selected.
QString BrowseForFolder(WId owner, const QString& title, const QString& defaultPath);

}  // namespace pagefold::gui
