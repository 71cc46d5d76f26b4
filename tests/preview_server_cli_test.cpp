// pagefold-cli --serve against hostile clients: other host names, ranges
// that ask for a resource many times, HEAD requests of a large resource,
// clients that send their requests slowly, control bytes in a path, a port
// another server holds; and --check on a .res whose picture is larger than
// the memory it may take.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "rescomp/res_writer.h"
#include "serve_process.h"
#include "test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// AddressSanitizer keeps freed memory a while and needs far more address
// space than any limit here allows: under it the memory is not measured.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

// A .res of a page that links a picture and a missing resource, then the
// picture: `size` bytes, its first ones given and zeros that the file does
// not store.
fs::path ResWithPicture(const ScratchDir& dir, std::uint32_t size, const std::u16string& type = u"GIF",
                        const std::string& head = "GIF89a") {
  const std::string page = "<img src=\"../GIF/BIG\"><img src=\"../GIF/NONE\">";
  const std::string bytes = pagefold::rescomp::EmptyEntry() +
                            pagefold::rescomp::ResourceHeader(u"HTML", u"INDEX", 0x409, static_cast<std::uint32_t>(page.size())) +
                            page + pagefold::rescomp::PaddingAfter(page.size()) +
                            pagefold::rescomp::ResourceHeader(type, u"BIG", 0x409, size) + head;
  const fs::path res = dir.path() / "big.res";
  WriteFile(res, bytes);
  fs::resize_file(res, bytes.size() - head.size() + size);
  return res;
}

using Server = ServeProcess;

int Connect(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  close(fd);
  return -1;
}

bool SendAll(int fd, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

struct Reply {
  int status = 0;
  std::string headers, body;
  size_t bodySize = 0;  // all of it, also when only its start is kept
};

std::string Header(const Reply& reply, const std::string& name) {
  const size_t at = reply.headers.find("\r\n" + name + ": ");
  if (at == std::string::npos) return "";
  const size_t from = at + name.size() + 4;
  return reply.headers.substr(from, reply.headers.find("\r\n", from) - from);
}

// One request as written (the server closes the connection after it), its
// reply read to the end; of the body the first 1 MiB is kept.
Reply Request(int port, const std::string& request) {
  Reply reply;
  const int fd = Connect(port);
  if (fd < 0 || !SendAll(fd, request)) {
    if (fd >= 0) close(fd);
    return reply;
  }
  std::string raw;
  char buffer[1 << 16];
  size_t headEnd = std::string::npos;
  for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) {
    if (headEnd == std::string::npos || raw.size() < headEnd + 4 + (1 << 20)) raw.append(buffer, static_cast<size_t>(n));
    reply.bodySize += static_cast<size_t>(n);
    if (headEnd == std::string::npos && (headEnd = raw.find("\r\n\r\n")) != std::string::npos)
      reply.bodySize = raw.size() - headEnd - 4;
  }
  close(fd);
  if (headEnd == std::string::npos) return reply;
  reply.headers = raw.substr(0, headEnd);
  reply.body = raw.substr(headEnd + 4);
  if (raw.rfind("HTTP/1.1 ", 0) == 0) reply.status = std::atoi(raw.c_str() + 9);
  return reply;
}

std::string Get(const Server& server, const std::string& target, const std::string& headers = "",
                const std::string& method = "GET") {
  return method + " " + target + " HTTP/1.1\r\nHost: " + server.Host() + "\r\n" + headers + "Connection: close\r\n\r\n";
}

TEST(PreviewServer, AnswersOnlyItsOwnHostName) {
  ScratchDir dir;
  Server server(ResWithPicture(dir, 64), dir.path() / "log.txt");
  ASSERT_GT(server.port(), 0);
  const std::string port = std::to_string(server.port());
  for (const std::string& host : {"127.0.0.1:" + port, "localhost:" + port, "LocalHost:" + port})
    EXPECT_EQ(Request(server.port(), "GET /GIF/BIG HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n").status,
              200)
        << host;
  for (const std::string& host : {std::string("attacker.example:") + port, std::string("127.0.0.1"),
                                 std::string("localhost"), "127.0.0.1:" + std::to_string(server.port() + 1),
                                 "127.0.0.1:" + port + ".attacker.example", "[::1]:" + port}) {
    const Reply reply = Request(server.port(), "GET /GIF/BIG HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(reply.status, 403) << host;
    EXPECT_EQ(reply.body, "") << host;
  }
  EXPECT_EQ(Request(server.port(), "GET /GIF/BIG HTTP/1.0\r\n\r\n").status, 403);  // no name at all
}

TEST(PreviewServer, RangesAskForOneCopyAtMostAndCostNoMemory) {
  ScratchDir dir;
  Server server(ResWithPicture(dir, 256 << 10), dir.path() / "log.txt");
  ASSERT_GT(server.port(), 0);
  Reply reply = Request(server.port(), Get(server, "/GIF/BIG", "Range: bytes=0-9\r\n"));
  EXPECT_EQ(reply.status, 206);
  EXPECT_EQ(Header(reply, "Content-Range"), "bytes 0-9/262144");
  EXPECT_EQ(reply.body, std::string("GIF89a\0\0\0\0", 10));
  reply = Request(server.port(), Get(server, "/GIF/BIG", "Range: bytes=0-99,200-299\r\n"));
  EXPECT_EQ(reply.status, 206);
  EXPECT_EQ(Header(reply, "Content-Type").rfind("multipart/byteranges; boundary=", 0), 0u);

  std::string many = "0-";
  for (int i = 1; i < 2500; ++i) many += ",0-";
  std::string seventeen = "0-0";
  for (int i = 1; i < 17; ++i) seventeen += "," + std::to_string(i) + "-" + std::to_string(i);
  for (const std::string& ranges : {many, seventeen, std::string("0-,0-"), std::string("0-131072,131072-"),
                                    std::string("262144-"), std::string("300000-300001")}) {
    reply = Request(server.port(), Get(server, "/GIF/BIG", "Range: bytes=" + ranges + "\r\n"));
    EXPECT_EQ(reply.status, 416) << ranges.substr(0, 40);
    EXPECT_EQ(Header(reply, "Content-Range"), "bytes */262144");
    EXPECT_EQ(reply.bodySize, 0u);
  }
  if (!kSanitized) {
    EXPECT_LT(server.PeakKiB(), 64 << 10);
  }
}

TEST(PreviewServer, AResourceIsSentFromTheFileAndHeadReadsNoBody) {
  ScratchDir dir;
  constexpr std::uint32_t kSize = 256u << 20;
  Server server(ResWithPicture(dir, kSize), dir.path() / "log.txt");
  ASSERT_GT(server.port(), 0);
  EXPECT_EQ(Request(server.port(), Get(server, "/HTML/INDEX")).status, 200);
  const long before = server.PeakKiB();
  std::vector<Reply> heads(8);
  std::vector<std::thread> clients;
  for (Reply& head : heads)
    clients.emplace_back([&] { head = Request(server.port(), Get(server, "/GIF/BIG", "", "HEAD")); });
  for (std::thread& client : clients) client.join();
  for (const Reply& head : heads) {
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(Header(head, "Content-Length"), std::to_string(kSize));
    EXPECT_EQ(Header(head, "Content-Type"), "image/gif");
    EXPECT_EQ(head.bodySize, 0u);
  }
  const Reply whole = Request(server.port(), Get(server, "/GIF/BIG"));
  EXPECT_EQ(whole.status, 200);
  EXPECT_EQ(whole.bodySize, kSize);
  EXPECT_EQ(whole.body.substr(0, 8), std::string("GIF89a\0\0", 8));
  if (!kSanitized) {
    EXPECT_LT(server.PeakKiB() - before, 16 << 10) << before;
  }
}

TEST(PreviewServer, SlowClientsAreCutOffAndOthersAnsweredMeanwhile) {
  ScratchDir dir;
  Server server(ResWithPicture(dir, 64), dir.path() / "log.txt");
  ASSERT_GT(server.port(), 0);
  // Each sends the start of a request and then one byte every half second.
  constexpr int kSlow = 16;
  std::atomic<int> cutOff = 0;
  std::vector<std::thread> slow;
  const auto start = Clock::now();
  for (int i = 0; i < kSlow; ++i) {
    slow.emplace_back([&] {
      const int fd = Connect(server.port());
      if (fd < 0 || !SendAll(fd, "GET /HTML/INDEX HTTP/1.1\r\nX-Slow: ")) return;
      while (Clock::now() - start < std::chrono::seconds(30)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        // Cut off: the server has answered (400), closed the connection, or reset it.
        char byte;
        if (!SendAll(fd, "a") || recv(fd, &byte, 1, MSG_DONTWAIT) >= 0) {
          ++cutOff;
          break;
        }
      }
      close(fd);
    });
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const auto asked = Clock::now();
  EXPECT_EQ(Request(server.port(), Get(server, "/HTML/INDEX")).status, 200);
  EXPECT_LT(Clock::now() - asked, std::chrono::seconds(3));
  for (std::thread& client : slow) client.join();
  EXPECT_EQ(cutOff, kSlow);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
}

TEST(PreviewServer, ControlBytesOfAPathAreLoggedEscapedAndATakenPortIsRefused) {
  ScratchDir dir;
  const fs::path res = ResWithPicture(dir, 64);
  Server server(res, dir.path() / "log.txt");
  ASSERT_GT(server.port(), 0);
  EXPECT_EQ(Request(server.port(), Get(server, "/a\x1b[31mb")).status, 404);
  EXPECT_EQ(Request(server.port(), Get(server, "/x\x01y\x7f")).status, 404);

  const fs::path out = dir.path() / "second.out", err = dir.path() / "second.err";
  const std::string port = std::to_string(server.port());
  const int status = std::system(("\"" PAGEFOLD_CLI_PATH "\" --serve \"" + res.string() + "\" --port " + port +
                                  " > \"" + out.string() + "\" 2> \"" + err.string() + "\"")
                                     .c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  EXPECT_EQ(ReadFile(out), "");
  EXPECT_EQ(ReadFile(err), "Не удалось открыть порт " + port + " на 127.0.0.1: Address already in use\n");
  EXPECT_EQ(Request(server.port(), Get(server, "/GIF/BIG")).status, 200);  // the first one still answers

  server.Stop();
  const std::string log = ReadFile(dir.path() / "log.txt");
  EXPECT_NE(log.find("GET /a\\x1B[31mb 404\n"), std::string::npos) << log;
  EXPECT_NE(log.find("GET /x\\x01y\\x7F 404\n"), std::string::npos) << log;
}

// --check reads the pages and the first bytes of the rest: a picture of
// 3 GiB is checked within 1 GiB of address space, and a page of 3 GiB ends
// the check with a message, not a signal.
TEST(CheckCommand, AHugeResourceUnderAMemoryLimit) {
  if (kSanitized) GTEST_SKIP() << "a sanitized program cannot run within 1 GiB of address space";
  ScratchDir dir;
  const fs::path out = dir.path() / "out.txt", err = dir.path() / "err.txt";
  const auto check = [&](const fs::path& res) {
    const int status = std::system(("prlimit --as=1073741824 \"" PAGEFOLD_CLI_PATH "\" --check \"" + res.string() +
                                    "\" > \"" + out.string() + "\" 2> \"" + err.string() + "\"")
                                       .c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  fs::path res = ResWithPicture(dir, 3u << 30);
  EXPECT_EQ(check(res), 1);
  EXPECT_EQ(ReadFile(out), "HTML/INDEX -> ../GIF/NONE\nСсылок без ресурса: 1\n");
  EXPECT_EQ(ReadFile(err), "");

  res = ResWithPicture(dir, 3u << 30, u"HTML", "<html>");
  EXPECT_EQ(check(res), 1);
  EXPECT_EQ(ReadFile(out), "");
  EXPECT_EQ(ReadFile(err), res.string() + ": not enough memory to read its pages\n");
}

}  // namespace
