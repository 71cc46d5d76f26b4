#include "cli/pack_command.h"

#include <stdexcept>
#include <unordered_set>

#include "cli/check_command.h"
#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "cli/depfile.h"
#include "cli/link_report.h"
#include "cli/list_command.h"
#include "cli/serve_command.h"
#include "core/build_command.h"
#include "core/build_texts.h"
#include "core/compiler_runner.h"
#include "core/find_files.h"
#include "core/link_summary.h"
#include "core/paths.h"
#include "core/resource_type_rule.h"
#include "platform/console.h"
#include "platform/folder_ops.h"
#include "platform/interrupts.h"
#include "platform/platform_error.h"
#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

void PrintError(const std::string& text) { platform::WriteToStderr(text + "\n"); }

// The ticked items: every listed file, or the named ones in listing order.
std::vector<std::string> TickedFiles(const SourceFiles& listing, const std::vector<std::string>& named) {
  if (named.empty()) return listing.names;
  const std::unordered_set<std::string> listed(listing.names.begin(), listing.names.end());
  for (const std::string& name : named)
    if (!listed.count(name)) throw std::invalid_argument(text::Cp1251Text("Нет такого файла в папке: ") + name);
  const std::unordered_set<std::string> wanted(named.begin(), named.end());
  std::vector<std::string> ticked;
  for (const std::string& name : listing.names)
    if (wanted.count(name)) ticked.push_back(name);
  return ticked;
}

// The summary of the links without a resource, which a finished build's
// closing message holds already, and the report file when one is asked for;
// false when it cannot be written.
bool ReportLinks(CliHost& host, const BuildCommand& build, BuildOutcome outcome, const std::string& reportFile) {
  const std::string summary = LinkSummary(build.UnlinkedLinks);
  if (outcome != BuildOutcome::Built && !summary.empty()) host.PrintLine(summary);
  if (reportFile.empty()) return true;
  try {
    WriteLinkReport(reportFile, build.UnlinkedLinks, build.MissingFiles);
    return true;
  } catch (const std::runtime_error& e) {
    host.PrintLine(e.what());
    return false;
  }
}

// The depfile when one is asked for; false when it cannot be written.
bool WriteDependencies(CliHost& host, const CliOptions& options, const std::string& source,
                       const SourceFiles& listing, const std::vector<std::string>& ticked) {
  if (options.depFile.empty()) return true;
  std::vector<std::string> paths = listing.folders;
  for (const std::string& name : ticked) paths.push_back(JoinPath(source, name));
  try {
    WriteDepfile(options.depFile, options.target, paths);
    return true;
  } catch (const platform::PlatformError& e) {
    host.PrintLine(e.what());
    return false;
  }
}

int Pack(const CliOptions& options) {
  if (!options.groupType.empty() && !IsPlainResourceType(options.groupType))
    throw std::invalid_argument(texts::kBadGroupType);
  const auto source = platform::AbsolutePath(options.sourceFolder);
  const auto target = platform::AbsolutePath(options.target);
  if (!source || !target)
    throw std::invalid_argument(texts::kOutsideCodePage);
  if (!platform::FolderExists(*source))
    throw std::invalid_argument(text::Cp1251Text("Нет такой папки: ") + options.sourceFolder);
  const SourceFiles listing = ListSourceFiles(*source, options.followLinks);
  BuildCommand build;
  build.FollowLinks = options.followLinks;
  for (const auto& [file, what] : {std::pair{options.reportFile, texts::kReportOutput},
                                   std::pair{options.depFile, texts::kDepFileOutput}})
    if (!file.empty()) build.OtherOutputs.push_back({platform::AbsolutePath(file).value_or(file), what});
  const std::vector<std::string> ticked = TickedFiles(listing, options.files);
  CliHost host(*source, ticked, options.startPage, *target, options.keepAll, options.yes);

  // Every file of the folder is asked for unless files are named.
  if (options.files.empty()) build.LeftOut = listing.leftOut;
  build.GroupType = options.groupType;
  build.ResourceFolder = FolderPart(*target);
  build.CompilerPath = CompilerPathIn(GetTempDir());
  // From here on Ctrl+C ends the build with its clean-up instead of the program.
  platform::CatchInterrupts();
  BuildOutcome outcome;
  try {
    outcome = build.Run(host);
  } catch (const std::exception& e) {
    host.PrintLine(e.what());
    return 1;
  }
  if (outcome == BuildOutcome::NotStarted) {
    if (host.DeclinedQuestion().empty()) return 1;
    host.PrintLine(host.DeclinedQuestion() + text::Cp1251Text(" (ответ OK: --yes)"));
    return 2;
  }
  const bool reported = ReportLinks(host, build, outcome, options.reportFile);
  if (outcome != BuildOutcome::Built || !reported) return 1;
  if (!WriteDependencies(host, options, *source, listing, ticked)) return 1;
  return build.MissingFiles.empty() ? 0 : kBuiltWithFilesMissing;
}

}  // namespace

int RunPackCommand(const std::vector<std::string>& args) {
  try {
    const CliOptions options = ParseOptions(args);
    if (options.help) {
      platform::WriteToStdout(HelpText());
      return 0;
    }
    if (options.version) {
      platform::WriteToStdout(VersionText());
      return 0;
    }
    if (!options.listFile.empty()) return RunListCommand(options.listFile);
    if (!options.checkFile.empty()) return RunCheckCommand(options.checkFile);
    if (!options.serveFile.empty()) return RunServeCommand(options.serveFile, options.port);
    return Pack(options);
  } catch (const std::invalid_argument& e) {
    PrintError(e.what());
    return 2;
  }
}

}  // namespace pagefold::cli
