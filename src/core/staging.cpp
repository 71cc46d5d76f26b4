#include "core/staging.h"

#include "core/build_cancelled.h"
#include "core/build_texts.h"
#include "core/clear_folder.h"
#include "core/file_registry.h"
#include "core/paths.h"
#include "core/string_list.h"
#include "platform/file_ops.h"
#include "platform/ini_file.h"

namespace pagefold {

void StageFiles(BuildHost& host, const std::string& workFolder) {
  // The window hands out events while staging runs; the user may pick another
  // folder or change ticks meanwhile, so the loop works on this snapshot.
  const std::string source = host.SourceFolder();
  const StringList items = host.TickedItems();

  host.PumpAllEvents();
  StopWhenClosing(host);
  host.SetStatusText(1, texts::kCopying);
  ClearFolder(workFolder);
  host.SetCheckListEnabled(false);
  int number = 1;
  platform::IniFile registry(JoinPath(workFolder, kRegistryFile));
  const int ticked = static_cast<int>(items.size());
  host.SetProgressMax(ticked);
  for (const std::string& item : items) {
    const std::string staged = JoinPath(workFolder, StagedName(number));
    platform::CopyFileNoOverwrite(JoinPath(source, item), staged);
    host.AdvanceProgress();
    host.PumpAllEvents();
    StopWhenClosing(host);
    if (platform::FileExists(staged)) {
      registry.WriteString(kRegistrySection, StagedName(number), item);
      ++number;
      host.SetStatusText(0, texts::Counter(number - 1, ticked));
    }
  }
  registry.WriteString(kRegistrySection, kRegistryCount, std::to_string(number - 1));
  host.SetCheckListEnabled(true);
}

}  // namespace pagefold
