// The program's two windows as a user sees them after listing a folder,
// ticking its files, picking a start page and choosing a target, for
// scripts/screenshot.sh; with --build, at the end of the build that follows,
// with its closing message, for scripts/screenshot-build.sh.
// Usage: screenshot_window FOLDER TARGET [--build]. Prints "ready
// WIDTHxHEIGHT+LEFT+TOP" (the area of the screen the windows cover, with a
// margin) once they are drawn, then runs until it is ended. The picture of
// the listing has its windows side by side at the top left; the build's keeps
// the main window where the program puts it, in the middle of the screen.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "gui/qt/application.h"
#include "gui/qt/qstring_cp1251.h"
#include "gui/qt/qt_dialogs.h"
#include "gui/qt/tform1.h"
#include "gui/qt/tform3.h"

namespace {

// Answers the save dialog with the target given; nothing else is asked.
class TargetDialogs : public pagefold::gui::QtDialogs {
 public:
  explicit TargetDialogs(QString target) : target_(std::move(target)) {}
  std::optional<std::u16string> ChooseSaveFile(const pagefold::gui::SaveDialog&) override {
    return target_.toStdU16String();
  }

 private:
  QString target_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool build = argc == 4 && std::strcmp(argv[3], "--build") == 0;
  if (argc != 3 && !build) {
    std::fprintf(stderr, "usage: screenshot_window FOLDER TARGET [--build]\n");
    return 2;
  }
  pagefold::gui::SetUpApplication(app);
  TargetDialogs dialogs(QString::fromLocal8Bit(argv[2]));
  pagefold::gui::TForm1 form1(&dialogs);
  pagefold::gui::TForm3 form3(*form1.Edit5);
  form1.SetForm3(&form3);
  if (!build) form1.move(8, 8);
  form1.show();

  form1.FilesToStringsList(pagefold::gui::ToCp1251(QString::fromLocal8Bit(argv[1])).value());
  form1.N1Click();
  for (QListWidgetItem* item : form1.CheckListBox1->findItems("unused", Qt::MatchContains))
    item->setCheckState(Qt::Unchecked);
  form1.CheckListBox1->setCurrentRow(0);
  form1.saveClick();
  form1.Button7Click();
  form3.move(form1.frameGeometry().right() + 12, 8);
  form3.ListBox1->setCurrentRow(0);

  // The area of the shown windows and of the box over them, once.
  const auto ready = [&](const QWidget* box) {
    QRect all = form1.frameGeometry();
    if (form3.isVisible()) all = all.united(form3.frameGeometry());
    if (box) all = all.united(box->frameGeometry());
    all.adjust(-8, -8, 8, 8);
    std::printf("ready %dx%d+%d+%d\n", all.width(), all.height(), std::max(all.left(), 0), std::max(all.top(), 0));
    std::fflush(stdout);
  };
  if (!build) {
    QTimer::singleShot(500, [&] { ready(nullptr); });
    return app.exec();
  }
  // The closing message is a modal box, which runs an event loop of its own
  // until it is closed: the check runs in that loop, and the box's window
  // must have been painted before the picture is taken.
  QTimer boxShown;
  QObject::connect(&boxShown, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box || !box->isVisible()) return;
    boxShown.stop();
    QTimer::singleShot(500, [&, box] { ready(box); });
  });
  boxShown.start(100);
  // The build starts from the main window, which a click on "Собрать" makes
  // the active one, over which the box then comes up. The display has no
  // window manager to make it so.
  QTimer::singleShot(0, [&] {
    form3.ListBox1DblClick();
    QApplication::setActiveWindow(&form1);
    form1.Button3->click();
  });
  return app.exec();
}
