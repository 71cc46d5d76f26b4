#include <gtest/gtest.h>

#include <chrono>

#include "core/file_list_page.h"
#include "core/size_text.h"
#include "inspect/file_list_names.h"
#include "platform/folder_listing.h"
#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using pagefold::FileListPage;
using pagefold::SizeToText;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;

const std::string kHeader = W(
    "<html><head><title>Filelist generated on \"Pagefold [Vostrak]\"</title>\r\n"
    "<style type=\"text/css\"><!--.td{color:\"00088ff\";font-family : Arial;font-size : 12;font-weight\r\n"
    " : bold;};h3{color:\"00000f\";font-family : Arial;font-size : 16;font-weight : bold;};a{color :\"0088ff\";font-family :\r\n"
    " Arial;font-size : 12;font-weight : bold;}--></style></head><body><a class=\"td\"><h3>Filelist generated on \"Pagefold [Vostrak]\"\r\n"
    "</h3></a><hr color=\"black\" align=\"left\" width=\"50%\"><table class=\"td\"><tr><td>№</td><td>Файл</td><td>Размер</td>\r\n");

std::string Footer(const char* count, const char* total) {
  return "</table><hr color=\"black\" align=\"left\" width=\"50%\"><h3>" + W("Количество файлов:  ") +
         count + "<br>" + W("Общий размер:  ") + total + "</h3></body></html>\r\n";
}

struct FileList : ::testing::Test {
  ScratchDir work;
  FileListPage page;

  std::string Saved() {
    pagefold::platform::FolderHandle folder;
    EXPECT_TRUE(folder.Open(work.str()));
    page.Save(folder, "filelist.html");
    return ReadFile(work.path() / "filelist.html");
  }
};

TEST_F(FileList, NoFilesGivesHeaderAndFooter) {
  EXPECT_EQ(Saved(), kHeader + Footer("0", "0b"));
}

TEST_F(FileList, RowsNumberTheAddedFilesAndLinkTheirNumbers) {
  page.AddRow(1, "a.htm", 10, "");
  page.AddRow(3, "img\\Logo.GIF", 2048, "");
  page.AddRow(4, W("R&D <Отчёт>.Doc"), 1024 * 1024 + 5, "");
  EXPECT_EQ(Saved(),
            kHeader +
                "<tr><td>1</td><td><a href=\"../htm/SEARCH_FILE_NOMBER_1\">a.htm</a></td><td><a>10b</td>\r\n"
                "<tr><td>2</td><td><a href=\"../GIF/SEARCH_FILE_NOMBER_3\">img\\Logo.GIF</a></td><td><a>2kb 0b</td>\r\n" +
                W("<tr><td>3</td><td><a href=\"../Doc/SEARCH_FILE_NOMBER_4\">R&amp;D &lt;Отчёт&gt;.Doc</a></td><td><a>1mg 5b</td>\r\n") +
                Footer("3", "1mg 2kb 15b"));
}

TEST_F(FileList, NamesAreTextOfThePageAndReadBackAsTheyWere) {
  const std::string markup = "<img src=x onerror=alert(1)>.gif", quoted = "a\"b&amp;.htm";
  page.AddRow(1, markup, 1, "");
  page.AddRow(2, quoted, 1, "");
  const std::string saved = Saved();
  EXPECT_EQ(saved, kHeader +
                       "<tr><td>1</td><td><a href=\"../gif/SEARCH_FILE_NOMBER_1\">&lt;img src=x onerror=alert(1)&gt;.gif"
                       "</a></td><td><a>1b</td>\r\n"
                       "<tr><td>2</td><td><a href=\"../htm/SEARCH_FILE_NOMBER_2\">a&quot;b&amp;amp;.htm</a></td><td><a>1b</td>\r\n" +
                       Footer("2", "2b"));
  const auto names = pagefold::FileListNames(saved);
  EXPECT_EQ(names, (std::unordered_map<std::string, std::string>{{"GIF/SEARCH_FILE_NOMBER_1", markup},
                                                                 {"HTM/SEARCH_FILE_NOMBER_2", quoted}}));
}

// 80,000 rows read back in one pass, and as many openings of rows that never
// close, each of which once read on to the end of the page (19.7 s for a
// page of 1.28 MB); a row stops at the next one's opening.
TEST(FileListNames, EveryRowIsReadUpToTheNextOnly) {
  std::string page, broken;
  for (int i = 1; i <= 80000; ++i) {
    const std::string n = std::to_string(i);
    page += "<tr><td>" + n + "</td><td><a href=\"../GIF/SEARCH_FILE_NOMBER_" + n + "\">p" + n + ".gif</a></td>\r\n";
    broken += "<td><a href=\"../GIF/SEARCH_FILE_NOMBER_" + n + "\">p" + n + ".gif";
  }
  const auto start = std::chrono::steady_clock::now();
  const auto names = pagefold::FileListNames(page);
  const auto none = pagefold::FileListNames(broken);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
  EXPECT_EQ(names.size(), 80000u);
  EXPECT_EQ(names.at("GIF/SEARCH_FILE_NOMBER_80000"), "p80000.gif");
  EXPECT_TRUE(none.empty());
  // A close after the next row's opening belongs to that row only.
  EXPECT_EQ(pagefold::FileListNames("<td><a href=\"../A/B\">b<td><a href=\"../C/D\">d</a></td>"),
            (std::unordered_map<std::string, std::string>{{"C/D", "d"}}));
}

TEST_F(FileList, GroupTypesAndTypesThatTransliterationChanges) {
  page.AddRow(1, "a.jpg", 1, "Pics");
  page.AddRow(2, "b.htm", 1, W("Мои файлы"));
  page.AddRow(3, W("c.Фот"), 1, "");
  page.AddRow(4, "d.a b", 1, "");
  EXPECT_EQ(Saved(), kHeader +
                         "<tr><td>1</td><td><a href=\"../Pics/SEARCH_FILE_NOMBER_1\">a.jpg</a></td><td><a>1b</td>\r\n"
                         "<tr><td>2</td><td><a href=\"../MOI_FAILI/SEARCH_FILE_NOMBER_2\">b.htm</a></td><td><a>1b</td>\r\n" +
                         W("<tr><td>3</td><td><a href=\"../FOT/SEARCH_FILE_NOMBER_3\">c.Фот</a></td><td><a>1b</td>\r\n") +
                         "<tr><td>4</td><td><a href=\"../A_B/SEARCH_FILE_NOMBER_4\">d.a b</a></td><td><a>1b</td>\r\n" +
                         Footer("4", "4b"));
}

TEST_F(FileList, SavingReplacesTheFileAndReportsFailures) {
  WriteFile(work.path() / "filelist.html", std::string(5000, 'o'));
  EXPECT_EQ(Saved(), kHeader + Footer("0", "0b"));
  fs::remove(work.path() / "filelist.html");
  fs::create_directory(work.path() / "filelist.html");  // a folder where the page should go
  pagefold::platform::FolderHandle folder;
  ASSERT_TRUE(folder.Open(work.str()));
  try {
    page.Save(folder, "filelist.html");
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    const std::string blocked = (work.path() / "filelist.html").string();
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + blocked + "\". ", 0), 0u) << e.what();
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), {}), 1);  // no temporary file left
}

TEST(SizeToText, UnitsFromGigabytesDown) {
  EXPECT_EQ(SizeToText("0"), "0b");
  EXPECT_EQ(SizeToText("1023"), "1023b");
  EXPECT_EQ(SizeToText("1024"), "1kb 0b");
  EXPECT_EQ(SizeToText("1536"), "1kb 512b");
  EXPECT_EQ(SizeToText("1048576"), "1mg 0b");
  EXPECT_EQ(SizeToText(std::to_string(3LL * 1024 * 1024 * 1024 + 5 * 1024 * 1024 + 7)),
            "3gb 5mg 7b");
  EXPECT_EQ(SizeToText("1073741824"), "1gb 0b");
  EXPECT_EQ(SizeToText("9223372036854775807"), "8589934591gb 1023mg 1023kb 1023b");
  EXPECT_EQ(SizeToText(""), "");
  EXPECT_EQ(SizeToText("-2,048 bytes"), "2kb 0b");  // only the digits count
  EXPECT_EQ(SizeToText("size"), "0b");
  EXPECT_EQ(SizeToText("0000000000000000000000001"), "1b");
  try {
    SizeToText("x9223372036854775808");
    FAIL() << "no error";
  } catch (const pagefold::platform::PlatformError& e) {
    EXPECT_STREQ(e.what(), "'9223372036854775808' is not a valid integer value");
  }
}

TEST(FileSize64, SizeOfTheEntry) {
  ScratchDir dir;
  WriteFile(dir.path() / "a.bin", std::string(70000, '\0'));
  fs::create_directory(dir.path() / "folder");
  EXPECT_EQ(pagefold::platform::EntrySize((dir.path() / "a.bin").string()), 70000);
  EXPECT_EQ(pagefold::platform::EntrySize((dir.path() / "folder").string()), 0);
  EXPECT_EQ(pagefold::platform::EntrySize((dir.path() / "missing").string()), -1);
}

}  // namespace
