// The system's error texts in the user's language, whatever the program's own
// locale: the window (Qt sets the locale from the environment) and
// pagefold-cli (which does not) show the same Windows-1251 text. The Russian
// cases need the locales ru_RU.UTF-8 and ru_RU.KOI8-R (./test.sh makes them).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>

#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using pagefold::platform::SystemErrorText;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::W;

const char kNoSuchFile[] = "Нет такого файла или каталога";

// The environment names the locale for the length of a test; the program's own
// locale is set from it, as Qt sets it, or left at "C", as pagefold-cli does.
class UserLocale {
 public:
  UserLocale(const char* name, bool setByProgram) {
    ::setenv("LC_ALL", name, 1);
    if (setByProgram) std::setlocale(LC_ALL, "");
  }
  ~UserLocale() {
    ::unsetenv("LC_ALL");
    std::setlocale(LC_ALL, "C");
  }
};

void ExpectInstalled(const char* name) {
  locale_t locale = newlocale(LC_ALL_MASK, name, nullptr);
  ASSERT_NE(locale, nullptr) << "the locale " << name << " is missing: localedef -i ru_RU -f ... " << name;
  freelocale(locale);
}

TEST(SystemErrorText, IsInTheUsersLanguageInWindows1251) {
  ExpectInstalled("ru_RU.UTF-8");
  ExpectInstalled("ru_RU.KOI8-R");
  for (const bool setByProgram : {true, false}) {
    {
      const UserLocale russian("ru_RU.UTF-8", setByProgram);
      EXPECT_EQ(SystemErrorText(ENOENT), W(kNoSuchFile)) << setByProgram;
      EXPECT_EQ(SystemErrorText(EACCES), W("Отказано в доступе")) << setByProgram;
    }
    {
      const UserLocale koi8("ru_RU.KOI8-R", setByProgram);
      EXPECT_EQ(SystemErrorText(ENOENT), W(kNoSuchFile)) << setByProgram;
    }
  }
  const UserLocale english("C", true);
  EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
}

TEST(SystemErrorText, IsInEnglishWhenTheUsersLocaleIsMissing) {
  const UserLocale missing("xx_XX.UTF-8", true);
  EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
}

TEST(SystemErrorText, PagefoldCliShowsItInTheUsersLanguage) {
  ExpectInstalled("ru_RU.UTF-8");
  ScratchDir dir;
  const std::string missing = (dir.path() / "missing.res").string();
  const std::string err = (dir.path() / "stderr.txt").string();
  const std::string command =
      "LC_ALL=ru_RU.UTF-8 '" PAGEFOLD_CLI_PATH "' --list '" + missing + "' 2> '" + err + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(err), "Cannot open file \"" + missing + "\". " + kNoSuchFile + "\n");
}

}  // namespace
