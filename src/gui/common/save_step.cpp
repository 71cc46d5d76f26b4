#include "gui/common/save_step.h"

#include <optional>
#include <string>

#include "gui/common/accepted_name.h"
#include "gui/common/target_name.h"

namespace pagefold::gui {

void ChooseTargetFile(BuildCommand& build, MainWindowView& window, Dialogs& dialogs, SaveDialog& dialog) {
  const std::optional<std::u16string> chosen = dialogs.ChooseSaveFile(dialog);
  if (!chosen) return;
  const std::optional<std::string> bytes = AcceptName(*chosen, window);
  if (!bytes) return;
  dialog.fileName = *chosen;
  const TargetChoice target = ChooseTarget(*bytes);
  build.ResourceFolder = target.resourceFolder;
  window.SetTargetText(target.shownName);
}

}  // namespace pagefold::gui
