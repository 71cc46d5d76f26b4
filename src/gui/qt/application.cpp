#include "gui/qt/application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

// The icon lives in a static library, whose resources are registered by hand;
// the registration is declared in the global namespace.
static void RegisterResources() { Q_INIT_RESOURCE(pagefold); }

namespace pagefold::gui {
namespace {

// Qt's own texts (the buttons of message boxes, the file dialogs) in Russian,
// as the program's are, whatever the desktop's language.
void LoadQtTranslations(QApplication& app) {
  auto* russian = new QTranslator(&app);
  if (russian->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(russian);
}

}  // namespace

void SetUpApplication(QApplication& app) {
  // The name, not the display name: Qt appends a display name to the title of
  // every window, the chooser's included.
  app.setApplicationName("Pagefold");
  app.setApplicationVersion(PAGEFOLD_VERSION);
  RegisterResources();
  app.setWindowIcon(QIcon(":/pagefold/pagefold.png"));
  LoadQtTranslations(app);
}

}  // namespace pagefold::gui
