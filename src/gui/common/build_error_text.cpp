#include "gui/common/build_error_text.h"

#include "text/cp1251.h"

namespace pagefold::gui {

// The work folder is the only folder whose creation or removal a build
// reports with these texts.
std::string BuildErrorText(const std::string& error, const std::string& workFolder) {
  const std::string quoted = "\"" + workFolder + "\"";
  if (error == "I/O error 183")
    return error + "\n" + text::Cp1251Text("Папка ") + quoted +
           text::Cp1251Text(" осталась от прерванной сборки, её можно удалить.");
  if (error == "File access denied") return error + "\n" + text::Cp1251Text("Нет доступа к папке ") + quoted + ".";
  if (error == "Invalid filename") return error + "\n" + text::Cp1251Text("Не найден путь к папке ") + quoted + ".";
  return error;
}

}  // namespace pagefold::gui
