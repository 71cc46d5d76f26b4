// Refuses input that has no Windows-1251 form, so that an edit box always
// holds a text the program can carry.
#pragma once

#include <QValidator>

namespace pagefold::gui {

class Cp1251Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& position) const override;
};

}  // namespace pagefold::gui
