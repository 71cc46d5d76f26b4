#include "gui/qt/tform3.h"

#include <QEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "gui/common/window_texts.h"
#include "gui/qt/qstring_cp1251.h"

namespace pagefold::gui {

TForm3::TForm3(QLineEdit& startFile) : startFile_(startFile) {
  setObjectName("Form3");
  setWindowTitle(ToQString(texts::kForm3));
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
  // Closing the main window ends the program even while the chooser is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setSortingEnabled(false);
  ListBox1->setUniformItemSizes(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ListBox1);
  resize(319, 302);

  // A click on the selected item copies it again, as a change of selection
  // by mouse or keyboard does.
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TForm3::ListBox1Click);
  connect(ListBox1, &QListWidget::itemClicked, this, &TForm3::ListBox1Click);
  // A double click anywhere in the list, items or empty space, hides the
  // chooser; so does Enter, and Escape closes it.
  ListBox1->viewport()->installEventFilter(this);
  ListBox1->installEventFilter(this);
}

void TForm3::ShowOver(const QWidget& mainWindow) {
  if (!isVisible()) {
    // The native window first, so that its frame is known.
    winId();
    const QRect frame(QPoint(), frameGeometry().size());
    move(mainWindow.frameGeometry().center() - frame.center());
  }
  show();
  raise();
  activateWindow();
}

void TForm3::ListBox1Click() {
  for (int row = 0; row < ListBox1->count(); ++row) {
    const QListWidgetItem* item = ListBox1->item(row);
    if (item->isSelected()) startFile_.setText(item->text());
  }
}

void TForm3::ListBox1DblClick() { close(); }

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonDblClick) ListBox1DblClick();
  if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ListBox1DblClick();
      return true;
    }
    if (key == Qt::Key_Escape) {
      close();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pagefold::gui
