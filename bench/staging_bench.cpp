// Times staging alone (the copy into the work folder and the file registry)
// for every file of a folder. Usage: staging_bench SOURCE_FOLDER EMPTY_TARGET_FOLDER
#include <chrono>
#include <cstdio>

#include "core/build_command.h"
#include "core/find_files.h"
#include "core/paths.h"
#include "platform/folder_ops.h"

namespace {

// A front end that shows nothing.
class SilentHost : public pagefold::BuildHost {
 public:
  SilentHost(std::string source, std::vector<std::string> ticked)
      : source_(std::move(source)), ticked_(std::move(ticked)) {}
  std::string SourceFolder() override { return source_; }
  std::vector<std::string> TickedItems() override { return ticked_; }
  std::string StartFile() override { return ""; }
  void SetStartFile(const std::string&) override {}
  std::string ResourceFile() override { return ""; }
  bool KeepAll() override { return false; }
  void SetStatusText(int, const std::string&) override {}
  void SetProgressMax(int) override {}
  void SetProgressPosition(int) override {}
  void AdvanceProgress() override {}
  void PumpOneEvent() override {}
  void PumpAllEvents() override {}
  bool AskOkCancel(const std::string&, const std::string&) override { return true; }
  void ShowMessage(const std::string&, const std::string&) override {}
  void SetWindowEnabled(bool) override {}
  void SetCheckListEnabled(bool) override {}
  bool Closing() override { return false; }

 private:
  std::string source_;
  std::vector<std::string> ticked_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: staging_bench SOURCE_FOLDER EMPTY_TARGET_FOLDER\n");
    return 2;
  }
  const std::string work = pagefold::JoinPath(argv[2], "ARH");
  if (pagefold::platform::CreateFolder(work) != 0) {
    std::fprintf(stderr, "cannot create %s\n", work.c_str());
    return 1;
  }
  SilentHost host(argv[1], pagefold::ListSourceFiles(argv[1]).names);
  const auto start = std::chrono::steady_clock::now();
  pagefold::BuildCommand().Stage(host, work);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("staged %zu files in %.2f s\n", host.TickedItems().size(), seconds);
}
