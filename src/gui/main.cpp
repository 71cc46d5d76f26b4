// Pagefold's window. The program takes no command line.
#include <QApplication>

#include "gui/application.h"
#include "gui/tform1.h"
#include "gui/tform3.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  pagefold::gui::SetUpApplication(app);
  pagefold::gui::TForm1 Form1;
  pagefold::gui::TForm3 Form3(*Form1.Edit5);
  Form1.SetForm3(&Form3);
  Form1.show();
  return app.exec();
}
