#include "gui/common/form_create.h"

#include "core/compiler_runner.h"
#include "gui/common/window_texts.h"

namespace pagefold::gui {

void FormCreate(BuildCommand& build, BuildHost& window) {
  build.CompilerPath = CompilerPathIn(GetTempDir());
  window.SetStatusText(0, texts::Counter(0, 0));
  window.SetStatusText(1, "");
}

}  // namespace pagefold::gui
