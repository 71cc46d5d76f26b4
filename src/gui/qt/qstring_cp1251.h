// The window's edge of the text layer: the program's Windows-1251 texts as
// QStrings and back.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace pagefold::gui {

// A Windows-1251 text for display. The one byte without a Unicode form (0x98)
// shows as U+FFFD; the texts the window shows never carry it.
QString ToQString(const std::string& cp1251);

// The Windows-1251 form of a text from a widget or a dialog, or nothing when a
// character of it has none.
std::optional<std::string> ToCp1251(const QString& text);

}  // namespace pagefold::gui
