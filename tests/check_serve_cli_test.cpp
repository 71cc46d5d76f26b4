// pagefold-cli --check and --serve on .res files from our build and from
// llvm-rc, run as the user runs them.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "resformat/res_reader.h"
#include "serve_process.h"
#include "test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;

const char kLlvmRc[] = "/usr/bin/llvm-rc-14";

struct Result {
  int exitCode;
  std::string out, err;
};

Result Cli(const ScratchDir& dir, const std::string& args) {
  const fs::path out = dir.path() / "stdout.txt", err = dir.path() / "stderr.txt";
  const int status = std::system(("\"" PAGEFOLD_CLI_PATH "\" " + args + " > \"" + out.string() + "\" 2> \"" +
                                  err.string() + "\"")
                                     .c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// The sample site packed with index.htm as its start page.
fs::path PackSample(const ScratchDir& dir, const std::string& options = "--start index.htm") {
  const fs::path res = dir.path() / "site.res";
  const Result r = Cli(dir, options + " " + Quoted(PAGEFOLD_SAMPLE_SITE) + " " + Quoted(res));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return res;
}

// The .res file without the resources of the given TYPE/NAME.
void RemoveResources(const fs::path& res, const std::vector<std::string>& removed) {
  const std::string bytes = ReadFile(res);
  pagefold::MemoryResSource source(bytes);
  const pagefold::ResListing listing = pagefold::ListResources(source);
  ASSERT_EQ(listing.error, "");
  std::string kept = bytes.substr(0, 32);
  for (const pagefold::ResEntry& entry : listing.entries) {
    const std::string id = *entry.type.Cp1251() + "/" + *entry.name.Cp1251();
    const size_t end = std::min<size_t>((entry.dataOffset + entry.dataSize + 3) & ~size_t{3}, bytes.size());
    if (std::find(removed.begin(), removed.end(), id) == removed.end())
      kept += bytes.substr(entry.headerOffset, end - entry.headerOffset);
  }
  WriteFile(res, kept);
}

TEST(CheckCommand, TheSampleSiteIsCleanAndRemovedResourcesAreListed) {
  ScratchDir dir;
  const fs::path res = PackSample(dir);
  Result r = Cli(dir, "--check " + Quoted(res));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Ссылок без ресурса: 0\n");
  EXPECT_EQ(r.err, "");

  // The logo and the style sheet's stripe, taken out after the build.
  RemoveResources(res, {"GIF/SEARCH_FILE_NOMBER_2", "GIF/SEARCH_FILE_NOMBER_3"});
  r = Cli(dir, "--check " + Quoted(res));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.out,
            "HTML/FILELIST -> ../gif/SEARCH_FILE_NOMBER_2\n"
            "HTML/FILELIST -> ../gif/SEARCH_FILE_NOMBER_3\n"
            "HTML/INDEX -> ../GIF/SEARCH_FILE_NOMBER_2\n"
            "style.css -> ../GIF/SEARCH_FILE_NOMBER_3\n"  // resources in file order
            "index.htm -> ../GIF/SEARCH_FILE_NOMBER_2\n"
            "Ссылок без ресурса: 5\n");
}

TEST(CheckCommand, FilesItCannotReadAndBadArguments) {
  ScratchDir dir;
  const fs::path res = PackSample(dir);
  const std::string bytes = ReadFile(res);
  WriteFile(dir.path() / "short.res", bytes.substr(0, bytes.size() - 10));
  WriteFile(dir.path() / "text.res", "<html></html>\n");
  Result r = Cli(dir, "--check " + Quoted(dir.path() / "short.res"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, (dir.path() / "short.res").string() + ": data runs past the end of the file at offset 3980\n");
  r = Cli(dir, "--check " + Quoted(dir.path() / "text.res"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, (dir.path() / "text.res").string() +
                       ": not a 32-bit resource file: it does not start with the empty entry\n");
  r = Cli(dir, "--check " + Quoted(dir.path() / "none.res"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Cannot open file \"" + (dir.path() / "none.res").string() + "\". No such file or directory\n");

  r = Cli(dir, "--check");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Нет значения для --check\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--check a.res --list b.res");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключи --list, --check и --serve не сочетаются\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--check a.res --port 80");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключ --port нужен только с --serve\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--check a.res --yes");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключ --check не сочетается с упаковкой\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--serve a.res --port 65536");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Неверный номер порта: 65536\nСправка: pagefold-cli --help\n");
}

TEST(CheckCommand, ResFilesFromLlvmRc) {
  if (!fs::exists(kLlvmRc)) GTEST_SKIP() << kLlvmRc << " is not installed";
  ScratchDir dir;
  const fs::path& d = dir.path();
  WriteFile(d / "index.htm",
            "<link rel=stylesheet href=\"../css/Style\"><img src=\"../GIF/LOGO\"><img src='../gif/missing'>"
            "<a href=\"#top\">top</a><a href=\"http://example.com/x\">out</a><a href=\"/abs/x\">abs</a>"
            "<a href=\"../ABOUT\">no type: the type 23</a><a href=\"sub/deep/page\">too deep</a>"
            "<a href=\"../HTM/INDEX?x=1#y\">itself</a><a href=\"../../../HTM/IN%44EX\">climbs out</a>"
            "<a href=\"\">empty</a><a href=\"..\\GIF\\LOGO\">backslashes</a>"
            "<img src=\"../GIF/LO&#71;O\"><img src=\"../gif/a&amp;b\">");
  WriteFile(d / "style.css", "body { background: url(../GIF/LOGO) } h1 { background: url('none.png') }");
  WriteFile(d / "logo.gif", "GIF89a");
  // llvm-rc files the type HTML under the ordinal 23 (RT_HTML); HTM stays a string.
  WriteFile(d / "site.rc", "INDEX HTM \"" + (d / "index.htm").string() + "\"\nSTYLE CSS \"" +
                               (d / "style.css").string() + "\"\nLOGO GIF \"" + (d / "logo.gif").string() + "\"\n");
  const auto compile = [&] {
    return std::system((std::string(kLlvmRc) + " -no-preprocess -fo " + Quoted(d / "site.res") + " " +
                        Quoted(d / "site.rc") + " > /dev/null")
                           .c_str());
  };
  ASSERT_EQ(compile(), 0);
  Result r = Cli(dir, "--check " + Quoted(d / "site.res"));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.out,
            "HTM/INDEX -> ../../../HTM/IN%44EX\n"
            "HTM/INDEX -> ../ABOUT\n"
            "HTM/INDEX -> ../gif/a&b\n"
            "HTM/INDEX -> ../gif/missing\n"
            "HTM/INDEX -> sub/deep/page\n"
            "CSS/STYLE -> none.png\n"
            "Ссылок без ресурса: 6\n");

  // ../ABOUT names ABOUT under the ordinal type 23.
  WriteFile(d / "site.rc", ReadFile(d / "site.rc") + "ABOUT HTML \"" + (d / "index.htm").string() + "\"\n");
  ASSERT_EQ(compile(), 0);
  r = Cli(dir, "--check " + Quoted(d / "site.res"));
  EXPECT_EQ(r.out,
            "HTM/INDEX -> ../../../HTM/IN%44EX\n"
            "HTM/INDEX -> ../gif/a&b\n"
            "HTM/INDEX -> ../gif/missing\n"
            "HTM/INDEX -> sub/deep/page\n"
            "CSS/STYLE -> none.png\n"
            "#23/ABOUT -> ../../../HTM/IN%44EX\n"
            "#23/ABOUT -> ../gif/a&b\n"
            "#23/ABOUT -> ../gif/missing\n"
            "#23/ABOUT -> sub/deep/page\n"
            "Ссылок без ресурса: 9\n");
}

// The programs started meanwhile run in the Russian UTF-8 locale.
struct RussianUtf8Locale {
  RussianUtf8Locale() { ::setenv("LC_ALL", "ru_RU.UTF-8", 1); }
  ~RussianUtf8Locale() { ::unsetenv("LC_ALL"); }
};

// The links of a UTF-8 page and of a Windows-1251 page that name no file, each
// shown as its page writes it, with character references decoded, alike by
// the build and by --check.
TEST(LinkReport, EachLinkIsShownInTheEncodingOfItsPage) {
  const RussianUtf8Locale locale;
  ScratchDir dir;
  const fs::path site = dir.path() / "site";
  // This file is UTF-8: the page's bytes are as written; one link holds a
  // malformed sequence, one a character reference.
  WriteFile(site / "utf8.htm",
            "<meta charset=\"utf-8\"><a href=\"картинка.gif\">к</a><img src=\"стрелка→.gif\">"
            "<img src=\"\xD0x.gif\"><img src=\"tab\x01.gif\"><img src=\"&#1089;.gif\">");
  WriteFile(site / "win.htm", W("<a href=\"картинка.gif\">к</a><a href=\"utf8.htm\">u</a>"));
  const fs::path res = dir.path() / "site.res", report = dir.path() / "report.txt";
  Result r = Cli(dir, "--start win.htm --report " + Quoted(report) + " " + Quoted(site) + " " + Quoted(res));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // In the order of the links' bytes as read.
  const std::string shown =
      "utf8.htm -> tab\\x01.gif\n"
      "utf8.htm -> \\xD0x.gif\n"
      "utf8.htm -> картинка.gif\n"
      "utf8.htm -> стрелка\\u2192.gif\n"
      "utf8.htm -> с.gif\n";
  ASSERT_NE(r.err.find("Ссылок"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.substr(r.err.find("Ссылок")), "Ссылок без ресурса: 6\n" + shown + "win.htm -> картинка.gif\n");
  EXPECT_EQ(ReadFile(report), W("utf8.htm\ttab\\x01.gif\r\n"
                                "utf8.htm\t\\xD0x.gif\r\n"
                                "utf8.htm\tкартинка.gif\r\n"
                                "utf8.htm\tстрелка\\u2192.gif\r\n"
                                "utf8.htm\tс.gif\r\n"
                                "win.htm\tкартинка.gif\r\n"));

  r = Cli(dir, "--check " + Quoted(res));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  // index.html is the copy of the start page.
  EXPECT_EQ(r.out, "HTML/INDEX -> картинка.gif\n" + shown + "win.htm -> картинка.gif\nСсылок без ресурса: 7\n");

  // A page of Javadoc prose and a link in a style attribute: both reports
  // name the link only, with its reference decoded.
  fs::remove_all(site);
  WriteFile(site / "api.htm",
            "<pre>public URL(java.net.URL context, String text)</pre><p>Creates a URL(String).</p>"
            "<a href=\"x&quot;&gt;.htm\">x</a><div style=\"background:url(none.png)\">");
  r = Cli(dir, "--start api.htm --report " + Quoted(report) + " " + Quoted(site) + " " + Quoted(res));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  ASSERT_NE(r.err.find("Ссылок"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.substr(r.err.find("Ссылок")), "Ссылок без ресурса: 2\napi.htm -> none.png\napi.htm -> x\">.htm\n");
  EXPECT_EQ(ReadFile(report), "api.htm\tnone.png\r\napi.htm\tx\">.htm\r\n");
  r = Cli(dir, "--check " + Quoted(res));
  EXPECT_EQ(r.out, "HTML/INDEX -> none.png\nHTML/INDEX -> x\">.htm\napi.htm -> none.png\napi.htm -> x\">.htm\n"
                   "Ссылок без ресурса: 4\n");
}

using Server = ServeProcess;

struct Reply {
  int status = 0;
  std::string headers, body;
};

std::string Header(const Reply& reply, const std::string& name) {
  const size_t at = reply.headers.find("\r\n" + name + ": ");
  if (at == std::string::npos) return "";
  const size_t from = at + name.size() + 4;
  return reply.headers.substr(from, reply.headers.find("\r\n", from) - from);
}

// One request sent as written, the connection closed after the reply.
Reply Get(int port, const std::string& target) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  Reply reply;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return reply;
  }
  const std::string request =
      "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\nConnection: close\r\n\r\n";
  for (size_t sent = 0; sent < request.size();) {
    const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  // Read up to the end of the body that Content-Length gives: a server may
  // keep the connection of a request it did not read to its end.
  std::string raw;
  char buffer[4096];
  for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) {
    raw.append(buffer, static_cast<size_t>(n));
    const size_t end = raw.find("\r\n\r\n");
    if (end == std::string::npos) continue;
    reply.headers = raw.substr(0, end);
    reply.body = raw.substr(end + 4);
    if (reply.body.size() >= static_cast<size_t>(std::atoll(Header(reply, "Content-Length").c_str()))) break;
  }
  close(fd);
  if (raw.rfind("HTTP/1.1 ", 0) == 0) reply.status = std::atoi(raw.c_str() + 9);
  return reply;
}

// The local addresses of the listening TCP sockets on the port, as
// /proc/net/tcp and tcp6 show them (hex, 0100007F is 127.0.0.1).
std::string PortHex(int port) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", port);
  return hex;
}

std::vector<std::string> ListeningAddresses(int port) {
  const std::string portHex = PortHex(port);
  std::vector<std::string> addresses;
  for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state;
      fields >> slot >> local >> remote >> state;
      if (state == "0A" && local.substr(local.find(':') + 1) == portHex) addresses.push_back(local);
    }
  }
  return addresses;
}

TEST(ServeCommand, AnswersResourcesOnLoopbackOnly) {
  ScratchDir dir;
  const fs::path res = PackSample(dir);
  Server server(res, dir.path() / "log.txt");
  ASSERT_GT(server.port(), 0) << server.firstLine();
  EXPECT_EQ(server.firstLine(), "Откройте в браузере: http://127.0.0.1:" + std::to_string(server.port()) +
                                    "/ (остановка: Ctrl+C)");
  EXPECT_EQ(ListeningAddresses(server.port()), std::vector<std::string>{"0100007F:" + PortHex(server.port())});

  Reply r = Get(server.port(), "/");
  EXPECT_EQ(r.status, 302);
  EXPECT_EQ(Header(r, "Location"), "/HTML/INDEX");
  r = Get(server.port(), "/HTML/INDEX");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(Header(r, "Content-Type"), "text/html");
  EXPECT_NE(r.body.find("<img src=\"../GIF/SEARCH_FILE_NOMBER_2\" alt=\"logo\">"), std::string::npos) << r.body;
  r = Get(server.port(), "/gif/search_file_nomber_2?v=1");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(Header(r, "Content-Type"), "image/gif");
  EXPECT_EQ(r.body, ReadFile(fs::path(PAGEFOLD_SAMPLE_SITE) / "img" / "logo.gif"));
  r = Get(server.port(), "/CSS/SEARCH_FILE_NOMBER_10");
  EXPECT_EQ(Header(r, "Content-Type"), "text/css");
  EXPECT_NE(r.body.find("url(../GIF/SEARCH_FILE_NOMBER_3)"), std::string::npos) << r.body;

  for (const std::string& target : std::vector<std::string>{"/../x", "/%2e%2e/x", "/HTML/%49NDEX", "/HTML/..", "/GIF/NOPE", "/NOPE/SEARCH_FILE_NOMBER_1", "/HTML",
        "/HTML/INDEX/x", "/" + std::string(100000, 'a'), "/HTML/" + std::string(2000, 'A')}) {
    EXPECT_EQ(Get(server.port(), target).status, 404) << target.substr(0, 40);
  }
  EXPECT_EQ(server.Stop(), 0);
  const std::string log = ReadFile(dir.path() / "log.txt");
  // Requests are answered on a pool of threads, so their log lines may come in any order.
  for (const std::string line : {"GET / 302", "GET /HTML/INDEX 200", "GET /gif/search_file_nomber_2?v=1 200",
                                 "GET /CSS/SEARCH_FILE_NOMBER_10 200", "GET /../x 404", "GET /%2e%2e/x 404"}) {
    EXPECT_NE(("\n" + log).find("\n" + line + "\n"), std::string::npos) << line << "\n" << log;
  }
}

TEST(ServeCommand, TheStartPageWithoutIndexAndWithOneGroupType) {
  ScratchDir grouped, listOnly;
  {
    Server server(PackSample(grouped, "--start index.htm --group Pics"), grouped.path() / "log.txt");
    EXPECT_EQ(Header(Get(server.port(), "/"), "Location"), "/PICS/INDEX");
    const Reply page = Get(server.port(), "/pics/index");
    EXPECT_EQ(Header(page, "Content-Type"), "text/html");  // by its bytes
    EXPECT_EQ(Header(Get(server.port(), "/PICS/SEARCH_FILE_NOMBER_10"), "Content-Type"),
              "application/octet-stream");  // a style sheet is known by its type only
  }
  Server server(PackSample(listOnly, "--yes"), listOnly.path() / "log.txt");
  EXPECT_EQ(Header(Get(server.port(), "/"), "Location"), "/HTML/FILELIST");
}

TEST(ServeCommand, FilesItCannotServe) {
  ScratchDir dir;
  WriteFile(dir.path() / "text.res", "plain text");
  const Result r = Cli(dir, "--serve " + Quoted(dir.path() / "text.res") + " --port 0");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, (dir.path() / "text.res").string() +
                       ": not a 32-bit resource file: it does not start with the empty entry\n");
}

}  // namespace
