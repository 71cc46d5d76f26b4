#include "gui/tform1.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "core/build_cancelled.h"
#include "core/build_texts.h"
#include "core/compiler_runner.h"
#include "core/find_files.h"
#include "core/paths.h"
#include "core/name_conversion.h"
#include "gui/check_list_item.h"
#include "gui/cp1251_validator.h"
#include "gui/qstring_cp1251.h"
#include "gui/qt_dialogs.h"
#include "gui/target_name.h"
#include "gui/tform3.h"

namespace pagefold::gui {
namespace {

const QString kAboutCaption = QString::fromUtf8("О программе");
const QString kAboutText = QString::fromUtf8(
    "Программа: \"Pagefold\"\n\r"
    "Описание: \"Программа встраивает html-странички\n\r"
    "и все принадлежащие ей файлы в ресурсный файл *.RES\"\n\r"
    "Идея и разработка: Vostrak");
const QString kFolderTitle = QString::fromUtf8("Выберите папку с файлами!");

// The busy pointer over a window while it lives.
class BusyCursor {
 public:
  explicit BusyCursor(QWidget& window) : window_(window) { window_.setCursor(Qt::WaitCursor); }
  ~BusyCursor() { window_.unsetCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  QWidget& window_;
};

}  // namespace

TForm1::TForm1(Dialogs* dialogs)
    : ownDialogs_(dialogs ? nullptr : std::make_unique<QtDialogs>()),
      dialogs_(dialogs ? *dialogs : *ownDialogs_) {
  setObjectName("Form1");
  setWindowTitle("Pagefold");
  CreateMembers();
  LayOut();
  SetTabOrder();
  Connect();
  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::CreateMembers() {
  const auto named = [](auto* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
  };
  PopupMenu1 = named(new QMenu(this), "PopupMenu1");
  N1 = named(PopupMenu1->addAction(QString::fromUtf8("Выделить все")), "N1");
  N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  N2 = named(PopupMenu1->addAction(QString::fromUtf8("Отменить все")), "N2");
  N3 = named(PopupMenu1->addAction(QString::fromUtf8("Очистить")), "N3");
  N3->setShortcut(QKeySequence(Qt::Key_Delete));

  GroupBox1 = named(new QGroupBox(QString::fromUtf8("Данные"), this), "GroupBox1");
  Button1 = named(new QPushButton(QString::fromUtf8("Обзор"), GroupBox1), "Button1");
  Edit1 = named(new QLineEdit(GroupBox1), "Edit1");
  CheckListBox1 = named(new QListWidget(GroupBox1), "CheckListBox1");
  CheckListBox1->setUniformItemSizes(true);
  CheckListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
  // The menu's shortcuts act while the list has the focus.
  for (QAction* item : {N1, N2, N3}) {
    item->setShortcutContext(Qt::WidgetShortcut);
    CheckListBox1->addAction(item);
  }
  Label6 = named(new QLabel(QString::fromUtf8("Папка с файлами"), GroupBox1), "Label6");
  Label7 = named(new QLabel(QString::fromUtf8("Файлы"), GroupBox1), "Label7");

  GroupBox2 = named(new QGroupBox(QString::fromUtf8("Файл ресурс"), this), "GroupBox2");
  save = named(new QPushButton(QString::fromUtf8("Сохранить как"), GroupBox2), "save");
  Edit6 = named(new QLineEdit(GroupBox2), "Edit6");
  Edit6->setReadOnly(true);
  SaveDialog1 = {QString::fromUtf8("Файл ресурсов"), "*.res", QString()};
  Edit5 = named(new QLineEdit(GroupBox1), "Edit5");
  Edit5->setReadOnly(true);
  Label5 = named(new QLabel(QString::fromUtf8("Стартовый файл:"), GroupBox1), "Label5");
  Button7 = named(new QPushButton(QString::fromUtf8("Выбрать"), GroupBox1), "Button7");

  StatusBar1 = named(new QStatusBar(this), "StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  for (QLabel*& panel : panels_) panel = new QLabel(StatusBar1);
  panels_[0]->setFixedWidth(100);
  StatusBar1->addWidget(panels_[0]);
  StatusBar1->addWidget(panels_[1], 1);

  CheckBox1 = named(new QCheckBox(QString::fromUtf8("Группировать в один тип"), GroupBox2), "CheckBox1");
  Edit2 = named(new QLineEdit(GroupBox2), "Edit2");
  Edit2->setValidator(new Cp1251Validator(Edit2));
  Edit2->setFixedWidth(108);
  Edit2->hide();
  CheckBox2 =
      named(new QCheckBox(QString::fromUtf8("Не проверять используемость файлов"), GroupBox2), "CheckBox2");

  Panel1 = named(new QWidget(this), "Panel1");
  ProgressBar1 = named(new QProgressBar(Panel1), "ProgressBar1");
  ProgressBar1->setRange(0, 1000);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  Button3 = named(new QPushButton(QString::fromUtf8("Собрать"), Panel1), "Button3");
  abt = named(new QPushButton(QString::fromUtf8("О программе"), Panel1), "abt");
}

// Layouts stand for the anchors: the file list takes the room the window
// gains, the edit boxes widen with it, and the buttons keep to the right.
void TForm1::LayOut() {
  auto* data = new QGridLayout(GroupBox1);
  data->addWidget(Label6, 0, 0, 1, 2);
  data->addWidget(Edit1, 1, 0);
  data->addWidget(Button1, 1, 1, Qt::AlignRight);
  data->addWidget(Label7, 2, 0, 1, 2);
  data->addWidget(CheckListBox1, 3, 0, 1, 2);
  data->addWidget(Label5, 4, 0, 1, 2);
  data->addWidget(Edit5, 5, 0);
  data->addWidget(Button7, 5, 1, Qt::AlignRight);
  data->setRowStretch(3, 1);
  data->setVerticalSpacing(3);
  data->setColumnStretch(0, 1);

  auto* target = new QGridLayout(GroupBox2);
  target->addWidget(Edit6, 0, 0, 1, 2);
  target->addWidget(save, 0, 2);
  target->addWidget(CheckBox1, 1, 0);
  QSizePolicy keepRoom = Edit2->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  Edit2->setSizePolicy(keepRoom);
  target->addWidget(Edit2, 1, 1, 1, 2, Qt::AlignLeft);
  target->addWidget(CheckBox2, 2, 0, 1, 3);
  target->setColumnStretch(1, 1);
  target->setVerticalSpacing(3);

  auto* buttons = new QHBoxLayout(Panel1);
  buttons->setContentsMargins(3, 3, 3, 3);
  buttons->addWidget(ProgressBar1, 1);
  buttons->addWidget(Button3);
  buttons->addWidget(abt);

  auto* boxes = new QVBoxLayout;
  boxes->setContentsMargins(3, 3, 3, 3);
  boxes->setSpacing(6);
  boxes->addWidget(GroupBox1, 1);
  boxes->addWidget(GroupBox2);

  auto* window = new QVBoxLayout(this);
  window->setContentsMargins(0, 0, 0, 0);
  window->setSpacing(0);
  window->addLayout(boxes, 1);
  window->addWidget(Panel1);
  window->addWidget(StatusBar1);

  // The designed sizes are for a font 13 pixels high: a client area of 282 by
  // 369 pixels with a file list 105 pixels high.
  const double scale = std::max(1.0, fontMetrics().height() / 13.0);
  CheckListBox1->setMinimumHeight(qRound(105 * scale));
  resize(minimumSizeHint().expandedTo(QSize(282, 369) * scale));
  if (const QScreen* desktop = screen()) move(desktop->availableGeometry().center() - rect().center());
}

void TForm1::SetTabOrder() {
  QWidget* const order[] = {Button1,   Edit1, CheckListBox1, Edit5,        Button7, save, Edit6,
                            CheckBox1, Edit2, CheckBox2,     ProgressBar1, Button3, abt};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TForm1::Connect() {
  connect(N1, &QAction::triggered, this, &TForm1::N1Click);
  connect(N2, &QAction::triggered, this, &TForm1::N2Click);
  connect(N3, &QAction::triggered, this, &TForm1::N3Click);
  connect(CheckListBox1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(CheckListBox1->viewport()->mapToGlobal(at)); });
  // Ticks that the program sets are made with the list's signals blocked, so
  // this fires only for the user's clicks and space bar.
  connect(CheckListBox1, &QListWidget::itemChanged, this, &TForm1::CheckListBox1ClickCheck);
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Edit1, &QLineEdit::textEdited, this, &TForm1::Edit1Edited);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button5Click);
  connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
  connect(save, &QPushButton::clicked, this, &TForm1::saveClick);
  connect(abt, &QPushButton::clicked, this, &TForm1::abtClick);
  connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
  connect(CheckBox2, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
  connect(Edit2, &QLineEdit::textChanged, this, &TForm1::Edit2Change);
}

QString TForm1::PanelText(int panel) const { return panels_.at(panel)->text(); }

void TForm1::Button1Click() {
  BusyCursor busy(*this);
  const QString folder = dialogs_.ChooseFolder(kFolderTitle, QString());
  if (folder.isEmpty()) return;
  const std::optional<std::string> bytes = ToCp1251(folder);
  if (!bytes) return RefuseName();
  FilesToStringsList(*bytes);
}

void TForm1::FormCreate() {
  build_.CompilerPath = CompilerPathIn(GetTempDir());
  SetStatusText(0, texts::Counter(0, 0));
  SetStatusText(1, "");
}

void TForm1::N1Click() { SetAllTicks(Qt::Checked); }

void TForm1::N2Click() { SetAllTicks(Qt::Unchecked); }

void TForm1::N3Click() {
  CheckListBox1->clear();
  CheckListBox1ClickCheck();
}

void TForm1::SetAllTicks(Qt::CheckState state) {
  {
    const QSignalBlocker quiet(CheckListBox1);
    for (int row = 0; row < CheckListBox1->count(); ++row) CheckListBox1->item(row)->setCheckState(state);
  }
  CheckListBox1ClickCheck();
}

void TForm1::CheckListBox1ClickCheck() {
  int ticked = 0;
  for (int row = 0; row < CheckListBox1->count(); ++row)
    if (CheckListBox1->item(row)->checkState() == Qt::Checked) ++ticked;
  PumpOneEvent();
  panels_[0]->setText(ToQString(texts::Counter(0, ticked)));
}

void TForm1::Button5Click() {
  try {
    build_.Button5Click(*this);
  } catch (const BuildCancelled&) {
    // Closed during the build: the build has removed what it made.
  } catch (const std::exception& error) {
    dialogs_.ShowError(ToQString(texts::kProgramName), ToQString(error.what()));
  }
  if (closing_) close();
}

void TForm1::Button7Click() {
  Form3->ShowOver(*this);
  Form3->ListBox1->clear();
  for (int row = 0; row < CheckListBox1->count(); ++row) {
    const QListWidgetItem& item = *CheckListBox1->item(row);
    if (item.checkState() == Qt::Checked && IsPageName(FileItemName(item)))
      Form3->ListBox1->addItem(item.text());
  }
}

void TForm1::saveClick() {
  const std::optional<QString> chosen = dialogs_.ChooseSaveFile(SaveDialog1);
  if (!chosen) return;
  const std::optional<std::string> bytes = ToCp1251(*chosen);
  if (!bytes) return RefuseName();
  SaveDialog1.fileName = *chosen;
  build_.ResourceFolder = FolderPart(*bytes);
  Edit6->setText(ToQString(TargetName(*bytes)));
}

void TForm1::abtClick() { dialogs_.ShowMessage(kAboutCaption, kAboutText); }

void TForm1::CheckBox1Click() {
  Edit2->setVisible(CheckBox1->isChecked());
  if (Edit2->isHidden()) build_.GroupType.clear();
}

void TForm1::Edit2Change() { build_.GroupType = ToCp1251(Edit2->text()).value(); }

void TForm1::FilesToStringsList(const std::string& folder) {
  sourceText_ = ToQString(folder);
  Edit1->setText(sourceText_);
  const SourceFiles files = ListSourceFiles(folder);
  const QSignalBlocker quiet(CheckListBox1);
  CheckListBox1->clear();
  for (const std::string& name : files.names) {
    CheckListBox1->addItem(NewFileItem(name));
  }
  if (files.skipped > 0) panels_[1]->setText(ToQString(texts::kSkippedNames + std::to_string(files.skipped)));
}

void TForm1::Edit1Edited(const QString& text) {
  if (ToCp1251(text)) {
    sourceText_ = text;
    return;
  }
  Edit1->setText(sourceText_);
  RefuseName();
}

void TForm1::RefuseName() {
  dialogs_.ShowMessage(ToQString(texts::kAttention), ToQString(texts::kOutsideCodePage));
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A disabled window, as during a build, stays open until the build has
  // seen Closing() and ended; Button5Click closes it then.
  if (isEnabled()) {
    QWidget::closeEvent(event);
    return;
  }
  closing_ = true;
  event->ignore();
}

}  // namespace pagefold::gui
