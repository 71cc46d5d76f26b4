#include "gui/common/tick_counter.h"

namespace pagefold::gui {

std::string TickCounter(int ticked) { return "0\\" + std::to_string(ticked); }

}  // namespace pagefold::gui
