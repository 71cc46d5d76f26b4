// The items of the file list: each shows a file's relative name and keeps its
// Windows-1251 bytes, so the build gets the listed names back unchanged.
#pragma once

#include <QListWidgetItem>
#include <string>

namespace pagefold::gui {

// A new unticked item for the relative name.
QListWidgetItem* NewFileItem(const std::string& name);

// The Windows-1251 name that the item shows.
std::string FileItemName(const QListWidgetItem& item);

}  // namespace pagefold::gui
