// The texts of the two windows, in Windows-1251: the captions of their
// members and what their handlers show, with those they share with the build
// and the command line.
#pragma once

#include <string>

#include "core/build_texts.h"
#include "text/cp1251.h"

namespace pagefold::gui::texts {

using text::Cp1251Text;
using ::pagefold::texts::Counter;
using ::pagefold::texts::kAttention;
using ::pagefold::texts::kCancelled;
using ::pagefold::texts::kFilesMissing;
using ::pagefold::texts::kOutsideCodePage;
using ::pagefold::texts::kProgramName;
using ::pagefold::texts::FollowLinksQuestion;
using ::pagefold::texts::kSkippedLinks;
using ::pagefold::texts::kSkippedNames;

inline const std::string kPopupSelectAll = Cp1251Text("Выделить все");
inline const std::string kPopupUnselectAll = Cp1251Text("Отменить все");
inline const std::string kPopupClear = Cp1251Text("Очистить");
inline const std::string kGroupBox1 = Cp1251Text("Данные");
inline const std::string kButton1 = Cp1251Text("Обзор");
inline const std::string kLabel6 = Cp1251Text("Папка с файлами");
inline const std::string kLabel7 = Cp1251Text("Файлы");
inline const std::string kGroupBox2 = Cp1251Text("Файл ресурс");
inline const std::string kSave = Cp1251Text("Сохранить как");
inline const std::string kLabel5 = Cp1251Text("Стартовый файл:");
inline const std::string kButton7 = Cp1251Text("Выбрать");
inline const std::string kCheckBox1 = Cp1251Text("Группировать в один тип");
inline const std::string kCheckBox2 = Cp1251Text("Не проверять используемость файлов");
inline const std::string kButton3 = Cp1251Text("Собрать");
inline const std::string kAbout = Cp1251Text("О программе");
inline const std::string kSaveFilterDescription = Cp1251Text("Файл ресурсов");
inline const std::string kSaveFilterPattern = "*.res";
inline const std::string kForm3 = Cp1251Text("Выберите файл . . .");

inline const std::string kAboutText = Cp1251Text(
    "Программа: \"Pagefold\"\n\r"
    "Описание: \"Программа встраивает html-странички\n\r"
    "и все принадлежащие ей файлы в ресурсный файл *.RES\"\n\r"
    "Идея и разработка: Vostrak");
// Escape during a build.
inline const std::string kAbortBuild = Cp1251Text("Прервать сборку?");
inline const std::string kFolderTitle = Cp1251Text("Выберите папку с файлами!");

}  // namespace pagefold::gui::texts
