// Pagefold's window. Of the command line it knows only --help and --version,
// which it answers on standard output without opening a window.
#include <QApplication>
#include <cstring>

#include "gui/qt/application.h"
#include "gui/qt/tform1.h"
#include "gui/qt/tform3.h"
#include "platform/console.h"
#include "text/cp1251.h"

namespace {

const char kHelp[] =
    "Использование: pagefold [--help | --version]\n"
    "Открывает окно Pagefold: упаковка html-страничек из папки со всеми их файлами\n"
    "в ресурсный файл Windows (.res). Из командной строки: pagefold-cli.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    pagefold::platform::WriteToStdout(pagefold::text::Cp1251Text(kHelp));
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    pagefold::platform::WriteToStdout("pagefold " PAGEFOLD_VERSION "\n");
    return 0;
  }
  QApplication app(argc, argv);
  pagefold::gui::SetUpApplication(app);
  pagefold::gui::TForm1 Form1;
  pagefold::gui::TForm3 Form3(*Form1.Edit5);
  Form1.SetForm3(&Form3);
  Form1.show();
  return app.exec();
}
