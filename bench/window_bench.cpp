// Drives the Qt window through a whole session on a site, as a user would:
// lists the folder, ticks every file, fills the chooser, picks its first page
// and builds. Prints the seconds each step took, one line:
//   listing 0.17 tick 0.07 chooser 0.16 build 2.90 files 20000 pages 5000
// Usage: window_bench FOLDER TARGET. Needs a display (or QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "gui/qt/application.h"
#include "gui/qt/qstring_cp1251.h"
#include "gui/qt/qt_dialogs.h"
#include "gui/qt/tform1.h"
#include "gui/qt/tform3.h"

namespace {

// Answers the save dialog with the target; every box is noted, not shown.
class BenchDialogs : public pagefold::gui::QtDialogs {
 public:
  explicit BenchDialogs(QString target) : target_(std::move(target)) {}
  std::optional<std::u16string> ChooseSaveFile(const pagefold::gui::SaveDialog&) override {
    return target_.toStdU16String();
  }
  void ShowMessage(const std::string&, const std::string& text) override { last = pagefold::gui::ToQString(text); }
  bool AskOkCancel(const std::string&, const std::string& text) override {
    last = pagefold::gui::ToQString(text);
    return true;
  }
  void ShowError(const std::string&, const std::string& text) override {
    last = "error: " + pagefold::gui::ToQString(text);
  }
  QString last;

 private:
  QString target_;
};

template <typename Step>
double Seconds(Step step) {
  QElapsedTimer clock;
  clock.start();
  step();
  return clock.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_bench FOLDER TARGET\n");
    return 2;
  }
  pagefold::gui::SetUpApplication(app);
  BenchDialogs dialogs(QString::fromLocal8Bit(argv[2]));
  pagefold::gui::TForm1 form1(&dialogs);
  pagefold::gui::TForm3 form3(*form1.Edit5);
  form1.SetForm3(&form3);
  form1.show();
  QApplication::processEvents();

  const std::string folder = pagefold::gui::ToCp1251(QString::fromLocal8Bit(argv[1])).value();
  const double listing = Seconds([&] { form1.FilesToStringsList(folder); });
  const double tick = Seconds([&] { form1.N1Click(); });
  const double chooser = Seconds([&] { form1.Button7Click(); });
  form3.ListBox1->setCurrentRow(0);
  form3.ListBox1DblClick();
  form1.saveClick();
  const double build = Seconds([&] { form1.Button5Click(); });
  std::printf("listing %.2f tick %.2f chooser %.2f build %.2f files %d pages %d\n", listing, tick, chooser, build,
              form1.CheckListBox1->count(), form3.ListBox1->count());
  if (dialogs.last != QString::fromUtf8("Сбор закончен !!!")) {
    std::fprintf(stderr, "the build did not finish: %s\n", dialogs.last.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
