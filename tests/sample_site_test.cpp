// Packs the shipped sample site with the carried compiler and reads the
// resource file back: every resource, the rewritten links, the file list page
// and the script, and a source folder left exactly as it was.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "core/build_command.h"
#include "core/find_files.h"
#include "recording_host.h"
#include "resformat/res_reader.h"
#include "test_support.h"
#include "text/case_rules.h"

namespace {

using pagefold::BuildCommand;
using pagefold::BuildOutcome;
using testing_support::OsPath;
using testing_support::ReadFile;
using testing_support::RecordingHost;
using testing_support::ScratchDir;
using testing_support::Utf8Path;
using testing_support::W;
namespace fs = std::filesystem;

const fs::path kSite = PAGEFOLD_SAMPLE_SITE;

// Every file below the folder with its bytes and modification time.
std::map<std::string, std::pair<std::string, fs::file_time_type>> Snapshot(const fs::path& folder) {
  std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    files[entry.path().string()] = {entry.is_regular_file() ? ReadFile(entry.path()) : "",
                                    entry.last_write_time()};
  return files;
}

std::string SizeText(std::int64_t size) {
  std::string out;
  const std::int64_t units[] = {1024LL * 1024 * 1024, 1024 * 1024, 1024};
  const char* const names[] = {"gb ", "mg ", "kb "};
  for (int i = 0; i < 3; ++i)
    if (size >= units[i]) {
      out += std::to_string(size / units[i]) + names[i];
      size %= units[i];
    }
  return out + std::to_string(size) + "b";
}

struct Packed {
  std::string type, name, data;
};

TEST(SampleSite, PacksIntoAResourceFileWhoseLinksAllResolve) {
  ScratchDir target, temp;
  const auto before = Snapshot(kSite);
  RecordingHost host;
  host.sourceFolder = kSite.string();
  host.ticked = pagefold::ListSourceFiles(kSite.string()).names;
  host.startFile = "index.htm";
  host.resourceFile = (target.path() / "site.res").string();
  BuildCommand build;
  build.ResourceFolder = target.str() + OsPath("/");
  build.CompilerPath = (temp.path() / "brcc32.exe").string();
  ASSERT_EQ(build.Run(host), BuildOutcome::Built);

  pagefold::FileResSource source;
  ASSERT_TRUE(source.Open(host.resourceFile));
  const pagefold::ResListing listing = pagefold::ListResources(source);
  ASSERT_EQ(listing.error, "");
  std::vector<std::string> ids;
  std::map<std::string, std::string> data;  // by "TYPE/NAME"
  std::vector<Packed> packed;
  for (const auto& entry : listing.entries) {
    packed.push_back({*entry.type.Cp1251(), *entry.name.Cp1251(), *pagefold::ReadResourceData(source, entry)});
    ids.push_back(packed.back().type + "/" + packed.back().name);
    data[ids.back()] = packed.back().data;
  }
  // unused.gif (4) is dropped; the others keep their numbers, in the order of
  // the staged names.
  EXPECT_EQ(ids, (std::vector<std::string>{"HTML/FILELIST", "HTML/INDEX", "GIF/SEARCH_FILE_NOMBER_1",
                                           "CSS/SEARCH_FILE_NOMBER_10", "GIF/SEARCH_FILE_NOMBER_2",
                                           "GIF/SEARCH_FILE_NOMBER_3", "GIF/SEARCH_FILE_NOMBER_5",
                                           "GIF/SEARCH_FILE_NOMBER_6", "HTM/SEARCH_FILE_NOMBER_7",
                                           "HTM/SEARCH_FILE_NOMBER_8", "HTML/SEARCH_FILE_NOMBER_9"}));
  ASSERT_EQ(data.size(), 11u);
  EXPECT_EQ(data["GIF/SEARCH_FILE_NOMBER_1"], ReadFile(kSite / "img" / "bg.gif"));
  // The picture that only the style sheet uses.
  EXPECT_EQ(data["GIF/SEARCH_FILE_NOMBER_3"], ReadFile(kSite / "img" / "stripe.gif"));
  EXPECT_EQ(data["GIF/SEARCH_FILE_NOMBER_5"],
            ReadFile(kSite / "img" / Utf8Path("\xD0\xBA\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.gif")));
  EXPECT_EQ(data["GIF/SEARCH_FILE_NOMBER_6"], ReadFile(kSite / "img" / Utf8Path("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.gif")));
  EXPECT_EQ(data["CSS/SEARCH_FILE_NOMBER_10"],
            "body { font-family: Arial, sans-serif; color: #203040; }\n"
            "h1 { font-size: 18px; padding-left: 24px; background: url(../GIF/SEARCH_FILE_NOMBER_3) no-repeat; }\n");
  EXPECT_EQ(data["HTML/INDEX"], data["HTM/SEARCH_FILE_NOMBER_7"]);  // index.html is the rewritten start page

  // Every ../TYPE/NAME in every page and style sheet names a packed resource.
  const std::set<std::string> known(ids.begin(), ids.end());
  // Resource types are found without regard to case; the file list page writes them as the extension.
  const std::regex link("\\.\\./([A-Za-z]+)/(SEARCH_FILE_NOMBER_[0-9]+)");
  int links = 0;
  for (const Packed& p : packed) {
    if (p.type != "HTM" && p.type != "HTML" && p.type != "CSS") continue;
    for (std::sregex_iterator it(p.data.begin(), p.data.end(), link), end; it != end; ++it, ++links)
      EXPECT_TRUE(known.count(pagefold::text::UpperAscii((*it)[1].str()) + "/" + (*it)[2].str())) << p.name << ": " << it->str();
  }
  EXPECT_EQ(links, 9 + 5 + 5 + 3 + 4 + 1);  // file list rows, index.html, index, about, news, style
  const std::string& index = data["HTM/SEARCH_FILE_NOMBER_7"];
  EXPECT_NE(index.find("href=\"../CSS/SEARCH_FILE_NOMBER_10\""), std::string::npos);
  EXPECT_NE(index.find("background=\"../GIF/SEARCH_FILE_NOMBER_1\""), std::string::npos);
  EXPECT_NE(index.find("href='../HTML/SEARCH_FILE_NOMBER_9#latest'"), std::string::npos);
  EXPECT_NE(index.find("href=\"http://example.com/\""), std::string::npos);
  // The Windows-1251 link of about.htm and the UTF-8 link of news.html.
  EXPECT_NE(data["HTM/SEARCH_FILE_NOMBER_8"].find("src=\"../GIF/SEARCH_FILE_NOMBER_6\""), std::string::npos);
  EXPECT_NE(data["HTML/SEARCH_FILE_NOMBER_9"].find("src=\"../GIF/SEARCH_FILE_NOMBER_5\""), std::string::npos);
  // The external link is the only one that names no packed file, and it is not counted.
  EXPECT_TRUE(build.UnlinkedLinks.empty());

  // The file list page, byte for byte.
  std::string page =
      "<html><head><title>Filelist generated on \"Pagefold [Vostrak]\"</title>\r\n"
      "<style type=\"text/css\"><!--.td{color:\"00088ff\";font-family : Arial;font-size : 12;font-weight\r\n"
      " : bold;};h3{color:\"00000f\";font-family : Arial;font-size : 16;font-weight : bold;};a{color :"
      "\"0088ff\";font-family :\r\n"
      " Arial;font-size : 12;font-weight : bold;}--></style></head><body><a class=\"td\"><h3>Filelist "
      "generated on \"Pagefold [Vostrak]\"\r\n" +
      W("</h3></a><hr color=\"black\" align=\"left\" width=\"50%\"><table class=\"td\"><tr><td>№</td>"
        "<td>Файл</td><td>Размер</td>\r\n");
  const std::vector<std::pair<int, std::string>> rows = {
      {1, "img\\bg.gif"},        {2, "img\\logo.gif"},    {3, "img\\stripe.gif"},
      {5, W("img\\карта.gif")},  {6, W("img\\фото.gif")}, {7, "index.htm"},
      {8, "pages\\about.htm"},   {9, "pages\\news.html"}, {10, "style.css"}};
  std::int64_t total = 0;
  for (size_t k = 0; k < rows.size(); ++k) {
    const auto& [number, name] = rows[k];
    const std::string ext = name.substr(name.rfind('.') + 1);
    const std::string& bytes = data[pagefold::text::UpperAscii(ext) + "/SEARCH_FILE_NOMBER_" + std::to_string(number)];
    total += static_cast<std::int64_t>(bytes.size());
    page += "<tr><td>" + std::to_string(k + 1) + "</td><td><a href=\"../" + ext + "/SEARCH_FILE_NOMBER_" +
            std::to_string(number) + "\">" + name + "</a></td><td><a>" +
            SizeText(static_cast<std::int64_t>(bytes.size())) + "</td>\r\n";
  }
  page += W("</table><hr color=\"black\" align=\"left\" width=\"50%\"><h3>Количество файлов:  9"
            "<br>Общий размер:  ") + SizeText(total) + "</h3></body></html>\r\n";
  EXPECT_EQ(data["HTML/FILELIST"], page);

  // The script beside the target, byte for byte: its lines go by the staged names.
  const std::string work = (target.path() / "ARH").string() + OsPath("/");
  std::map<std::string, std::string> lines;  // by staged name
  for (const auto& [number, name] : rows) {
    const std::string ext = name.substr(name.rfind('.') + 1);
    const std::string staged = "search_file_nomber_" + std::to_string(number) + "." + ext;
    lines[staged] = "SEARCH_FILE_NOMBER_" + std::to_string(number) + " " + pagefold::text::UpperAscii(ext) + " \"" + work +
                    staged + "\"\r\n";
  }
  std::string script = "FILELIST HTML \"" + work + "filelist.html\"\r\nINDEX HTML \"" + work + "index.html\"\r\n";
  for (const auto& [staged, line] : lines) script += line;
  EXPECT_EQ(ReadFile(target.path() / "site.rc"), script);

  EXPECT_EQ(Snapshot(kSite), before);
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
}

}  // namespace
