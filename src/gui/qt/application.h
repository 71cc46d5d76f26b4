// The program's identity as the toolkit shows it.
#pragma once

#include <QApplication>

namespace pagefold::gui {

// Sets the application's title "Pagefold", its version and its icon, and
// loads Qt's Russian translations for the toolkit's own texts.
void SetUpApplication(QApplication& app);

}  // namespace pagefold::gui
