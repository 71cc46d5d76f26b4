#include "gui/application.h"

#include <QIcon>

// The icon lives in a static library, whose resources are registered by hand;
// the registration is declared in the global namespace.
static void RegisterResources() { Q_INIT_RESOURCE(pagefold); }

namespace pagefold::gui {

void SetUpApplication(QApplication& app) {
  // The name, not the display name: Qt appends a display name to the title of
  // every window, the chooser's included.
  app.setApplicationName("Pagefold");
  app.setApplicationVersion(PAGEFOLD_VERSION);
  RegisterResources();
  app.setWindowIcon(QIcon(":/pagefold/pagefold.png"));
}

}  // namespace pagefold::gui
