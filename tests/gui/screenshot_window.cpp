// The program's two windows as a user sees them after listing a folder,
// ticking its files, picking a start page and choosing a target, for
// scripts/screenshot.sh. Usage: screenshot_window FOLDER TARGET. Prints
// "ready WIDTHxHEIGHT" (the area both windows cover from the top left of the
// screen) once they are drawn, then runs until it is ended.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "gui/application.h"
#include "gui/qstring_cp1251.h"
#include "gui/qt_dialogs.h"
#include "gui/tform1.h"
#include "gui/tform3.h"

namespace {

// Answers the save dialog with the target given; nothing else is asked.
class TargetDialogs : public pagefold::gui::QtDialogs {
 public:
  explicit TargetDialogs(QString target) : target_(std::move(target)) {}
  std::optional<QString> ChooseSaveFile(const pagefold::gui::SaveDialog&) override { return target_; }

 private:
  QString target_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshot_window FOLDER TARGET\n");
    return 2;
  }
  pagefold::gui::SetUpApplication(app);
  TargetDialogs dialogs(QString::fromLocal8Bit(argv[2]));
  pagefold::gui::TForm1 form1(&dialogs);
  pagefold::gui::TForm3 form3(*form1.Edit5);
  form1.SetForm3(&form3);
  form1.move(8, 8);
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

  QTimer::singleShot(500, [&] {
    const QRect both = form1.frameGeometry().united(form3.frameGeometry());
    std::printf("ready %dx%d\n", both.right() + 9, both.bottom() + 9);
    std::fflush(stdout);
  });
  return app.exec();
}
