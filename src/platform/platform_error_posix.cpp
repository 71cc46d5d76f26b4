#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/platform_error.h"

namespace pagefold::platform {
namespace {

// A locale of the C library for as long as it lives.
class Locale {
 public:
  explicit Locale(const char* name) : locale_(newlocale(LC_ALL_MASK, name, nullptr)) {}
  ~Locale() {
    if (locale_) freelocale(locale_);
  }
  Locale(const Locale&) = delete;
  Locale& operator=(const Locale&) = delete;
  locale_t get() const { return locale_; }

 private:
  locale_t locale_;
};

// The text, in the given character set, in Windows-1251; nothing when one of
// its characters has no form there.
std::optional<std::string> ToCp1251(const std::string& text, const char* charset) {
  const iconv_t convert = iconv_open("CP1251", charset);
  if (convert == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in = text;
  // No character becomes more than one byte of Windows-1251.
  std::string out(in.size(), '\0');
  char* from = in.data();
  char* to = out.data();
  size_t fromLeft = in.size(), toLeft = out.size();
  const bool converted = iconv(convert, &from, &fromLeft, &to, &toLeft) != static_cast<size_t>(-1);
  iconv_close(convert);
  if (!converted) return std::nullopt;
  out.resize(out.size() - toLeft);
  return out;
}

}  // namespace

// The text in the language that the environment asks for (LC_ALL,
// LC_MESSAGES, LANG), whatever locale the program has set itself, so that the
// window (Qt sets the locale) and pagefold-cli (which does not) show the same
// words. The C library writes it in the locale's character set; a text that
// Windows-1251 cannot hold is given in English.
std::string SystemErrorText(int code) {
  const Locale user("");
  if (user.get()) {
    const std::optional<std::string> text =
        ToCp1251(strerror_l(code, user.get()), nl_langinfo_l(CODESET, user.get()));
    if (text) return *text;
  }
  const Locale english("C");
  return strerror_l(code, english.get());
}

int LastErrorCode() { return errno; }

}  // namespace pagefold::platform
