#include "gui/common/form_create.h"

#include "core/compiler_runner.h"
#include "gui/common/tick_counter.h"

namespace pagefold::gui {

void FormCreate(BuildCommand& build, BuildHost& window) {
  build.CompilerPath = GetTempDir() + "brcc32.exe";
  window.SetStatusText(0, TickCounter(0));
  window.SetStatusText(1, "");
}

}  // namespace pagefold::gui
