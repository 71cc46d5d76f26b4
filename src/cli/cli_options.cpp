#include "cli/cli_options.h"

#include <stdexcept>

#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

[[noreturn]] void BadUsage(const std::string& what) {
  throw std::invalid_argument(what + text::Cp1251Text("\nСправка: pagefold-cli --help"));
}

std::string WithBackslashes(std::string name) {
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

}  // namespace

CliOptions ParseOptions(const std::vector<std::string>& args) {
  CliOptions options;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) BadUsage(text::Cp1251Text("Нет значения для ") + arg);
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--start") {
      options.startPage = WithBackslashes(value());
    } else if (arg == "--group") {
      options.groupType = value();
    } else if (arg == "--keep-all") {
      options.keepAll = true;
    } else if (arg == "--yes") {
      options.yes = true;
    } else if (arg == "--report") {
      options.reportFile = value();
    } else if (arg == "--list") {
      options.listFile = value();
    } else if (arg.size() > 1 && arg[0] == '-' && positional.size() < 2) {
      BadUsage(text::Cp1251Text("Неизвестный ключ: ") + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (options.help) return options;
  if (!options.listFile.empty()) {
    const bool packing = !positional.empty() || !options.startPage.empty() || !options.groupType.empty() ||
                         options.keepAll || options.yes || !options.reportFile.empty();
    if (packing) BadUsage(text::Cp1251Text("Ключ --list не сочетается с упаковкой"));
    return options;
  }
  if (positional.size() < 2) BadUsage(text::Cp1251Text("Укажите папку с файлами и файл ресурс"));
  options.sourceFolder = positional[0];
  options.target = positional[1];
  for (size_t i = 2; i < positional.size(); ++i) options.files.push_back(WithBackslashes(positional[i]));
  return options;
}

std::string HelpText() {
  return text::Cp1251Text(
      "Использование: pagefold-cli [ключи] ПАПКА ФАЙЛ.res [ФАЙЛ ...]\n"
      "               pagefold-cli --list ФАЙЛ.res\n"
      "Упаковывает html-странички из ПАПКИ со всеми их файлами в ресурсный файл ФАЙЛ.res.\n"
      "Без списка файлов упаковываются все файлы папки; файлы указываются относительно\n"
      "папки, как в списке окна (img\\logo.gif или img/logo.gif).\n"
      "Ссылки страниц и стилей, которые не ведут ни к одному упакованному файлу, выводятся\n"
      "после сборки (первые десять).\n"
      "\n"
      "Ключи:\n"
      "  --start СТРАНИЦА  стартовый файл (копируется в index.html)\n"
      "  --group ТИП       группировать все файлы в один тип ресурса\n"
      "  --keep-all        не проверять используемость файлов\n"
      "  --yes             без стартового файла использовать filelist.html\n"
      "  --report ФАЙЛ     записать все ссылки без ресурса в ФАЙЛ, по строке\n"
      "                    \"страница<TAB>ссылка\" (Windows-1251)\n"
      "  --list ФАЙЛ.res   показать ресурсы файла: ТИП/ИМЯ<TAB>размер\n"
      "  --help            эта справка\n"
      "\n"
      "Код выхода: 0 - ресурсный файл собран (с --list: показан), 1 - сборка не удалась,\n"
      "отчёт не записан или ФАЙЛ.res не прочитан, 2 - неверные аргументы или нужен ответ\n"
      "на вопрос (см. --yes).\n");
}

}  // namespace pagefold::cli
