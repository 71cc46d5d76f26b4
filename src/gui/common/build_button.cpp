#include "gui/common/build_button.h"

#include <string>

#include "gui/common/window_texts.h"

namespace pagefold::gui {

void PressBuildButton(BuildCommand& build, MainWindowView& window, WindowClosing& closing, Dialogs& dialogs) {
  window.ShowProgressInFrames(true);
  const bool closeNow = RunBuild(build, window, closing, [&](const std::string& text) {
    window.ShowProgressInFrames(false);
    dialogs.ShowError(texts::kProgramName, text);
  });
  window.ShowProgressInFrames(false);
  if (closeNow) window.Close();
}

}  // namespace pagefold::gui
