#include <gtest/gtest.h>

#include "test_support.h"
#include "window_fixture.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WindowTest;
using testing_support::WriteFile;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class ChooserTest : public WindowTest {
 protected:
  void SetUp() override {
    for (const char* name :
         {"a.HTML", "b.shtml", "c.xhtml", "d.htm", "htm.txt", "index.htm", "noext", "pages/intro.html"})
      WriteFile(dir.path() / name, "x");
    ListFolder(QString::fromStdString(dir.str()));
    Tick({"a.HTML", "b.shtml", "c.xhtml", "htm.txt", "index.htm", "noext", "pages\\intro.html"});
  }

  QPoint CentreOf(int row) { return form3.ListBox1->visualItemRect(form3.ListBox1->item(row)).center(); }

  ScratchDir dir;
};

TEST_F(ChooserTest, FillsWithTheTickedPagesInListOrder) {
  EXPECT_EQ(form3.windowTitle(), U("Выберите файл . . ."));
  EXPECT_TRUE(form3.isWindow());
  EXPECT_EQ(form3.parentWidget(), nullptr);
  EXPECT_TRUE(form3.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(form3.isModal());
  EXPECT_FALSE(form3.testAttribute(Qt::WA_QuitOnClose));

  form1.show();
  form1.Button7->click();
  EXPECT_TRUE(form3.isVisible());
  EXPECT_EQ(form3.frameGeometry().center(), form1.frameGeometry().center());
  EXPECT_EQ(Texts(*form3.ListBox1),
            (QStringList{"a.HTML", "b.shtml", "c.xhtml", "index.htm", "pages\\intro.html"}));
  EXPECT_EQ(form1.Edit5->text(), "");

  // Opening again rebuilds the list from the current ticks, where the chooser stands.
  form3.move(form3.pos() + QPoint(40, 30));
  const QPoint moved = form3.pos();
  form1.N2->trigger();
  Tick({"d.htm"});
  form1.Button7->click();
  EXPECT_EQ(Texts(*form3.ListBox1), QStringList{"d.htm"});
  EXPECT_EQ(form3.pos(), moved);
}

TEST_F(ChooserTest, ClickArrowsAndDoubleClickPickTheStartFile) {
  form1.show();
  form1.Button7->click();
  QListWidget& list = *form3.ListBox1;
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CentreOf(3));
  EXPECT_EQ(form1.Edit5->text(), "index.htm");
  EXPECT_EQ(form1.StartFile(), "index.htm");

  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(form1.Edit5->text(), "pages\\intro.html");
  QTest::keyClick(&list, Qt::Key_Up);
  QTest::keyClick(&list, Qt::Key_Up);
  EXPECT_EQ(form1.Edit5->text(), "c.xhtml");

  // A click on the item already selected copies it again.
  form1.SetStartFile("filelist.html");
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CentreOf(2));
  EXPECT_EQ(form1.Edit5->text(), "c.xhtml");

  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, CentreOf(0));
  EXPECT_EQ(form1.Edit5->text(), "a.HTML");
  EXPECT_TRUE(form3.isHidden());
  EXPECT_EQ(list.count(), 5);

  // Closing leaves the pick and the list; reopening keeps the pick even when
  // it is no longer offered.
  form1.Button7->click();
  form3.close();
  EXPECT_TRUE(form3.isHidden());
  EXPECT_EQ(form1.Edit5->text(), "a.HTML");
  EXPECT_EQ(list.count(), 5);
  form1.N2->trigger();
  form1.Button7->click();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(form1.Edit5->text(), "a.HTML");
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(form1.Edit5->text(), "a.HTML");
  // A double click on the empty list hides the chooser too.
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_TRUE(form3.isHidden());
}

TEST_F(ChooserTest, EnterPicksAsADoubleClickAndEscapeClosesIt) {
  form1.show();
  form1.Button7->click();
  form3.ListBox1->setFocus();
  QTest::keyClick(form3.ListBox1, Qt::Key_Down);
  QTest::keyClick(form3.ListBox1, Qt::Key_Down);
  EXPECT_EQ(form1.Edit5->text(), "b.shtml");
  QTest::keyClick(form3.ListBox1, Qt::Key_Return);
  EXPECT_TRUE(form3.isHidden());
  EXPECT_EQ(form1.Edit5->text(), "b.shtml");

  form1.Button7->click();
  EXPECT_TRUE(form3.isVisible());
  EXPECT_EQ(form3.frameGeometry().center(), form1.frameGeometry().center());
  QTest::keyClick(form3.ListBox1, Qt::Key_Escape);
  EXPECT_TRUE(form3.isHidden());
  EXPECT_EQ(form1.Edit5->text(), "b.shtml");
}

TEST_F(ChooserTest, StaysUsableWhileTheMainWindowIsDisabled) {
  form1.show();
  form1.Button7->click();
  form1.SetWindowEnabled(false);
  EXPECT_FALSE(form1.Button3->isEnabled());
  EXPECT_TRUE(form3.isEnabled());
  QTest::mouseClick(form3.ListBox1->viewport(), Qt::LeftButton, {}, CentreOf(2));
  EXPECT_EQ(form1.Edit5->text(), "c.xhtml");
}

}  // namespace
