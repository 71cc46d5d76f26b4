#include "gui/qt/status_panel.h"

#include <QPainter>
#include <QStyle>

namespace pagefold::gui {

namespace {
constexpr int kMargin = 2;
}

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void StatusPanel::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  setToolTip(text);
  update();
}

QSize StatusPanel::sizeHint() const { return {0, fontMetrics().height() + 2 * kMargin}; }

void StatusPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect().adjusted(kMargin, 0, -kMargin, 0);
  style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, palette(),
                        isEnabled(), text_, QPalette::WindowText);
}

}  // namespace pagefold::gui
