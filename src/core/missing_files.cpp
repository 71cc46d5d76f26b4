#include "core/missing_files.h"

#include "core/build_texts.h"
#include "text/cp1251.h"

namespace pagefold {
namespace {

constexpr size_t kSummaryLines = 10;

std::string ReasonText(MissingReason reason) {
  switch (reason) {
    case MissingReason::OutsideLink: return text::Cp1251Text("ссылка за пределы папки");
    case MissingReason::Unreadable: return text::Cp1251Text("нет прав на чтение");
    case MissingReason::Gone: return text::Cp1251Text("файл исчез");
    case MissingReason::NotAFile: return text::Cp1251Text("это не обычный файл");
    case MissingReason::NoRoom: return text::Cp1251Text("нет места на диске");
    case MissingReason::NameTooLong: return text::Cp1251Text("слишком длинный путь");
    case MissingReason::LinkSwapped: return text::Cp1251Text("в пути появилась ссылка за пределы папки");
    case MissingReason::NoExtension: return text::Cp1251Text("нет расширения, а значит и типа ресурса");
    case MissingReason::OutsideCodePage: return text::Cp1251Text("имя вне кодировки Windows-1251");
    case MissingReason::Backslash: return text::Cp1251Text("в имени есть знак \\");
    case MissingReason::UnsafeName: return text::Cp1251Text("в имени есть кавычка или управляющий знак");
    case MissingReason::Failed: break;
  }
  return text::Cp1251Text("ошибка чтения или записи");
}

void AddGroup(std::string& summary, const std::string& title, const std::vector<const MissingFile*>& files) {
  if (files.empty()) return;
  if (!summary.empty()) summary += "\n";
  summary += title + std::to_string(files.size());
  for (size_t i = 0; i < files.size() && i < kSummaryLines; ++i) summary += "\n" + MissingFileLine(*files[i]);
}

// Control bytes as "\xHH", so that every name keeps to its line.
std::string Shown(const std::string& name) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte != 127) {
      shown += c;
    } else {
      shown += "\\x";
      shown += kDigits[byte >> 4];
      shown += kDigits[byte & 15];
    }
  }
  return shown;
}

}  // namespace

std::string MissingWhy(const MissingFile& file) {
  const std::string why = ReasonText(file.reason);
  return file.reason == MissingReason::OutsideLink ? why + " -> " + Shown(file.linkText) : why;
}

std::string MissingFileLine(const MissingFile& file) {
  if (file.reason == MissingReason::OutsideLink) return Shown(file.name) + " -> " + Shown(file.linkText);
  return Shown(file.name) + ": " + ReasonText(file.reason);
}

std::string MissingFilesSummary(const std::vector<MissingFile>& files) {
  std::vector<const MissingFile*> links, others;
  for (const MissingFile& file : files) (file.reason == MissingReason::OutsideLink ? links : others).push_back(&file);
  std::string summary;
  AddGroup(summary, text::Cp1251Text("Не упакованы ссылки за пределы папки: "), links);
  AddGroup(summary, texts::kFilesMissing, others);
  return summary;
}

}  // namespace pagefold
