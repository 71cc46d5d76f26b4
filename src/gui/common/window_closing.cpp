#include "gui/common/window_closing.h"

#include <exception>

#include "core/build_cancelled.h"
#include "core/build_texts.h"

namespace pagefold::gui {

bool WindowClosing::CloseAsked() {
  if (building_) closing_ = true;
  return !building_;
}

bool RunBuild(BuildCommand& build, BuildHost& window, WindowClosing& closing,
              const std::function<void(const std::string&)>& showError) {
  closing.building_ = true;
  try {
    // A build that left files out keeps their count in panel 1; the closing
    // message has named them.
    if (build.Button5Click(window) == BuildOutcome::Built && !build.MissingFiles.empty())
      window.SetStatusText(1, texts::kFilesMissing + std::to_string(build.MissingFiles.size()));
  } catch (const BuildCancelled&) {
    // Closed during the build: the build has removed what it made.
  } catch (const std::exception& error) {
    showError(error.what());
  }
  closing.building_ = false;
  return closing.Closing();
}

}  // namespace pagefold::gui
