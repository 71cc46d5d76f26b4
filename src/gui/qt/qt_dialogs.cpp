#include "gui/qt/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "gui/qt/browse_for_folder.h"
#include "gui/qt/qstring_cp1251.h"

namespace pagefold::gui {
namespace {

// The program's texts break their lines with LF CR, as a Windows message box
// shows them: one line break, where Qt would break twice.
QString Shown(const std::string& text) {
  QString shown = ToQString(text);
  shown.replace("\n\r", "\n");
  return shown;
}

// Owned by the active window and modal to the whole application, so the
// chooser is disabled too while the box is open. Texts are never read as rich
// text.
QMessageBox::StandardButton RunBox(QMessageBox::Icon icon, const std::string& caption, const std::string& text,
                                   QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, ToQString(caption), Shown(text), buttons, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return box.standardButton(box.clickedButton());
}

}  // namespace

void QtDialogs::ShowMessage(const std::string& caption, const std::string& text) {
  RunBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
}

// Modal as the message boxes are. The text area has the focus, so that
// Ctrl+A and Ctrl+C work at once; Enter and Escape close the box.
void QtDialogs::ShowLongMessage(const std::string& caption, const std::string& text) {
  QDialog box(QApplication::activeWindow());
  box.setWindowTitle(ToQString(caption));
  box.setWindowModality(Qt::ApplicationModal);
  auto* area = new QPlainTextEdit(Shown(text), &box);
  area->setReadOnly(true);
  area->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  area->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(area);
  layout->addWidget(buttons);
  box.resize(520, 320);
  area->setFocus();
  box.exec();
}

bool QtDialogs::AskOkCancel(const std::string& caption, const std::string& text) {
  return RunBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void QtDialogs::ShowError(const std::string& caption, const std::string& text) {
  RunBox(QMessageBox::Critical, caption, text, QMessageBox::Ok);
}

std::optional<std::u16string> QtDialogs::ChooseSaveFile(const SaveDialog& dialog) {
  // No title of its own (the toolkit's title for saving), no default suffix,
  // no question before overwriting.
  QFileDialog save(QApplication::activeWindow());
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setFileMode(QFileDialog::AnyFile);
  save.setOption(QFileDialog::DontConfirmOverwrite);
  save.setNameFilter(ToQString(dialog.filterDescription + " (" + dialog.filterPattern + ")"));
  if (!dialog.fileName.empty()) save.selectFile(QString::fromStdU16String(dialog.fileName));
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(save.selectedFiles().constFirst()).toStdU16String();
}

std::u16string QtDialogs::ChooseFolder(const std::string& title, const std::u16string& defaultPath) {
  return BrowseForFolder(0, ToQString(title), QString::fromStdU16String(defaultPath)).toStdU16String();
}

}  // namespace pagefold::gui
