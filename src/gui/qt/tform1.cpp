#include "gui/qt/tform1.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/common/accepted_name.h"
#include "gui/common/build_button.h"
#include "gui/common/check_list_actions.h"
#include "gui/common/chooser_items.h"
#include "gui/common/folder_step.h"
#include "gui/common/form_create.h"
#include "gui/common/group_type_rule.h"
#include "gui/common/save_step.h"
#include "gui/common/window_texts.h"
#include "gui/qt/qstring_cp1251.h"
#include "gui/qt/qt_dialogs.h"
#include "gui/qt/tform3.h"

namespace pagefold::gui {
namespace {

QString Q(const std::string& cp1251) { return ToQString(cp1251); }

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
  setWindowTitle(Q(texts::kProgramName));
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
  N1 = named(PopupMenu1->addAction(Q(texts::kPopupSelectAll)), "N1");
  N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  N2 = named(PopupMenu1->addAction(Q(texts::kPopupUnselectAll)), "N2");
  N3 = named(PopupMenu1->addAction(Q(texts::kPopupClear)), "N3");
  N3->setShortcut(QKeySequence(Qt::Key_Delete));

  GroupBox1 = named(new QGroupBox(Q(texts::kGroupBox1), this), "GroupBox1");
  Button1 = named(new QPushButton(Q(texts::kButton1), GroupBox1), "Button1");
  Edit1 = named(new QLineEdit(GroupBox1), "Edit1");
  CheckListBox1 = named(new QListWidget(GroupBox1), "CheckListBox1");
  CheckListBox1->setUniformItemSizes(true);
  CheckListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
  // The menu's shortcuts act while the list has the focus.
  for (QAction* item : {N1, N2, N3}) {
    item->setShortcutContext(Qt::WidgetShortcut);
    CheckListBox1->addAction(item);
  }
  Label6 = named(new QLabel(Q(texts::kLabel6), GroupBox1), "Label6");
  Label7 = named(new QLabel(Q(texts::kLabel7), GroupBox1), "Label7");

  GroupBox2 = named(new QGroupBox(Q(texts::kGroupBox2), this), "GroupBox2");
  save = named(new QPushButton(Q(texts::kSave), GroupBox2), "save");
  Edit6 = named(new QLineEdit(GroupBox2), "Edit6");
  Edit6->setReadOnly(true);
  SaveDialog1 = {texts::kSaveFilterDescription, texts::kSaveFilterPattern, u""};
  Edit5 = named(new QLineEdit(GroupBox1), "Edit5");
  Edit5->setReadOnly(true);
  Label5 = named(new QLabel(Q(texts::kLabel5), GroupBox1), "Label5");
  Button7 = named(new QPushButton(Q(texts::kButton7), GroupBox1), "Button7");

  StatusBar1 = named(new QStatusBar(this), "StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  for (StatusPanel*& panel : panels_) panel = new StatusPanel(StatusBar1);
  // The counter's panel keeps its width in the layout too, where a panel
  // that ignores its size would count as none wide and lie under the next.
  panels_[0]->setFixedWidth(100);
  panels_[0]->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  StatusBar1->addWidget(panels_[0]);
  StatusBar1->addWidget(panels_[1], 1);

  CheckBox1 = named(new QCheckBox(Q(texts::kCheckBox1), GroupBox2), "CheckBox1");
  Edit2 = named(new QLineEdit(GroupBox2), "Edit2");
  Edit2->setFixedWidth(108);
  Edit2->hide();
  CheckBox2 =
      named(new QCheckBox(Q(texts::kCheckBox2), GroupBox2), "CheckBox2");

  Panel1 = named(new QWidget(this), "Panel1");
  ProgressBar1 = named(new QProgressBar(Panel1), "ProgressBar1");
  ProgressBar1->setRange(0, 1000);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  Button3 = named(new QPushButton(Q(texts::kButton3), Panel1), "Button3");
  abt = named(new QPushButton(Q(texts::kAbout), Panel1), "abt");
  // Enter on a focused button presses it, as the space bar does.
  for (QPushButton* button : {Button1, save, Button7, Button3, abt}) button->setAutoDefault(true);
  // A folder dropped onto the window is listed.
  setAcceptDrops(true);
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
  connect(Edit1, &QLineEdit::returnPressed, this, &TForm1::ListTypedFolder);
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, [this] { closing_.EscapePressed(*this); });
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
  ChooseSourceFolder(build_, *this, closing_, dialogs_);
}

// Enter in the folder box lists the folder typed there.
void TForm1::ListTypedFolder() {
  const std::string folder = SourceFolder();
  if (folder.empty()) return;
  BusyCursor busy(*this);
  FilesToStringsList(folder);
}

void TForm1::FormCreate() { gui::FormCreate(build_, *this); }

void TForm1::N1Click() { TickAll(*this, true); }

void TForm1::N2Click() { TickAll(*this, false); }

void TForm1::N3Click() { ClearCheckList(*this); }

void TForm1::CheckListBox1ClickCheck() { CheckListChanged(*this); }

void TForm1::Button5Click() { PressBuildButton(build_, *this, closing_, dialogs_); }

void TForm1::Button7Click() { FillChooser(*this); }

void TForm1::saveClick() { ChooseTargetFile(build_, *this, dialogs_, SaveDialog1); }

void TForm1::abtClick() { dialogs_.ShowMessage(texts::kAbout, texts::kAboutText); }

void TForm1::CheckBox1Click() {
  Edit2->setVisible(ApplyGroupTypeRule(CheckBox1->isChecked(), build_.GroupType));
}

// A refused edit puts the kept text back, which runs this handler again.
void TForm1::Edit2Change() {
  if (!groupText_.Edited(Edit2->text().toStdU16String(), *this)) {
    Edit2->setText(QString::fromStdU16String(groupText_.Kept()));
    return;
  }
  build_.GroupType = ToCp1251(Edit2->text()).value();
}

void TForm1::FilesToStringsList(const std::string& folder) { ListFolder(folder, build_, *this, closing_); }

void TForm1::Edit1Edited(const QString& text) {
  if (!sourceText_.Edited(text.toStdU16String(), *this)) Edit1->setText(QString::fromStdU16String(sourceText_.Kept()));
}

// One folder from a file manager, while no build runs.
void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!closing_.Busy() && urls.size() == 1 && urls.front().isLocalFile() &&
      QFileInfo(urls.front().toLocalFile()).isDir())
    event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  BusyCursor busy(*this);
  const QString folder = QDir::toNativeSeparators(event->mimeData()->urls().front().toLocalFile());
  ListPickedFolder(folder.toStdU16String(), build_, *this, closing_);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // During a build the window stays open until the build has seen Closing()
  // and ended; Button5Click closes it then. During a listing it stays open
  // until the listing has ended; FilesToStringsList closes it then.
  if (closing_.CloseAsked()) {
    QWidget::closeEvent(event);
    return;
  }
  event->ignore();
}

}  // namespace pagefold::gui
