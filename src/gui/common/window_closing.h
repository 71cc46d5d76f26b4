// Closing the main window: at once when no build runs and no folder is being
// listed; during a build, from its first step to its last, the build ends at
// its next event pump, and the window closes once it has; during a listing,
// the window closes once the listing has ended. Escape during a build ends
// the build the same way, after asking, and keeps the window.
#pragma once

#include <functional>
#include <string>

#include "core/build_command.h"
#include "core/build_host.h"

namespace pagefold::gui {

class WindowClosing {
 public:
  // Marks a listing of the source folder, from its start to its end.
  class Listing {
   public:
    explicit Listing(WindowClosing& closing) : closing_(closing) { closing_.listing_ = true; }
    ~Listing() { closing_.listing_ = false; }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

   private:
    WindowClosing& closing_;
  };

  // True when the window closes now; otherwise the close waits for the build
  // or the listing.
  bool CloseAsked();
  // Escape in the main window: during a build, asks "Прервать сборку?" and,
  // on OK, ends the build at its next event pump; otherwise nothing.
  void EscapePressed(BuildHost& window);
  bool Building() const { return building_; }
  // A build runs or a folder is being listed: nothing else may start.
  bool Busy() const { return building_ || listing_; }
  // What the window's BuildHost::Closing reports: the build must end.
  bool Closing() const { return closing_ || cancelled_; }

 private:
  friend bool RunBuild(BuildCommand&, BuildHost&, WindowClosing&, const std::function<void(const std::string&)>&);
  bool building_ = false;
  bool listing_ = false;
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
