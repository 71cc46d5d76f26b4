#include <QDir>
#include <QFileDialog>
#include <QWidget>

#include "gui/qt/browse_for_folder.h"

namespace pagefold::gui {

QString BrowseForFolder(WId owner, const QString& title, const QString& defaultPath) {
  // A fresh dialog given the root every time, so no earlier pick is remembered.
  QFileDialog dialog(owner ? QWidget::find(owner) : nullptr, title, QDir::rootPath());
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return defaultPath;
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace pagefold::gui
