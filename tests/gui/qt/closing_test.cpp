// Closing the window while the compiler hangs: the window keeps handling
// events during the wait, and the close ends the build, the compiler and
// then the window, without an error box and without leftovers.
#include <gtest/gtest.h>
#include <signal.h>

#include <QTimer>
#include <cerrno>

#include "platform/own_resources.h"
#include "test_support.h"
#include "window_fixture.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WindowTest;
using testing_support::WriteFile;
namespace fs = std::filesystem;

class ClosingTest : public WindowTest {
 protected:
  void SetUp() override {
    carried_ = *pagefold::platform::FindOwnResource("EXE", "BRCC32");
    // A compiler that writes its process number and hangs.
    hanging_ = "#!/bin/sh\necho $$ > '" + (temp.path() / "pid").string() + "'\nexec sleep 600\n";
    pagefold::platform::RegisterOwnResource("EXE", "BRCC32",
                                  {reinterpret_cast<const unsigned char*>(hanging_.data()), hanging_.size()});
    form1.Build().CompilerPath = (temp.path() / "brcc32.exe").string();
    WriteFile(source.path() / "index.htm", "<img src=\"a.gif\">");
    WriteFile(source.path() / "a.gif", "GIF");
    ListFolder(QString::fromStdString(source.str()));
    form1.N1->trigger();
    form1.Edit5->setText("index.htm");
    dialogs.saveAnswers.push_back(QString::fromStdString((target.path() / "site").string()));
    form1.save->click();
    form1.show();
  }

  void TearDown() override { pagefold::platform::RegisterOwnResource("EXE", "BRCC32", carried_); }

  pid_t CompilerPid() const { return static_cast<pid_t>(std::stol(ReadFile(temp.path() / "pid"))); }

  ScratchDir source, target, temp;

 private:
  pagefold::platform::ResourceBytes carried_;
  std::string hanging_;
};

TEST_F(ClosingTest, ClosingDuringAHangingCompileEndsTheBuildTheCompilerAndTheWindow) {
  int ticksWhileCompiling = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] {
    if (form1.GroupBox1->isEnabled() || form1.PanelText(1) != QString::fromUtf8("ВНИМАНИЕ!!! Собирается ресурсный файл..."))
      return;
    ++ticksWhileCompiling;
    if (ticksWhileCompiling == 10) form1.close();
    if (ticksWhileCompiling == 1000) ::kill(CompilerPid(), SIGKILL);  // fail, do not hang
  });
  clock.start(10);
  form1.Button3->click();
  clock.stop();

  EXPECT_EQ(ticksWhileCompiling, 10) << "the window handled no events during the wait, or the close did not end it";
  EXPECT_EQ(dialogs.boxes, QStringList{});
  EXPECT_FALSE(form1.isVisible());
  EXPECT_TRUE(form1.GroupBox1->isEnabled() && form1.Button3->isEnabled());
  ASSERT_TRUE(fs::exists(temp.path() / "pid"));
  EXPECT_TRUE(::kill(CompilerPid(), 0) != 0 && errno == ESRCH) << "the compiler was left running";
  EXPECT_FALSE(fs::exists(form1.Build().CompilerPath));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
}

TEST_F(ClosingTest, ClosingDuringStagingEndsTheBuildAtTheNextPump) {
  const QString copying = QString::fromUtf8("Копируются файлы...");
  bool closed = false;
  int copiedAtClose = 0;
  // What the window showed after the close, where the build went on.
  QStringList laterSteps;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] {
    const QString step = form1.PanelText(1) + " " + QString::number(form1.ProgressBar1->value());
    if (!closed && form1.PanelText(1) == copying) {
      EXPECT_TRUE(form1.GroupBox1->isEnabled() && form1.Button3->isEnabled());
      form1.close();
      closed = true;
      copiedAtClose = form1.ProgressBar1->value();
    } else if (closed && step != copying + " " + QString::number(copiedAtClose)) {
      if (laterSteps.isEmpty() || laterSteps.back() != step) laterSteps << step;
      if (!ReadFile(temp.path() / "pid").empty()) ::kill(CompilerPid(), SIGKILL);  // fail, do not hang
    }
  });
  clock.start(0);
  form1.Button3->click();
  clock.stop();

  EXPECT_TRUE(closed);
  EXPECT_EQ(copiedAtClose, 1);
  EXPECT_EQ(laterSteps, QStringList{}) << "the build went on after the close";
  EXPECT_EQ(dialogs.boxes, QStringList{});
  EXPECT_FALSE(form1.isVisible());
  EXPECT_FALSE(fs::exists(temp.path() / "pid"));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
}

TEST_F(ClosingTest, EscapeDuringTheBuildAsksAndOnOkEndsItKeepingTheWindow) {
  ShowActive();
  dialogs.okCancelAnswers.push_back(false);
  dialogs.okCancelAnswers.push_back(true);
  int escapes = 0;
  bool progressKeptItsLook = false;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] {
    if (form1.Button3->isEnabled() || form1.PanelText(1) != QString::fromUtf8("ВНИМАНИЕ!!! Собирается ресурсный файл..."))
      return;
    if (escapes == 0)
      progressKeptItsLook = form1.isEnabled() && form1.ProgressBar1->isEnabled() && form1.StatusBar1->isEnabled() &&
                            !form1.Edit1->isEnabled() && !form1.CheckListBox1->isEnabled() && !form1.abt->isEnabled();
    if (++escapes <= 2) QTest::keyClick(&form1, Qt::Key_Escape);  // Cancel first, then OK
    if (escapes == 1000) ::kill(CompilerPid(), SIGKILL);  // fail, do not hang
  });
  clock.start(10);
  form1.Button3->click();
  clock.stop();

  EXPECT_EQ(escapes, 2);
  EXPECT_TRUE(progressKeptItsLook);
  const QString asked = QString::fromUtf8("ask|Внимание|Прервать сборку?");
  EXPECT_EQ(dialogs.boxes, (QStringList{asked, asked}));
  EXPECT_EQ(form1.PanelText(1), QString::fromUtf8("Сборка прервана"));
  EXPECT_TRUE(form1.isVisible());
  EXPECT_TRUE(form1.GroupBox1->isEnabled() && form1.Button3->isEnabled());
  EXPECT_TRUE(::kill(CompilerPid(), 0) != 0 && errno == ESRCH) << "the compiler was left running";
  EXPECT_FALSE(fs::exists(form1.Build().CompilerPath));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
  QTest::keyClick(&form1, Qt::Key_Escape);
  EXPECT_EQ(dialogs.boxes.size(), 2) << "Escape without a build asks nothing";
}

TEST_F(ClosingTest, AWindowClosedWhenNoBuildRunsClosesAtOnce) {
  form1.close();
  EXPECT_FALSE(form1.isVisible());
  EXPECT_TRUE(fs::is_empty(target.path()));
}

}  // namespace
