#include "core/build_cancelled.h"
#include "core/build_command.h"
#include "core/build_texts.h"
#include "core/find_files.h"
#include "core/paths.h"
#include "platform/file_ops.h"
#include "platform/ini_file.h"

namespace pagefold {

std::string StagedName(int number) { return "search_file_nomber_" + std::to_string(number); }

void BuildCommand::ClrDIR(const std::string& folder) {
  StringList entries;
  FindFilesToDelete(folder, entries);
  for (const std::string& entry : entries) platform::RemoveFile(entry);
}

void BuildCommand::button2Click(BuildHost& host, const std::string& workFolder) {
  // The window hands out events while staging runs; the user may pick another
  // folder or change ticks meanwhile, so the loop works on this snapshot.
  const std::string source = host.SourceFolder();
  const StringList items = host.TickedItems();

  host.PumpAllEvents();
  StopWhenClosing(host);
  host.SetStatusText(1, texts::kCopying);
  ClrDIR(workFolder);
  host.SetCheckListEnabled(false);
  int number = 1;
  platform::IniFile registry(JoinPath(workFolder, "fillist.ini"));
  const std::string ticked = std::to_string(items.size());
  host.SetProgressMax(static_cast<int>(items.size()));
  for (const std::string& item : items) {
    const std::string staged = JoinPath(workFolder, StagedName(number));
    platform::CopyFileNoOverwrite(JoinPath(source, item), staged);
    host.AdvanceProgress();
    host.PumpAllEvents();
    StopWhenClosing(host);
    if (platform::FileExists(staged)) {
      registry.WriteString("data", StagedName(number), item);
      ++number;
      host.SetStatusText(0, std::to_string(number - 1) + "\\" + ticked);
    }
  }
  registry.WriteString("data", "count", std::to_string(number - 1));
  host.SetCheckListEnabled(true);
}

}  // namespace pagefold
