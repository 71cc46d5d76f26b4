#include "core/closing_message.h"

#include "core/build_texts.h"
#include "core/escaped_text.h"
#include "core/link_summary.h"
#include "text/cp1251.h"

namespace pagefold {
namespace {

// Why the start page is not "index.html"; empty when it is, or when the
// generated file list is the start page.
std::string StartPageSentence(const StartPage& start, const std::vector<MissingFile>& missing) {
  if (start.copied || start.name == texts::kFileListPage) return "";
  const std::string named = text::Cp1251Text("Стартовый файл \"") + EscapedControlBytes(start.name) + "\" ";
  for (const MissingFile& file : missing)
    if (file.name == start.name) return named + text::Cp1251Text("не упакован: ") + MissingWhy(file) + ".";
  if (start.staged) return named + text::Cp1251Text("упакован, но не скопирован в index.html.");
  return named + text::Cp1251Text("не упакован: он не отмечен в списке файлов.");
}

}  // namespace

std::string ClosingMessage(const StartPage& start, const std::vector<MissingFile>& missing,
                           const std::vector<UnlinkedLink>& links) {
  std::string message = texts::kFinished;
  for (const std::string& part : {StartPageSentence(start, missing), MissingFilesSummary(missing), LinkSummary(links)})
    if (!part.empty()) message += "\n" + part;
  return message;
}

}  // namespace pagefold
