#include "gui/common/long_message.h"

namespace pagefold::gui {
namespace {

constexpr size_t kMostLines = 12;
constexpr size_t kLongestLine = 100;

}  // namespace

bool IsLongMessage(const std::string& text) {
  size_t lines = 1, length = 0;
  for (const char c : text) {
    if (c == '\n') {
      ++lines;
      length = 0;
    } else if (c != '\r' || length > 0) {
      ++length;
    }
    if (lines > kMostLines || length > kLongestLine) return true;
  }
  return false;
}

}  // namespace pagefold::gui
