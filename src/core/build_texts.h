// The texts that the build shows, in Windows-1251.
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

}  // namespace pagefold::texts
