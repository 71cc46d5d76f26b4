// The command line of pagefold-cli.
#pragma once

#include <string>
#include <vector>

namespace pagefold::cli {

struct CliOptions {
  bool help = false;
  bool version = false;    // --version
  std::string startPage;   // --start
  std::string groupType;   // --group
  bool keepAll = false;    // --keep-all
  bool yes = false;        // --yes: answer the start-page question with OK
  bool followLinks = false;  // --follow-links: pack what links out of the folder lead to
  std::string reportFile;  // --report: where the links without a resource go
  std::string depFile;     // --depfile: where the files read and folders listed go, for make and Ninja
  std::string listFile;    // --list: the .res file to list instead of packing
  std::string checkFile;   // --check: the .res file whose links are checked
  std::string serveFile;   // --serve: the .res file served over HTTP
  int port = 8080;         // --port, with --serve; 0 picks a free one
  std::string sourceFolder;
  std::string target;
  std::vector<std::string> files;  // relative names, "\" between folders
};

// Parses the arguments after the program name (Windows-1251 texts). Raises
// std::invalid_argument with a Russian text for bad usage.
CliOptions ParseOptions(const std::vector<std::string>& args);

// The Russian help text.
std::string HelpText();

// "pagefold-cli VERSION" and a line end.
std::string VersionText();

}  // namespace pagefold::cli
