// A panel of the status bar: one line of text, cut at the panel's edge. A
// new text repaints the panel and nothing else: the panel's size never
// follows its text, so a build that changes it for every file costs no
// layout of the window, and a long text cannot widen the window.
#pragma once

#include <QString>
#include <QWidget>

namespace pagefold::gui {

class StatusPanel : public QWidget {
  Q_OBJECT

 public:
  explicit StatusPanel(QWidget* parent);

  QString text() const { return text_; }
  // The text, and the tooltip that shows it whole.
  void setText(const QString& text);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
};

}  // namespace pagefold::gui
