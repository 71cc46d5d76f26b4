// Whole builds pressed through Button3 of the Win32 window: the sample site
// to the same .res bytes as the Linux build, and a close during a compile
// that never ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/own_resources.h"
#include "test_support.h"
#include "win32_window_fixture.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::Texts;
using testing_support::Win32WindowTest;
using testing_support::WindowText;
namespace fs = std::filesystem;

const std::wstring kCompiling = L"ВНИМАНИЕ!!! Собирается ресурсный файл...";

class Win32BuildTest : public Win32WindowTest {
 protected:
  void Prepare(const fs::path& source) {
    ListFolder(source);
    SendMessageW(form1.Form1, WM_COMMAND, pagefold::gui::win32::N1, 0);
    Click(form1.Button7);
    PickInChooser(L"index.htm");
    dialogs.saveAnswers.push_back((target.path() / "site").wstring());
    Click(form1.save);
  }

  ScratchDir target;
};

// The .res of the Linux build of the sample site, named by the environment
// variable PAGEFOLD_LINUX_SITE_RES (scripts/windows-build.sh sets it).
TEST_F(Win32BuildTest, BuildsTheSampleSiteToTheLinuxBuildsBytes) {
  const char* linuxRes = std::getenv("PAGEFOLD_LINUX_SITE_RES");
  ASSERT_NE(linuxRes, nullptr) << "PAGEFOLD_LINUX_SITE_RES is not set";
  Prepare(PAGEFOLD_SAMPLE_SITE);
  EXPECT_EQ(ListBoxItems(form3.ListBox1), (Texts{L"index.htm", L"pages\\about.htm", L"pages\\news.html"}));
  EXPECT_EQ(WindowText(form1.Edit6), (target.path() / "site.res").wstring());
  Click(form1.Button3);

  EXPECT_EQ(dialogs.boxes, Texts{L"message|Внимание|Сбор закончен !!!"});
  EXPECT_EQ(form1.PanelText(0), L"");
  EXPECT_EQ(form1.PanelText(1), L"");
  EXPECT_EQ(SendMessageW(form1.ProgressBar1, PBM_GETPOS, 0, 0), 0);
  EXPECT_TRUE(IsWindowEnabled(form1.Button3) && IsWindowEnabled(form1.CheckListBox1));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_FALSE(fs::exists(form1.Build().CompilerPath));
  const std::string built = ReadFile(target.path() / "site.res");
  ASSERT_FALSE(built.empty());
  EXPECT_TRUE(built == ReadFile(linuxRes)) << "the .res differs from " << linuxRes;
}

TEST_F(Win32BuildTest, AWorkFolderLeftFromAnInterruptedBuildIsNamedInTheErrorBox) {
  fs::create_directories(target.path() / "ARH");
  Prepare(PAGEFOLD_SAMPLE_SITE);
  Click(form1.Button3);
  EXPECT_EQ(dialogs.boxes, Texts{L"error|Pagefold|I/O error 183\nПапка \"" + (target.path() / "ARH").wstring() +
                                 L"\" осталась от прерванной сборки, её можно удалить."});
  EXPECT_TRUE(IsWindowEnabled(form1.Button3) && IsWindowEnabled(form1.CheckListBox1));
}

// The closing message names a start page that was left unticked and the
// links left without their files; a short one comes in the plain box.
TEST_F(Win32BuildTest, AnUntickedStartPageAndTheLinksWithoutTheirFilesAreNamedInTheClosingMessage) {
  Prepare(PAGEFOLD_SAMPLE_SITE);
  PickInChooser(L"pages\\about.htm");
  SetTick(L"pages\\about.htm", false);
  SetTick(L"img\\logo.gif", false);
  Click(form1.Button3);

  EXPECT_EQ(dialogs.boxes, Texts{L"message|Внимание|Сбор закончен !!!\n"
                                 L"Стартовый файл \"pages\\about.htm\" не упакован: он не отмечен в списке файлов.\n"
                                 L"Ссылок без ресурса: 3\n"
                                 L"index.htm -> img/logo.gif\nindex.htm -> pages/about.htm\npages\\news.html -> about.htm"});
  const std::string built = ReadFile(target.path() / "site.res");
  EXPECT_EQ(built.find("I\0N\0D\0E\0X\0", 0, 10), std::string::npos) << "no resource INDEX";
  EXPECT_NE(built.find("F\0I\0L\0E\0L\0I\0S\0T\0", 0, 16), std::string::npos);
}

// A message of more lines than a message box holds comes in the box the user
// can scroll and copy from, whole.
TEST_F(Win32BuildTest, ALongClosingMessageComesInTheScrollingBox) {
  ScratchDir source;
  std::string page;
  for (int i = 1; i <= 11; ++i) page += "<img src=\"p" + std::to_string(i) + ".gif\">";
  testing_support::WriteFile(source.path() / "index.htm", page);
  testing_support::WriteFile(source.path() / "README", "read me");
  Prepare(source.path());
  Click(form1.Button3);

  std::wstring expected = L"long|Внимание|Сбор закончен !!!\nНе упакованы файлы: 1\n"
                          L"README: нет расширения, а значит и типа ресурса\nСсылок без ресурса: 11";
  for (const int i : {1, 10, 11, 2, 3, 4, 5, 6, 7, 8}) expected += L"\nindex.htm -> p" + std::to_wstring(i) + L".gif";
  EXPECT_EQ(dialogs.boxes, Texts{expected});
  EXPECT_TRUE(fs::exists(target.path() / "site.res"));
}

class Win32ClosingTest : public Win32BuildTest {
 protected:
  void SetUp() override {
    carried_ = *pagefold::platform::FindOwnResource("EXE", "BRCC32");
    std::ifstream program(HANGING_PROGRAM, std::ios::binary);
    hanging_.assign(std::istreambuf_iterator<char>(program), {});
    ASSERT_FALSE(hanging_.empty());
    pagefold::platform::RegisterOwnResource("EXE", "BRCC32",
                                  {reinterpret_cast<const unsigned char*>(hanging_.data()), hanging_.size()});
    form1.Build().CompilerPath = (temp.path() / "brcc32.exe").string();
    testing_support::WriteFile(source.path() / "index.htm", "<img src=\"a.gif\">");
    testing_support::WriteFile(source.path() / "a.gif", "GIF");
    Prepare(source.path());
  }
  void TearDown() override { pagefold::platform::RegisterOwnResource("EXE", "BRCC32", carried_); }

  ScratchDir source, temp;

 private:
  pagefold::platform::ResourceBytes carried_;
  std::string hanging_;
};

// The test's clock: counts the ticks seen while the compiler runs and closes
// the window at the tenth.
struct Clock {
  static inline HWND window = nullptr;
  static inline HWND button = nullptr;
  static inline HWND statusBar = nullptr;
  static inline int ticks = 0;
};

std::wstring Panel1(HWND bar) {
  wchar_t text[256] = {};
  SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  return text;
}

void CALLBACK ClockTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!IsWindow(Clock::window) || IsWindowEnabled(Clock::button) || Panel1(Clock::statusBar) != kCompiling) return;
  ++Clock::ticks;
  if (Clock::ticks == 10) PostMessageW(Clock::window, WM_CLOSE, 0, 0);
}

TEST_F(Win32ClosingTest, ClosingDuringAHangingCompileEndsTheBuildTheCompilerAndTheWindow) {
  Clock::window = form1.Form1;
  Clock::button = form1.Button3;
  Clock::statusBar = form1.StatusBar1;
  Clock::ticks = 0;
  const fs::path pidFile = target.path() / "site.rc.pid";
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, &ClockTick);
  Click(form1.Button3);
  KillTimer(nullptr, timer);

  EXPECT_GE(Clock::ticks, 10) << "the window handled no events during the wait";
  EXPECT_EQ(dialogs.boxes, Texts{});
  EXPECT_FALSE(IsWindow(form1.Form1)) << "the window did not close after the build";
  ASSERT_TRUE(fs::exists(pidFile)) << "the compiler did not start";
  const DWORD pid = std::stoul(ReadFile(pidFile));
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  const bool ended = !process || WaitForSingleObject(process, 2000) == WAIT_OBJECT_0;
  if (process && !ended) TerminateProcess(process, 1);
  if (process) CloseHandle(process);
  EXPECT_TRUE(ended) << "the compiler was left running";
  EXPECT_FALSE(fs::exists(form1.Build().CompilerPath));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
}

// Escape during a build: asked, then ended with its clean-up at the next
// pump; the window stays, usable. Meanwhile only the controls that take input
// are disabled.
struct EscapeClock {
  static inline pagefold::gui::win32::TForm1* form = nullptr;
  static inline int pressed = 0;
  static inline bool progressKeptItsLook = false;
};

void CALLBACK PressEscapeWhileDisabled(HWND, UINT, UINT_PTR, DWORD) {
  auto& form = *EscapeClock::form;
  if (EscapeClock::pressed > 0 || IsWindowEnabled(form.Button3)) return;
  EscapeClock::progressKeptItsLook = IsWindowEnabled(form.Form1) && IsWindowEnabled(form.ProgressBar1) &&
                                     IsWindowEnabled(form.StatusBar1) && !IsWindowEnabled(form.Edit1) &&
                                     !IsWindowEnabled(form.CheckListBox1) && !IsWindowEnabled(form.abt);
  ++EscapeClock::pressed;
  SendMessageW(form.Form1, WM_COMMAND, IDCANCEL, 0);  // what Escape sends through the dialog keys
}

TEST_F(Win32ClosingTest, EscapeDuringTheBuildAsksAndOnOkEndsItKeepingTheWindow) {
  EscapeClock::form = &form1;
  EscapeClock::pressed = 0;
  dialogs.okCancelAnswers.push_back(true);
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, &PressEscapeWhileDisabled);
  Click(form1.Button3);
  KillTimer(nullptr, timer);

  EXPECT_EQ(EscapeClock::pressed, 1);
  EXPECT_TRUE(EscapeClock::progressKeptItsLook);
  EXPECT_EQ(dialogs.boxes, Texts{L"ask|Внимание|Прервать сборку?"});
  EXPECT_EQ(form1.PanelText(1), L"Сборка прервана");
  EXPECT_TRUE(IsWindow(form1.Form1));
  EXPECT_TRUE(IsWindowEnabled(form1.Button3) && IsWindowEnabled(form1.Edit1));
  EXPECT_FALSE(fs::exists(form1.Build().CompilerPath));
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_FALSE(fs::exists(target.path() / "site.res"));
  // Without a build Escape asks nothing.
  SendMessageW(form1.Form1, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(dialogs.boxes.size(), 1u);
}

}  // namespace
