#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

struct Result {
  int exitCode;
  std::string err;  // UTF-8, as the terminal shows it
};

struct PagefoldCli : ::testing::Test {
  ScratchDir source, target;

  void SetUp() override {
    WriteFile(source.path() / "index.htm", "<a href=\"pages/a.htm\">a</a><img src=\"logo.gif\">");
    WriteFile(source.path() / "pages" / "a.htm", "<a href=\"../index.htm\">up</a>");
    WriteFile(source.path() / "logo.gif", "GIF");
    WriteFile(source.path() / "lonely.gif", "GIF");
  }

  Result Run(const std::string& args) {
    const fs::path err = target.path() / "stderr.txt";
    std::string command = "\"" PAGEFOLD_CLI_PATH "\" " + args + " 2> \"" + err.string() + "\"";
#ifdef _WIN32
    command = "\"" + command + "\"";  // cmd /c takes away the outer pair of quotes
#endif
    int status = std::system(command.c_str());
#ifndef _WIN32
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    const Result result{status, ReadFile(err)};
    fs::remove(err);
    return result;
  }
  std::string Source() const { return "\"" + source.str() + "\""; }
  std::string Target() const { return "\"" + (target.path() / "out.res").string() + "\""; }
};

TEST_F(PagefoldCli, BadUsageExitsWithTwoAndSaysWhy) {
  Result r = Run("");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Укажите папку с файлами и файл ресурс\nСправка: pagefold-cli --help\n");
  r = Run("--bogus " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Неизвестный ключ: --bogus\nСправка: pagefold-cli --help\n");
  r = Run("--start");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Нет значения для --start\nСправка: pagefold-cli --help\n");
  r = Run("\"" + (source.path() / "nope").string() + "\" " + Target());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Нет такой папки: " + (source.path() / "nope").string() + "\n");
  r = Run(Source() + " " + Target() + " pages/missing.htm");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Нет такого файла в папке: pages\\missing.htm\n");
  r = Run("--help");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err.rfind("Использование: pagefold-cli [ключи] ПАПКА ФАЙЛ.res [ФАЙЛ ...]\n", 0), 0u);
  EXPECT_TRUE(fs::is_empty(target.path()));
}

TEST_F(PagefoldCli, TheStartPageQuestionNeedsYes) {
  Result r = Run(Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Не указан стартовый файл, использовать стандартный filelist как стартовый"
                   " (ответ OK: --yes)\n");
  EXPECT_TRUE(fs::is_empty(target.path()));

  r = Run("--yes " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(target.path() / "out.res"));
}

TEST_F(PagefoldCli, PacksAndPrintsTheStagesOnStderr) {
  const Result r = Run("--start index.htm " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err,
            "Копируются файлы...\nМеняются ссылки...\nУдаляем неиспользуемые файлы...\n"
            "Применяются настройки...\nВНИМАНИЕ!!! Собирается ресурсный файл...\n"
            "Удаляются временные файлы...\nСбор закончен !!!\n");
  const std::string script = ReadFile(target.path() / "out.rc");
  EXPECT_NE(script.find("INDEX HTM"), std::string::npos);
  EXPECT_NE(script.find("SEARCH_FILE_NOMBER_2 GIF"), std::string::npos) << script;  // logo.gif
  EXPECT_EQ(script.find("SEARCH_FILE_NOMBER_3 "), std::string::npos) << script;     // lonely.gif dropped
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
}

TEST_F(PagefoldCli, NamedFilesGroupingAndKeepAll) {
  const Result r = Run("--start index.htm --group Pics --keep-all " + Source() + " " + Target() +
                       " index.htm lonely.gif");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string script = ReadFile(target.path() / "out.rc");
  EXPECT_NE(script.find("SEARCH_FILE_NOMBER_1 PICS"), std::string::npos) << script;  // index.htm
  EXPECT_NE(script.find("SEARCH_FILE_NOMBER_2 PICS"), std::string::npos) << script;  // lonely.gif kept
  EXPECT_EQ(script.find("SEARCH_FILE_NOMBER_3"), std::string::npos) << script;
}

TEST_F(PagefoldCli, ALeftoverWorkFolderFailsWithTheSystemsCode) {
  fs::create_directory(target.path() / "ARH");
  const Result r = Run("--yes " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "I/O error 183\n");
  EXPECT_TRUE(fs::is_directory(target.path() / "ARH"));
}

}  // namespace
