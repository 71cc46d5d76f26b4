#include "gui/common/window_closing.h"

#include <exception>

#include "core/build_cancelled.h"
#include "core/paths.h"
#include "gui/common/build_error_text.h"
#include "gui/common/window_texts.h"

namespace pagefold::gui {

bool WindowClosing::CloseAsked() {
  if (Busy()) closing_ = true;
  return !Busy();
}

void WindowClosing::EscapePressed(BuildHost& window) {
  if (!building_ || Closing()) return;
  if (window.AskOkCancel(texts::kAttention, texts::kAbortBuild)) cancelled_ = true;
}

bool RunBuild(BuildCommand& build, BuildHost& window, WindowClosing& closing,
              const std::function<void(const std::string&)>& showError) {
  closing.building_ = true;
  try {
    // A build that left files out keeps their count in panel 1; the closing
    // message has named them.
    if (build.Run(window) == BuildOutcome::Built && !build.MissingFiles.empty())
      window.SetStatusText(1, texts::kFilesMissing + std::to_string(build.MissingFiles.size()));
  } catch (const BuildCancelled&) {
    // Closed or ended with Escape during the build: the build has removed
    // what it made.
    if (!closing.closing_) window.SetStatusText(1, texts::kCancelled);
  } catch (const std::exception& error) {
    showError(BuildErrorText(error.what(), JoinPath(build.ResourceFolder, "ARH")));
  }
  closing.building_ = false;
  closing.cancelled_ = false;
  return closing.closing_;
}

}  // namespace pagefold::gui
