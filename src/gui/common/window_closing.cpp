#include "gui/common/window_closing.h"

#include <exception>

#include "core/build_cancelled.h"

namespace pagefold::gui {

bool WindowClosing::CloseAsked(bool windowEnabled) {
  if (!windowEnabled) closing_ = true;
  return windowEnabled;
}

bool RunBuild(BuildCommand& build, BuildHost& window, const WindowClosing& closing,
              const std::function<void(const std::string&)>& showError) {
  try {
    build.Button5Click(window);
  } catch (const BuildCancelled&) {
    // Closed during the build: the build has removed what it made.
  } catch (const std::exception& error) {
    showError(error.what());
  }
  return closing.Closing();
}

}  // namespace pagefold::gui
