#include "gui/application.h"

#include <QIcon>

namespace pagefold::gui {

void SetUpApplication(QApplication& app) {
  // The name, not the display name: Qt appends a display name to the title of
  // every window, the chooser's included.
  app.setApplicationName("Pagefold");
  app.setApplicationVersion("1.0.0.5");
  app.setWindowIcon(QIcon(":/pagefold/pagefold.png"));
}

}  // namespace pagefold::gui
