#include "core/build_command.h"

#include <optional>

#include "core/build_cancelled.h"
#include "core/build_texts.h"
#include "core/closing_message.h"
#include "core/compiler_runner.h"
#include "core/file_list_page.h"
#include "core/file_registry.h"
#include "core/find_files.h"
#include "core/link_resolution.h"
#include "core/link_rewriting.h"
#include "core/name_conversion.h"
#include "core/output_clash.h"
#include "core/page_pool.h"
#include "core/paths.h"
#include "core/rc_script_writer.h"
#include "core/registry_index.h"
#include "core/resource_type_rule.h"
#include "core/shown_links.h"
#include "core/staging.h"
#include "core/style_sheet_links.h"
#include "platform/file_ops.h"
#include "platform/folder_handle.h"
#include "platform/folder_ops.h"
#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "platform/short_path.h"
#include "resformat/compile_handover.h"
#include "text/case_rules.h"
#include "text/cp1251.h"
#include "text/page_encoding.h"

namespace pagefold {
namespace {

// What the compiler printed, in the program's code page, without the final
// line break. A compiler on POSIX prints UTF-8; text that is not UTF-8 is
// taken as Windows-1251 already.
std::string CompilerOutput(const std::string& printed) {
  std::string out = text::Utf8ToCp1251(printed).value_or(printed);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// The largest page or style sheet, in bytes as staged, that the window's
// thread rewrites itself while it waits: a few milliseconds' work at most,
// whatever its links.
constexpr std::int64_t kLightFile = 16 * 1024;

// One run of the build after its inputs have been accepted. Keeps what this
// run made, so that a failure anywhere removes exactly that and nothing else.
class BuildRun {
 public:
  BuildRun(BuildCommand& build, BuildHost& host)
      : build_(build),
        host_(host),
        resourceFile_(host.ResourceFile()),
        workFolder_(JoinPath(build.ResourceFolder, "ARH")),
        scriptPath_(ChangeExtension(resourceFile_, ".rc")) {}

  BuildOutcome Run() {
    own_.workFolderItem = ItemBelow(host_.SourceFolder(), workFolder_);
    const int code = work_.Create(workFolder_);
    if (code == platform::FolderHandle::kNotTheFolderMade)
      throw platform::PlatformError(texts::WorkFolderSwapped(workFolder_));
    if (code != 0) throw platform::PlatformError(platform::InOutErrorText(code));
    try {
      const BuildOutcome outcome = Stages();
      End();
      return outcome;
    } catch (...) {
      CleanUpAfterFailure();
      End();
      throw;
    }
  }

 private:
  BuildOutcome Stages() {
    work_.Clear();
    build_.MissingFiles = build_.LeftOut;
    staged_ = StageFiles(host_, work_, own_, StagedNames::WithExtension, build_.FollowLinks, build_.MissingFiles);
    CheckWorkFolder();
    Pump();
    {
      host_.SetStatusText(1, texts::kRewriting);
      // The registry as staging wrote it, from the names it wrote rather than
      // read back from the file.
      std::vector<std::string> names;
      names.reserve(staged_.size());
      for (size_t n = 1; n < staged_.size(); ++n) names.push_back(std::move(staged_[n].name));
      const RegistryIndex registry(std::move(names));
      count_ = registry.Count();
      Pump();
      host_.SetStatusText(0, texts::Counter(0, 0));
      host_.SetProgressPosition(0);
      host_.SetProgressMax(count_);
      host_.SetWindowEnabled(false);
      build_.UsedFlags.assign(count_ + 1, 0);
      unlinked_.assign(count_ + 1, {});
      sheetLinks_.assign(count_ + 1, {});
      present_.assign(count_ + 1, false);
      RewriteLinks(registry);
      CheckWorkFolder();
      CountKeptStyleSheets();
      DropUnusedFiles(registry);
      ApplySettings(registry);
    }
    // The listing and the compiler go by path: the folder must still be this
    // run's own when they start.
    CheckWorkFolder();
    StringList entries;
    FindFiles(workFolder_, "", entries, true);
    CheckWorkFolder();
    // The compiler packs only this script and only files of the held folder.
    const std::string script = WriteRcScript(build_.GroupType, scriptPath_, entries);
    handover_.environment = {resformat::ScriptDigestEntry(script)};
    handover_.folder = &work_;
    return Compile();
  }

  // The work folder as an item of the source folder's check list, followed
  // by ""; empty when it does not lie inside the source folder.
  static std::string ItemBelow(const std::string& source, const std::string& workFolder) {
    const std::string prefix = JoinPath(source, "");
    if (source.empty() || workFolder.rfind(prefix, 0) != 0) return "";
    std::string item = workFolder.substr(prefix.size());
    for (char& c : item)
      if (c == platform::NativeSeparator()) c = '\\';
    return item + "\\";
  }

  // Stops the build when the work folder's path names another folder, or a
  // link, than the one this run created and holds open.
  void CheckWorkFolder() const {
    if (!work_.StillAtPath()) throw platform::PlatformError(texts::WorkFolderSwapped(workFolder_));
  }

  // One event for the window; closing the program ends the build here.
  void Pump() {
    host_.PumpOneEvent();
    StopWhenClosing(host_);
  }

  // The registry as links see it. A file without an extension has no
  // resource type unless the files are grouped: no link may name it then, so
  // its links stay as written rather than name an empty type.
  std::optional<RegistryIndex> LinkableEntries(const RegistryIndex& registry) const {
    if (!build_.GroupType.empty()) return std::nullopt;
    const auto typed = [&](int n) { return !ExtWithDot(registry.Name(n)).empty(); };
    int n = 1;
    while (n <= count_ && typed(n)) ++n;
    if (n > count_) return std::nullopt;
    std::vector<std::string> names;
    for (n = 1; n <= count_; ++n) names.push_back(typed(n) ? registry.Name(n) : "");
    return RegistryIndex(std::move(names));
  }

  // A page or a style sheet whose links are rewritten.
  struct LinkedFile {
    int n;
    std::string file;
    LinkSource source;
    std::string folder;
    bool light;  // small enough to be rewritten between two of the window's events
  };

  // Gives every staged copy staged bare its extension, then rewrites the links
  // of the pages and the style sheets on every core, taking their marks in
  // order of number between the window's events.
  void RewriteLinks(const RegistryIndex& all) {
    const std::optional<RegistryIndex> linkable = LinkableEntries(all);
    const RegistryIndex& registry = linkable ? *linkable : all;
    std::vector<LinkedFile> files;
    std::vector<int> fileOf(count_ + 1, -1);
    for (int n = 1; n <= count_; ++n) {
      const std::string& name = all.Name(n);
      const std::string ext = ExtWithDot(name);
      const std::string bare = StagedName(n), full = bare + ext;
      // A name without an extension has no resource type unless the files
      // are grouped under one: then it is packed as it was staged.
      if (ext.empty() && build_.GroupType.empty()) {
        work_.Remove(bare);
        build_.MissingFiles.push_back({name, MissingReason::NoExtension, ""});
      } else if (ext.empty()) {
        present_[n] = true;
      } else if (!staged_[n].withExtension && !work_.Rename(bare, full)) {
        throw platform::PlatformError(texts::CannotGiveExtension(name));
      } else {
        present_[n] = true;
      }
      if (!present_[n] || !(IsPageName(name) || IsStyleSheetName(name))) continue;
      fileOf[n] = static_cast<int>(files.size());
      files.push_back({n, full, IsPageName(name) ? LinkSource::Page : LinkSource::StyleSheet, up(name),
                       staged_[n].size <= kLightFile});
    }
    std::vector<std::vector<int>> marked(files.size());
    PagePool pool(
        files.size(),
        [&](size_t i, const Checkpoint& checkpoint) { marked[i] = RewriteStaged(files[i], registry, checkpoint); },
        [&](size_t i) { return files[i].light; });
    for (int n = 1; n <= count_; ++n) {
      // The start page is read between the window's events: a pick in the
      // chooser meanwhile counts.
      if (all.Name(n) == host_.StartFile()) startStagedName_ = StagedName(n) + ExtWithDot(all.Name(n));
      if (fileOf[n] >= 0) {
        const size_t i = static_cast<size_t>(fileOf[n]);
        pool.Wait(i, [this] { Pump(); });
        if (files[i].source == LinkSource::StyleSheet) {
          sheetLinks_[n] = std::move(marked[i]);
        } else {
          for (const int number : marked[i]) build_.UsedFlags[static_cast<size_t>(number)] = 1;
        }
      }
      Pump();
      host_.SetStatusText(0, texts::Counter(n, count_));
      host_.SetProgressPosition(n);
    }
  }

  // Rewrites the links of a staged page or style sheet and writes it back
  // when a replacement was made. Keeps its links that name no packed file, as
  // they are shown; returns the entries it links. Runs beside the others on
  // its own entries of the run.
  std::vector<int> RewriteStaged(const LinkedFile& linked, const RegistryIndex& registry,
                                 const Checkpoint& checkpoint) {
    std::string text = work_.Read(linked.file, static_cast<size_t>(staged_[linked.n].size));
    // Before the rewriting, which may take the only bytes beyond ASCII.
    const bool utf8 = text::IsUtf8Page(text);
    const std::vector<std::string> links =
        linked.source == LinkSource::Page ? PageLinks(text) : StyleSheetLinks(text);
    LinkRewrite rewrite = pagefold::RewriteLinks(text, links, linked.folder, registry, build_.GroupType, checkpoint);
    if (rewrite.count > 0) work_.Write(linked.file, text);
    staged_[linked.n].size = static_cast<std::int64_t>(text.size());
    unlinked_[linked.n] = ShownLinks(rewrite.unlinked, linked.source, utf8);
    return std::move(rewrite.marked);
  }

  // The links of a style sheet keep their files only when the sheet is kept
  // itself: linked from a page, or from a sheet kept so (through @import, at
  // any depth). A sheet that nothing keeps is dropped with its links.
  void CountKeptStyleSheets() {
    std::vector<int> kept;
    for (int n = 1; n <= count_; ++n)
      if (build_.UsedFlags[n] && !sheetLinks_[n].empty()) kept.push_back(n);
    while (!kept.empty()) {
      const int sheet = kept.back();
      kept.pop_back();
      for (const int n : sheetLinks_[sheet]) {
        if (build_.UsedFlags[n]) continue;
        build_.UsedFlags[n] = 1;
        if (!sheetLinks_[n].empty()) kept.push_back(n);
      }
    }
  }

  // Drops the files that no page links to and writes the file list page.
  void DropUnusedFiles(const RegistryIndex& registry) {
    Pump();
    host_.SetStatusText(1, texts::kDropping);
    FileListPage page;
    for (int n = 1; n <= count_; ++n) {
      Pump();
      host_.SetStatusText(0, texts::Counter(n, count_));
      host_.SetProgressPosition(n);
      const std::string& name = registry.Name(n);
      const std::string full = StagedName(n) + ExtWithDot(name);
      if (present_[n] && !host_.KeepAll() && build_.UsedFlags[n] == 0 && !IsPageName(name))
        present_[n] = !work_.Remove(full);
      if (!present_[n]) continue;
      page.AddRow(n, name, staged_[n].size, build_.GroupType);
      for (std::string& link : unlinked_[n]) build_.UnlinkedLinks.push_back({name, std::move(link)});
    }
    page.Save(work_, texts::kFileListPage);
  }

  void ApplySettings(const RegistryIndex& registry) {
    Pump();
    host_.SetStatusText(1, texts::kApplying);
    start_.name = host_.StartFile();
    start_.copied = !startStagedName_.empty() && work_.CopyWithin(startStagedName_, texts::kStartPageCopy);
    for (const int n : registry.Find(text::LowerCp1251(start_.name)))
      start_.staged = start_.staged || registry.Name(n) == start_.name;
    work_.Remove(kRegistryFile);
  }

  BuildOutcome Compile() {
    if (!platform::FolderExists(FolderPart(build_.CompilerPath))) {
      host_.ShowMessage(texts::kAttention, texts::kNoTempFolder);
      RemoveWorkFolder();
      return BuildOutcome::Failed;
    }
    std::optional<RunResult> result = RunCompilerFrom(FolderPart(build_.CompilerPath), RunUnlessRefused);
    if (result && result->refused) {
      // No program runs from the temporary folder (mounted noexec): the
      // target's folder from now on.
      build_.CompilerPath = CompilerPathIn(FolderPart(resourceFile_));
      result = RunCompilerFrom(FolderPart(build_.CompilerPath), RunAndWait);
    }
    if (!result) {
      host_.ShowMessage(texts::kAttention, texts::kNoCompiler);
      RemoveWorkFolder();
      return BuildOutcome::Failed;
    }
    host_.SetStatusText(1, texts::kCleaning);
    Pump();
    RemoveWorkFolder();
    if (result->started && result->exitCode == resformat::kScriptNotTheBuilds) {
      host_.ShowMessage(texts::kAttention, texts::ScriptSwapped(scriptPath_));
      return BuildOutcome::Failed;
    }
    if (result->started && result->exitCode == resformat::kFileNotTheBuilds) {
      host_.ShowMessage(texts::kAttention, texts::WorkFolderSwapped(workFolder_));
      return BuildOutcome::Failed;
    }
    const bool compiled = result->started && result->exitCode == 0 &&
                          platform::FileExists(ChangeExtension(scriptPath_, ".res"));
    if (!compiled) {
      const std::string printed = CompilerOutput(result->output);
      host_.ShowMessage(texts::kAttention, texts::kCompileFailed + (printed.empty() ? "" : "\n" + printed));
      return BuildOutcome::Failed;
    }
    host_.ShowMessage(texts::kAttention, ClosingMessage(start_, build_.MissingFiles, build_.UnlinkedLinks));
    return BuildOutcome::Built;
  }

  // Writes the compiler out into a folder of this build's own inside the
  // folder and runs it there; nothing when it cannot be written. Whatever
  // the run ends with, the compiler's folder goes, and so does what an ended
  // compiler left unfinished.
  using Runner = RunResult (*)(BuildHost&, const std::string&, const std::string&, const platform::Handover&);
  std::optional<RunResult> RunCompilerFrom(const std::string& folder, Runner run) {
    compilerFolder_.emplace(folder);
    if (!ExtractResourceFile("EXE", "BRCC32", compilerFolder_->CompilerPath())) return std::nullopt;
    if (!compiling_) {
      Pump();
      host_.SetStatusText(1, texts::kCompiling);
      compiling_ = true;
    }
    const std::string argument = platform::FileExists(scriptPath_) ? platform::ShortPath(scriptPath_) : "";
    const UnfinishedOutput unfinished(ChangeExtension(scriptPath_, ".res"));
    std::optional<RunResult> result;
    try {
      result = run(host_, compilerFolder_->CompilerPath(), argument, handover_);
    } catch (...) {
      unfinished.Remove();
      throw;
    }
    unfinished.Remove();
    compilerFolder_.reset();
    return result;
  }

  void RemoveWorkFolder() {
    work_.Clear();
    const int code = work_.CloseAndRemove();
    workFolderRemoved_ = true;
    if (code == platform::FolderHandle::kNotTheFolderMade)
      throw platform::PlatformError(texts::WorkFolderSwapped(workFolder_));
    if (code != 0) throw platform::PlatformError(platform::InOutErrorText(code));
  }

  // After an error: the compiler this run wrote and the work folder this run
  // created go; an error while tidying up must not hide the first one.
  void CleanUpAfterFailure() {
    compilerFolder_.reset();
    if (workFolderRemoved_) return;
    work_.Clear();
    work_.CloseAndRemove();
  }

  void End() {
    host_.SetWindowEnabled(true);
    host_.SetCheckListEnabled(true);
    host_.SetProgressPosition(0);
    host_.SetStatusText(0, "");
    host_.SetStatusText(1, "");
  }

  BuildCommand& build_;
  BuildHost& host_;
  const std::string resourceFile_;
  const std::string workFolder_;
  const std::string scriptPath_;
  platform::FolderHandle work_;
  OwnOutputs own_;
  int count_ = 0;
  // By file number: how it was staged, and whether its full staged copy is
  // in the work folder.
  std::vector<StagedFile> staged_;
  std::vector<bool> present_;
  // By file number: the links of a page or sheet that name no packed file,
  // and the files that a style sheet links.
  std::vector<std::vector<std::string>> unlinked_;
  std::vector<std::vector<int>> sheetLinks_;
  std::string startStagedName_;
  StartPage start_;
  std::optional<CompilerFolder> compilerFolder_;
  platform::Handover handover_;
  bool compiling_ = false;  // the compiling stage has been shown
  bool workFolderRemoved_ = false;
};

}  // namespace

BuildOutcome BuildCommand::Run(BuildHost& host) {
  UnlinkedLinks.clear();
  MissingFiles.clear();
  // The type is written into the script bare; anything else stops here.
  if (!GroupType.empty() && !IsPlainResourceType(GroupType)) {
    host.ShowMessage(texts::kAttention, texts::kBadGroupType);
    return BuildOutcome::NotStarted;
  }
  if (host.SourceFolder().empty()) {
    host.SetStatusText(1, texts::kNoSourceFolder);
    return BuildOutcome::NotStarted;
  }
  const size_t ticked = host.TickedItems().size();
  host.PumpOneEvent();
  if (ticked == 0) {
    host.SetStatusText(1, texts::kNothingTicked);
    return BuildOutcome::NotStarted;
  }
  if (host.StartFile().empty()) {
    if (!host.AskOkCancel(texts::kAttention, texts::kNoStartFile)) return BuildOutcome::NotStarted;
    host.SetStartFile(texts::kFileListPage);
  }
  if (host.ResourceFile().empty()) {
    host.SetStatusText(1, texts::kNoResourceFile);
    return BuildOutcome::NotStarted;
  }
  // "out/" or "out/.res" would give hidden files ".res" and ".rc".
  if (NameNoExt(FileNamePart(host.ResourceFile())).empty()) {
    host.SetStatusText(1, texts::kNoResourceName);
    return BuildOutcome::NotStarted;
  }
  const std::string clash = OutputClash(Outputs(host.ResourceFile()), host.SourceFolder(), host.TickedItems(), FollowLinks);
  if (!clash.empty()) {
    host.ShowMessage(texts::kAttention, clash);
    return BuildOutcome::NotStarted;
  }
  return BuildRun(*this, host).Run();
}

std::vector<BuildOutput> BuildCommand::Outputs(const std::string& resourceFile) const {
  std::vector<BuildOutput> outputs = {{resourceFile, texts::kResourceFileOutput},
                                      {ChangeExtension(resourceFile, ".rc"), texts::kScriptOutput}};
  outputs.insert(outputs.end(), OtherOutputs.begin(), OtherOutputs.end());
  return outputs;
}

void BuildCommand::Stage(BuildHost& host, const std::string& workFolder) {
  platform::FolderHandle work;
  if (!work.Open(workFolder)) throw platform::PlatformError(texts::WorkFolderSwapped(workFolder));
  MissingFiles = LeftOut;
  StageFiles(host, work, OwnOutputs{}, StagedNames::Bare, FollowLinks, MissingFiles);
}

int BuildCommand::ReplaceUrl(const std::string& pagePath, const std::string& pageFolder,
                             const RegistryIndex& registry, std::vector<std::string>* unlinked) {
  LinkRewrite rewrite = RewriteStagedFile(pagePath, LinkSource::Page, pageFolder, registry, GroupType);
  // The flags grow to the registry's count when they are shorter.
  for (const int number : rewrite.marked) {
    if (UsedFlags.size() <= static_cast<size_t>(number))
      UsedFlags.resize(static_cast<size_t>(registry.Count()) + 1);
    UsedFlags[static_cast<size_t>(number)] = 1;
  }
  if (unlinked) *unlinked = std::move(rewrite.unlinked);
  return rewrite.count;
}

}  // namespace pagefold
