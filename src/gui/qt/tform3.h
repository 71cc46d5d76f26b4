// The start-file chooser: a small window that offers the ticked pages, whose
// pick lands in the main window's start-file box.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QWidget>

namespace pagefold::gui {

class TForm3 : public QWidget {
  Q_OBJECT

 public:
  // startFile is the main window's Edit5. The chooser is a window of its own,
  // not a child of the main window, so that it stays usable while a build has
  // the main window disabled.
  explicit TForm3(QLineEdit& startFile);

  QListWidget* ListBox1;

  // Shows the chooser centred over the main window, or brings it to the front
  // when it is already visible.
  void ShowOver(const QWidget& mainWindow);

  // Copies the selected item into the start-file box.
  void ListBox1Click();
  // Hides the chooser; the list keeps its items.
  void ListBox1DblClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit& startFile_;
};

}  // namespace pagefold::gui
