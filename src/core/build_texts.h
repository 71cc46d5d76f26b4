// The texts that the build and its front ends show, in Windows-1251.
#pragma once

#include <string>

#include "text/cp1251.h"

namespace pagefold::texts {

inline const std::string kAttention = text::Cp1251Text("Внимание");
inline const std::string kNoSourceFolder = text::Cp1251Text("Укажите папку с файлами");
inline const std::string kNothingTicked = text::Cp1251Text("Выберите файлы для обработки");
inline const std::string kNoStartFile = text::Cp1251Text(
    "Не указан стартовый файл, использовать стандартный filelist как стартовый");
inline const std::string kNoResourceFile = text::Cp1251Text("Укажите файл ресурс");
inline const std::string kBadGroupType =
    text::Cp1251Text("Тип для группировки может содержать только буквы, цифры и знак _");
inline const std::string kCopying = text::Cp1251Text("Копируются файлы...");
inline const std::string kRewriting = text::Cp1251Text("Меняются ссылки...");
inline const std::string kDropping = text::Cp1251Text("Удаляем неиспользуемые файлы...");
inline const std::string kApplying = text::Cp1251Text("Применяются настройки...");
inline const std::string kCompiling = text::Cp1251Text("ВНИМАНИЕ!!! Собирается ресурсный файл...");
inline const std::string kCleaning = text::Cp1251Text("Удаляются временные файлы...");
inline const std::string kFinished = text::Cp1251Text("Сбор закончен !!!");
inline const std::string kCompileFailed = text::Cp1251Text("Не удалось собрать ресурсный файл!");
inline const std::string kNoTempFolder =
    text::Cp1251Text("Невозможно создать BRCC32, отсутствует временная папка!");
inline const std::string kNoCompiler = text::Cp1251Text("Невозможно создать BRCC32!");
inline const std::string kCancelled = text::Cp1251Text("Сборка прервана");
inline const std::string kNoResourceName = text::Cp1251Text("Укажите имя файла ресурс");

// A work folder that is no longer the one the build created and holds open.
inline std::string WorkFolderSwapped(const std::string& path) {
  return text::Cp1251Text("Рабочая папка \"") + path + text::Cp1251Text("\" подменена, сборка остановлена!");
}
// The script the compiler found is not the one the build wrote; the .res stays as it was.
inline std::string ScriptSwapped(const std::string& path) {
  return text::Cp1251Text("Сценарий \"") + path + text::Cp1251Text("\" подменён, ресурсный файл не заменён!");
}
// A staged copy that could be given neither its extension nor its name back.
inline std::string CannotGiveExtension(const std::string& registryName) {
  return text::Cp1251Text("Невозможно дать копии файла \"") + registryName + text::Cp1251Text("\" её расширение!");
}
// What each file the build writes is, as a refusal names it.
inline const std::string kResourceFileOutput = text::Cp1251Text("Файл ресурс");
inline const std::string kScriptOutput = text::Cp1251Text("Файл сценария");
inline const std::string kReportOutput = text::Cp1251Text("Отчёт");
inline const std::string kDepFileOutput = text::Cp1251Text("Файл зависимостей");

// The generated page that lists every packed file, and the start page's copy.
inline const std::string kFileListPage = "filelist.html";
inline const std::string kStartPageCopy = "index.html";
// Followed by the number of links that name no packed file.
inline const std::string kLinksWithoutResource = text::Cp1251Text("Ссылок без ресурса: ");
// Followed by the number of files a finished build did not pack.
inline const std::string kFilesMissing = text::Cp1251Text("Не упакованы файлы: ");

// The caption of the program's own message and error boxes.
inline const std::string kProgramName = "Pagefold";
inline const std::string kOutsideCodePage =
    text::Cp1251Text("Имя папки или файла содержит символы вне кодировки Windows-1251");
// Followed by the number of names that the listing left out.
inline const std::string kSkippedNames = text::Cp1251Text("Пропущены файлы с недопустимыми именами: ");
// Followed by the number of links out of the source folder that the listing left out.
inline const std::string kSkippedLinks = text::Cp1251Text("Пропущены ссылки за пределы папки: ");
// Asked after listing a folder that has links leading out of it.
inline std::string FollowLinksQuestion(size_t links) {
  return text::Cp1251Text("В папке есть ссылки за её пределы: ") + std::to_string(links) +
         text::Cp1251Text(".\nПоказать в списке и файлы, к которым они ведут?");
}

// The counter of status panel 0: "done\total".
inline std::string Counter(int done, int total) { return std::to_string(done) + "\\" + std::to_string(total); }

}  // namespace pagefold::texts
