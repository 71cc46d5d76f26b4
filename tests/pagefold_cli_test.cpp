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

using testing_support::Utf8Path;
using testing_support::W;

const char kLlvmRc[] = "/usr/bin/llvm-rc-14";

// A path as a depfile writes it.
std::string BlanksEscaped(const std::string& path) {
  std::string escaped;
  for (const char c : path) escaped += c == ' ' ? std::string("\\ ") : std::string(1, c);
  return escaped;
}

struct Result {
  int exitCode;
  std::string err;  // UTF-8, as the terminal shows it
  std::string out;
};

struct PagefoldCli : ::testing::Test {
  ScratchDir source, target;

  void SetUp() override {
    WriteFile(source.path() / "index.htm", "<a href=\"pages/a.htm\">a</a><img src=\"logo.gif\">");
    WriteFile(source.path() / "pages" / "a.htm", "<a href=\"../index.htm\">up</a>");
    WriteFile(source.path() / "logo.gif", "GIF");
    WriteFile(source.path() / "lonely.gif", "GIF");
  }

  Result Run(const std::string& args) { return RunProgram(PAGEFOLD_CLI_PATH, args); }
  Result RunProgram(const std::string& program, const std::string& args) {
    const fs::path err = target.path() / "stderr.txt", out = target.path() / "stdout.txt";
    const Result result{System("\"" + program + "\" " + args + " > \"" + out.string() + "\" 2> \"" +
                               err.string() + "\""),
                        ReadFile(err), ReadFile(out)};
    fs::remove(err);
    fs::remove(out);
    return result;
  }
  static int System(std::string command) {
#ifdef _WIN32
    // cmd /c takes away the outer pair of quotes; a wide command line keeps
    // Cyrillic letters that the ANSI code page may not hold.
    return _wsystem(Utf8Path("\"" + command + "\"").wstring().c_str());
#else
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
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
  r = Run("--list " + Target() + " --depfile deps.d");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключ --list не сочетается с упаковкой\nСправка: pagefold-cli --help\n");
  EXPECT_TRUE(fs::is_empty(target.path()));
}

TEST_F(PagefoldCli, HelpAndVersionGoToStandardOutput) {
  Result r = Run("--help");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("Использование: pagefold-cli [ключи] ПАПКА ФАЙЛ.res [ФАЙЛ ...]\n", 0), 0u);
  EXPECT_NE(r.out.find("  --version         версия программы\n"), std::string::npos);
  r = Run("--version " + Source());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "pagefold-cli " PAGEFOLD_VERSION "\n");
  EXPECT_TRUE(fs::is_empty(target.path()));
#ifdef PAGEFOLD_WINDOW_PATH
  // The window answers both without a display.
  r = RunProgram(PAGEFOLD_WINDOW_PATH, "--version");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "pagefold " PAGEFOLD_VERSION "\n");
  r = RunProgram(PAGEFOLD_WINDOW_PATH, "--help");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.rfind("Использование: pagefold [--help | --version]\n", 0), 0u) << r.out;
#endif
}

TEST_F(PagefoldCli, TheDepfileNamesEveryFileReadAndEveryFolderListed) {
  WriteFile(source.path() / "my img" / "a b#$.gif", "GIF");
  const std::string depfile = (target.path() / "out.d").string();
  Result r = Run("--start index.htm --depfile \"" + depfile + "\" " + Source() + " " + Target());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string sep(1, fs::path::preferred_separator), top = source.str() + sep;
  const std::string escapedTop = BlanksEscaped(top);
  EXPECT_EQ(ReadFile(depfile),
            BlanksEscaped((target.path() / "out.res").string()) + ": \\\n  " +
                escapedTop.substr(0, escapedTop.size() - 1) + " \\\n  " + escapedTop + "my\\ img \\\n  " +
                escapedTop + "pages \\\n  " + escapedTop + "index.htm \\\n  " + escapedTop + "logo.gif \\\n  " +
                escapedTop + "lonely.gif \\\n  " + escapedTop + "my\\ img" + sep + "a\\ b\\#$$.gif \\\n  " +
                escapedTop + "pages" + sep + "a.htm\n");

  // Named files: only those are read; a depfile that cannot be written fails the run.
  r = Run("--start index.htm --depfile \"" + depfile + "\" " + Source() + " " + Target() + " index.htm");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFile(depfile).find("logo.gif"), std::string::npos);
  EXPECT_NE(ReadFile(depfile).find(escapedTop + "index.htm\n"), std::string::npos);
  const std::string blocked = (target.path() / "no folder" / "out.d").string();
  r = Run("--start index.htm --depfile \"" + blocked + "\" " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("\nCannot create file \"" + blocked + "\". "), std::string::npos) << r.err;
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

#ifndef _WIN32
// On POSIX "\" is a letter of a name: the target "out\new/site.res" lies in
// the folder "out\new", never in "out/new", and a source file "s\x.gif",
// which the registry would read as s\x.gif in the folder s, is left out and
// named.
TEST_F(PagefoldCli, ABackslashSeparatesNoFoldersOfTheTargetOrTheSource) {
  WriteFile(source.path() / "index.htm", "<img src=\"s/x.gif\">");
  WriteFile(source.path() / "s" / "x.gif", "REAL-PICTURE");
  WriteFile(source.path() / "s\\x.gif", "BACKSLASH-NAMED");
  WriteFile(target.path() / "out" / "new" / "site.res", "OLD-RES");
  WriteFile(target.path() / "out" / "new" / "site.rc", "OLD-RC");
  fs::create_directory(target.path() / "out\\new");
  const Result r = Run("--start index.htm " + Source() + " \"" + target.str() + "/out\\new/site.res\"");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err,
            "Копируются файлы...\nМеняются ссылки...\nУдаляем неиспользуемые файлы...\n"
            "Применяются настройки...\nВНИМАНИЕ!!! Собирается ресурсный файл...\n"
            "Удаляются временные файлы...\nСбор закончен !!!\n"
            "Не упакованы файлы: 1\ns\\x.gif: в имени есть знак \\\n");
  EXPECT_EQ(ReadFile(target.path() / "out" / "new" / "site.res"), "OLD-RES");
  EXPECT_EQ(ReadFile(target.path() / "out" / "new" / "site.rc"), "OLD-RC");
  const std::string res = ReadFile(target.path() / "out\\new" / "site.res");
  EXPECT_NE(res.find("REAL-PICTURE"), std::string::npos);
  EXPECT_EQ(res.find("BACKSLASH-NAMED"), std::string::npos);
  EXPECT_NE(ReadFile(target.path() / "out\\new" / "site.rc").find(target.str() + "/out\\new/ARH/"), std::string::npos);
  EXPECT_FALSE(fs::exists(target.path() / "out\\new" / "ARH"));
  EXPECT_FALSE(fs::exists(target.path() / "out" / "new" / "ARH"));
}
#endif

// No output may be another output or a file to pack: such a build is refused
// before anything is written.
TEST_F(PagefoldCli, AnOutputThatIsAnotherOutputOrAPackedFileIsRefused) {
  const std::string res = (target.path() / "out.res").string();
  Result r = Run("--yes --report " + Target() + " " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Отчёт \"" + res + "\" - это тот же файл, что и \"" + res + "\", укажите другой файл!\n");
  const std::string page = (source.path() / "index.htm").string();
  r = Run("--yes --report \"" + page + "\" " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Отчёт \"" + page + "\" входит в собираемые файлы, укажите другой файл!\n");
  WriteFile(source.path() / "pages" / "a.rc", "a page of the site");
  r = Run("--yes " + Source() + " \"" + (source.path() / "pages" / "a.res").string() + "\"");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Файл сценария \"" + (source.path() / "pages" / "a.rc").string() +
                       "\" входит в собираемые файлы, укажите другой файл!\n");
  EXPECT_TRUE(fs::is_empty(target.path()));
  EXPECT_EQ(ReadFile(source.path() / "index.htm"), "<a href=\"pages/a.htm\">a</a><img src=\"logo.gif\">");
  EXPECT_EQ(ReadFile(source.path() / "pages" / "a.rc"), "a page of the site");
  EXPECT_FALSE(fs::exists(source.path() / "pages" / "ARH"));
}

TEST_F(PagefoldCli, ALeftoverWorkFolderFailsWithTheSystemsCode) {
  fs::create_directory(target.path() / "ARH");
  const Result r = Run("--yes " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "I/O error 183\n");
  EXPECT_TRUE(fs::is_directory(target.path() / "ARH"));
}

TEST_F(PagefoldCli, ReportsTheLinksThatNameNoPackedFile) {
  WriteFile(source.path() / "links.htm",
            "<a href=\"gone.htm\">broken</a><img src=\"lonely.gif\"><a href=\"http://example.com/\">out</a>"
            "<a href=\"mailto:a@b.c\">mail</a><a href=\"#top\">top</a>");
  WriteFile(Utf8Path(source.str() + "/\xD0\xB4\xD0\xB0.htm"), W("<a href=\"нет.htm\">"));  // да.htm
  WriteFile(target.path() / "report.txt", "an older report, longer than the new one");
  const std::string report = "\"" + (target.path() / "report.txt").string() + "\"";
  // lonely.gif is not ticked.
  Result r = Run("--start index.htm --report " + report + " " + Source() + " " + Target() +
                 " index.htm pages/a.htm logo.gif links.htm \xD0\xB4\xD0\xB0.htm");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err,
            "Копируются файлы...\nМеняются ссылки...\nУдаляем неиспользуемые файлы...\n"
            "Применяются настройки...\nВНИМАНИЕ!!! Собирается ресурсный файл...\n"
            "Удаляются временные файлы...\nСбор закончен !!!\n"
            "Ссылок без ресурса: 3\nlinks.htm -> gone.htm\nlinks.htm -> lonely.gif\nда.htm -> нет.htm\n");
  EXPECT_EQ(ReadFile(target.path() / "report.txt"),
            "links.htm\tgone.htm\r\nlinks.htm\tlonely.gif\r\n" + W("да.htm\tнет.htm\r\n"));

  // The summary shows the first ten; the report holds them all, control bytes shown.
  std::string page;
  for (int i = 10; i < 22; ++i) page += "<a href=\"gone" + std::to_string(i) + ".htm\">";
  page += "<a href=gone.htm\r\n>";
  WriteFile(source.path() / "links.htm", page);
  r = Run("--start index.htm --report " + report + " " + Source() + " " + Target() +
          " index.htm pages/a.htm logo.gif links.htm");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::string summary = "Ссылок без ресурса: 13\nlinks.htm -> gone.htm\\r\\n\n";
  std::string lines = "links.htm\tgone.htm\\r\\n\r\n";
  for (int i = 10; i < 22; ++i) {
    if (i < 19) summary += "links.htm -> gone" + std::to_string(i) + ".htm\n";
    lines += "links.htm\tgone" + std::to_string(i) + ".htm\r\n";
  }
  EXPECT_EQ(r.err.substr(r.err.find("Ссылок")), summary);
  EXPECT_EQ(ReadFile(target.path() / "report.txt"), lines);

  // A clean build prints no summary and writes an empty report.
  r = Run("--start index.htm --report " + report + " " + Source() + " " + Target() + " index.htm pages/a.htm logo.gif");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Ссылок"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(target.path() / "report.txt"), "");
  EXPECT_TRUE(fs::exists(target.path() / "report.txt"));
}

TEST_F(PagefoldCli, AReportThatCannotBeWrittenFailsTheRun) {
  const fs::path report = target.path() / "no such folder" / "report.txt";
  const Result r = Run("--yes --report \"" + report.string() + "\" " + Source() + " " + Target());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Сбор закончен !!!\n"), std::string::npos) << r.err;
  const std::string message = "Не удалось записать отчёт \"" + report.string() + "\": ";
  ASSERT_NE(r.err.find(message), std::string::npos) << r.err;
  EXPECT_EQ(r.err.back(), '\n');
  EXPECT_TRUE(fs::exists(target.path() / "out.res"));
  EXPECT_FALSE(fs::exists(target.path() / "no such folder"));

  // A folder in the way: nothing is left beside it.
  fs::create_directory(target.path() / "report.txt");
  const std::string inTheWay = (target.path() / "report.txt").string();
  const Result folder = Run("--yes --report \"" + inTheWay + "\" " + Source() + " " + Target());
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_NE(folder.err.find("Не удалось записать отчёт \"" + inTheWay + "\": "),
            std::string::npos)
      << folder.err;
  EXPECT_FALSE(fs::exists(target.path() / "report.txt.tmp"));
  EXPECT_TRUE(fs::is_empty(target.path() / "report.txt"));
}

TEST_F(PagefoldCli, ListsTheResourcesOfAPackedFile) {
  ASSERT_EQ(Run("--start index.htm " + Source() + " " + Target()).exitCode, 0);
  const Result r = Run("--list " + Target());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // index.htm is 1, logo.gif 2, lonely.gif 3 (dropped), pages\a.htm 4.
  const std::string index = "<a href=\"../HTM/SEARCH_FILE_NOMBER_4\">a</a><img src=\"../GIF/SEARCH_FILE_NOMBER_2\">";
  const std::string page = "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">up</a>";
  const std::string rest = "HTML/INDEX\t" + std::to_string(index.size()) + "\nHTM/SEARCH_FILE_NOMBER_1\t" +
                           std::to_string(index.size()) + "\nGIF/SEARCH_FILE_NOMBER_2\t3\nHTM/SEARCH_FILE_NOMBER_4\t" +
                           std::to_string(page.size()) + "\n";
  ASSERT_EQ(r.out.rfind("HTML/FILELIST\t", 0), 0u) << r.out;
  const size_t sizeEnd = r.out.find('\n');
  ASSERT_NE(sizeEnd, std::string::npos);
  EXPECT_GT(std::stoi(r.out.substr(14, sizeEnd - 14)), 500);
  EXPECT_EQ(r.out.substr(sizeEnd + 1), rest);
}

TEST_F(PagefoldCli, ListsAResourceFileOfLlvmRc) {
#ifdef _WIN32
  GTEST_SKIP() << "llvm-rc-14 is a Linux program: the Linux build lists its output";
#endif
  if (!fs::exists(kLlvmRc)) GTEST_SKIP() << kLlvmRc << " is not installed: the listing of its output did not run";
  const fs::path dir = target.path();
  WriteFile(dir / "a.htm", "<html>");
  WriteFile(dir / "b.bin", std::string(70000, 'b'));
  WriteFile(dir / "c.gif", "");
  WriteFile(dir / "site.rc", "INDEX HTM \"" + (dir / "a.htm").string() + "\"\n7 RCDATA \"" + (dir / "b.bin").string() +
                                 "\"\nSEARCH_FILE_NOMBER_12 GIF \"" + (dir / "c.gif").string() + "\"\n");
  ASSERT_EQ(System(std::string(kLlvmRc) + " -no-preprocess -fo \"" + (dir / "site.res").string() + "\" \"" +
                   (dir / "site.rc").string() + "\""),
            0);
  const Result r = Run("--list \"" + (dir / "site.res").string() + "\"");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "HTM/INDEX\t6\n#10/#7\t70000\nGIF/SEARCH_FILE_NOMBER_12\t0\n");
}

TEST_F(PagefoldCli, ListingErrors) {
  const std::string missing = (target.path() / "missing.res").string();
  Result r = Run("--list \"" + missing + "\"");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << r.err;
  EXPECT_EQ(r.out, "");

  // A file cut inside its second resource: the first is listed, then what is wrong.
  std::string res(32, '\0');
  res[4] = 32;
  res[8] = res[9] = res[12] = res[13] = '\xFF';
  const std::string header = std::string("\x02\0\0\0\x20\0\0\0", 8) + std::string("A\0\0\0B\0\0\0", 8) +
                             std::string(16, '\0');
  res += header + std::string("xy\0\0", 4) + header;
  WriteFile(target.path() / "cut.res", res);
  const std::string cut = (target.path() / "cut.res").string();
  r = Run("--list \"" + cut + "\"");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "A/B\t2\n");
  EXPECT_EQ(r.err, cut + ": data runs past the end of the file at offset 68\n");

  WriteFile(target.path() / "page.htm", "<html>");
  r = Run("--list \"" + (target.path() / "page.htm").string() + "\"");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, (target.path() / "page.htm").string() +
                       ": not a 32-bit resource file: it does not start with the empty entry\n");

  // Names with control bytes: an escape sequence and a line break.
  const std::string type = std::string("A\0\0\0", 4), name = std::string("\x1B\0[\0" "2\0J\0\n\0\x7F\0\0\0", 14);
  const std::string hostile = std::string(32, '\0').replace(4, 1, 1, ' ').replace(8, 2, "\xFF\xFF").replace(12, 2, "\xFF\xFF") +
                              std::string("\x01\0\0\0\x2C\0\0\0", 8) + type + name + std::string(18, '\0') + "x\0\0\0";
  WriteFile(target.path() / "hostile.res", hostile);
  r = Run("--list \"" + (target.path() / "hostile.res").string() + "\"");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "A/\\x1B[2J\\n\\x7F\t1\n");

  r = Run("--list " + Target() + " " + Source());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключ --list не сочетается с упаковкой\nСправка: pagefold-cli --help\n");
}

}  // namespace
