#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "gui/browse_for_folder.h"

namespace pagefold::gui {
namespace {

// Owned by the active window and modal to the whole application, so the
// chooser is disabled too while the box is open. Texts are never read as rich
// text. The program's texts break their lines with LF CR, as a Windows message
// box shows them: one line break, where a Qt label would break twice.
QMessageBox::StandardButton RunBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                   QMessageBox::StandardButtons buttons) {
  QString shown = text;
  shown.replace("\n\r", "\n");
  QMessageBox box(icon, caption, shown, buttons, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return box.standardButton(box.clickedButton());
}

}  // namespace

void QtDialogs::ShowMessage(const QString& caption, const QString& text) {
  RunBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
}

bool QtDialogs::AskOkCancel(const QString& caption, const QString& text) {
  return RunBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void QtDialogs::ShowError(const QString& caption, const QString& text) {
  RunBox(QMessageBox::Critical, caption, text, QMessageBox::Ok);
}

std::optional<QString> QtDialogs::ChooseSaveFile(const SaveDialog& dialog) {
  // No title of its own (the toolkit's title for saving), no default suffix,
  // no question before overwriting.
  QFileDialog save(QApplication::activeWindow());
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setFileMode(QFileDialog::AnyFile);
  save.setOption(QFileDialog::DontConfirmOverwrite);
  save.setNameFilter(dialog.filterDescription + " (" + dialog.filterPattern + ")");
  if (!dialog.fileName.isEmpty()) save.selectFile(dialog.fileName);
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(save.selectedFiles().constFirst());
}

QString QtDialogs::ChooseFolder(const QString& title, const QString& defaultPath) {
  return BrowseForFolder(0, title, defaultPath);
}

}  // namespace pagefold::gui
