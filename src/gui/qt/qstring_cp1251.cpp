#include "gui/qt/qstring_cp1251.h"

#include "text/cp1251.h"

namespace pagefold::gui {

QString ToQString(const std::string& cp1251) {
  QString result;
  result.reserve(static_cast<qsizetype>(cp1251.size()));
  for (char c : cp1251) {
    const auto byte = static_cast<unsigned char>(c);
    const char32_t code = text::Cp1251ToUnicode(byte);
    result += (code == 0 && byte != 0) ? QChar::ReplacementCharacter : QChar(static_cast<char16_t>(code));
  }
  return result;
}

std::optional<std::string> ToCp1251(const QString& text) {
  return text::Utf16ToCp1251(text.toStdU16String());
}

}  // namespace pagefold::gui
