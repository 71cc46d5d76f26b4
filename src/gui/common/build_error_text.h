// The text of the error box for an error that ended a build: the build's own
// text, unchanged, and where that text leaves the user guessing, a second
// line of ours that names the work folder and says what to do.
#pragma once

#include <string>

namespace pagefold::gui {

// error is the build's text, workFolder the build's work folder; both
// Windows-1251.
std::string BuildErrorText(const std::string& error, const std::string& workFolder);

}  // namespace pagefold::gui
