// Closing the main window: at once when no build runs; during a build, from
// its first step to its last, the build ends at its next event pump, and the
// window closes once it has. Escape during a build ends the build the same
// way, after asking, and keeps the window.
#pragma once

#include <functional>
#include <string>

#include "core/build_command.h"
#include "core/build_host.h"

namespace pagefold::gui {

class WindowClosing {
 public:
  // True when the window closes now; otherwise the close waits for the build.
  bool CloseAsked();
  // Escape in the main window: during a build, asks "Прервать сборку?" and,
  // on OK, ends the build at its next event pump; otherwise nothing.
  void EscapePressed(BuildHost& window);
  bool Building() const { return building_; }
  // What the window's BuildHost::Closing reports: the build must end.
  bool Closing() const { return closing_ || cancelled_; }

 private:
  friend bool RunBuild(BuildCommand&, BuildHost&, WindowClosing&, const std::function<void(const std::string&)>&);
  bool building_ = false;
  bool closing_ = false;
  bool cancelled_ = false;
};

// Button5Click as a window runs it: the build, then the count of the files it
// did not pack in panel 1 when there are any; an error raised by it shown
// through showError (its Windows-1251 text with the line BuildErrorText adds,
// for an error box captioned "Pagefold"), nothing for a build ended by closing, "Сборка прервана" in
// panel 1 for one ended by Escape. True when the window must close now,
// because it was closed during the build.
bool RunBuild(BuildCommand& build, BuildHost& window, WindowClosing& closing,
              const std::function<void(const std::string&)>& showError);

}  // namespace pagefold::gui
