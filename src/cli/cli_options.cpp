#include "cli/cli_options.h"

#include <stdexcept>

#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

[[noreturn]] void BadUsage(const std::string& what) {
  throw std::invalid_argument(what + text::Cp1251Text("\nСправка: pagefold-cli --help"));
}

int PortNumber(const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
  if (!digits || std::stoi(text) > 65535) BadUsage(text::Cp1251Text("Неверный номер порта: ") + text);
  return std::stoi(text);
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
  bool portGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) BadUsage(text::Cp1251Text("Нет значения для ") + arg);
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--start") {
      options.startPage = WithBackslashes(value());
    } else if (arg == "--group") {
      options.groupType = value();
    } else if (arg == "--keep-all") {
      options.keepAll = true;
    } else if (arg == "--yes") {
      options.yes = true;
    } else if (arg == "--follow-links") {
      options.followLinks = true;
    } else if (arg == "--report") {
      options.reportFile = value();
    } else if (arg == "--depfile") {
      options.depFile = value();
    } else if (arg == "--list") {
      options.listFile = value();
    } else if (arg == "--check") {
      options.checkFile = value();
    } else if (arg == "--serve") {
      options.serveFile = value();
    } else if (arg == "--port") {
      options.port = PortNumber(value());
      portGiven = true;
    } else if (arg.size() > 1 && arg[0] == '-' && positional.size() < 2) {
      BadUsage(text::Cp1251Text("Неизвестный ключ: ") + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (options.help || options.version) return options;
  if (portGiven && options.serveFile.empty()) BadUsage(text::Cp1251Text("Ключ --port нужен только с --serve"));
  const int commands = !options.listFile.empty() + !options.checkFile.empty() + !options.serveFile.empty();
  if (commands > 1) BadUsage(text::Cp1251Text("Ключи --list, --check и --serve не сочетаются"));
  if (commands == 1) {
    const bool packing = !positional.empty() || !options.startPage.empty() || !options.groupType.empty() ||
                         options.keepAll || options.yes || options.followLinks || !options.reportFile.empty() ||
                         !options.depFile.empty();
    const std::string key = !options.listFile.empty() ? "--list" : !options.checkFile.empty() ? "--check" : "--serve";
    if (packing) BadUsage(text::Cp1251Text("Ключ ") + key + text::Cp1251Text(" не сочетается с упаковкой"));
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
      "               pagefold-cli --check ФАЙЛ.res\n"
      "               pagefold-cli --serve ФАЙЛ.res [--port N]\n"
      "Упаковывает html-странички из ПАПКИ со всеми их файлами в ресурсный файл ФАЙЛ.res.\n"
      "Без списка файлов упаковываются все файлы папки; файлы указываются относительно\n"
      "папки, как в списке окна (img\\logo.gif или img/logo.gif).\n"
      "Ссылки страниц и стилей, которые не ведут ни к одному упакованному файлу, выводятся\n"
      "после сборки (первые десять), как и файлы папки, которые не удалось упаковать,\n"
      "с причиной. Ссылки, ведущие за пределы папки, не упаковываются (см. --follow-links).\n"
      "\n"
      "Ключи:\n"
      "  --start СТРАНИЦА  стартовый файл (копируется в index.html)\n"
      "  --group ТИП       группировать все файлы в один тип ресурса\n"
      "  --keep-all        не проверять используемость файлов\n"
      "  --yes             без стартового файла использовать filelist.html\n"
      "  --follow-links    упаковать и то, к чему ведут ссылки за пределы папки\n"
      "  --report ФАЙЛ     записать все ссылки без ресурса в ФАЙЛ, по строке\n"
      "                    \"страница<TAB>ссылка\" (Windows-1251), а после них\n"
      "                    неупакованные файлы, по строке \"файл<TAB>не упакован: причина\"\n"
      "  --depfile ФАЙЛ    записать в ФАЙЛ для make и Ninja \"ФАЙЛ.res: ...\" со всеми\n"
      "                    прочитанными файлами и просмотренными папками (UTF-8)\n"
      "  --list ФАЙЛ.res   показать ресурсы файла: ТИП/ИМЯ<TAB>размер\n"
      "  --check ФАЙЛ.res  проверить ссылки страниц и стилей файла: каждая ссылка,\n"
      "                    которая не ведёт ни к одному его ресурсу, \"страница -> ссылка\"\n"
      "  --serve ФАЙЛ.res  показывать ресурсы файла браузеру по адресу\n"
      "                    http://127.0.0.1:N/ТИП/ИМЯ, до Ctrl+C\n"
      "  --port N          порт для --serve (8080; 0 - любой свободный)\n"
      "  --help            эта справка\n"
      "  --version         версия программы\n"
      "\n"
      "Код выхода: 0 - ресурсный файл собран (с --list: показан, с --check: все ссылки\n"
      "ведут к ресурсам), 1 - сборка не удалась, отчёт не записан, ФАЙЛ.res не прочитан\n"
      "(с --check: есть ссылки без ресурса), 2 - неверные аргументы или нужен ответ\n"
      "на вопрос (см. --yes), 3 - ресурсный файл собран, но не все файлы упакованы.\n");
}

std::string VersionText() { return "pagefold-cli " PAGEFOLD_VERSION "\n"; }

}  // namespace pagefold::cli
