#include "gui/cp1251_validator.h"

#include "gui/qstring_cp1251.h"

namespace pagefold::gui {

QValidator::State Cp1251Validator::validate(QString& input, int&) const {
  return ToCp1251(input) ? Acceptable : Invalid;
}

}  // namespace pagefold::gui
