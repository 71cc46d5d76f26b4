#include "core/file_list_page.h"

#include "core/file_registry.h"
#include "core/name_conversion.h"
#include "core/size_text.h"
#include "text/case_rules.h"
#include "text/cp1251.h"

namespace pagefold {
namespace {

const char* const kHeader[] = {
    R"html(<html><head><title>Filelist generated on "Pagefold [Vostrak]"</title>)html",
    R"html(<style type="text/css"><!--.td{color:"00088ff";font-family : Arial;font-size : 12;font-weight)html",
    R"html( : bold;};h3{color:"00000f";font-family : Arial;font-size : 16;font-weight : bold;};a{color :"0088ff";font-family :)html",
    R"html( Arial;font-size : 12;font-weight : bold;}--></style></head><body><a class="td"><h3>Filelist generated on "Pagefold [Vostrak]")html",
    R"html(</h3></a><hr color="black" align="left" width="50%"><table class="td"><tr><td>№</td><td>Файл</td><td>Размер</td>)html",
};

constexpr const char* kLineEnd = "\r\n";

// The type as written when transliteration would change nothing but the case
// of ASCII letters, so that the link still reaches its resource; otherwise the
// form under which the resource script files it.
std::string LinkType(const std::string& type) {
  const std::string latin = Translit(type);
  return text::LowerAscii(type) == latin ? type : text::UpperAscii(latin);
}

// Appends the name as page text: "<", ">", "&" and '"' written as character
// references, so that a file's name cannot add markup to the page.
void AppendPageText(std::string& page, const std::string& name) {
  for (const char c : name) {
    switch (c) {
      case '<': page += "&lt;"; break;
      case '>': page += "&gt;"; break;
      case '&': page += "&amp;"; break;
      case '"': page += "&quot;"; break;
      default: page += c;
    }
  }
}

}  // namespace

void FileListPage::AddRow(int number, const std::string& registryName, std::int64_t size,
                          const std::string& groupType) {
  ++count_;
  total_ += size;
  page_ += "<tr><td>";
  page_ += std::to_string(count_);
  page_ += "</td><td><a href=\"../";
  page_ += LinkType(groupType.empty() ? ExtNoDot(registryName) : groupType);
  page_ += "/";
  page_ += text::UpperAscii(StagedName(number));
  page_ += "\">";
  AppendPageText(page_, registryName);
  page_ += "</a></td><td><a>";
  page_ += SizeToText(std::to_string(size));
  page_ += "</td>";
  page_ += kLineEnd;
}

FileListPage::FileListPage() {
  for (const char* line : kHeader) page_ += text::Cp1251Text(line) + kLineEnd;
}

void FileListPage::Save(platform::FolderHandle& folder, const std::string& name) {
  // The footer goes on the page only while it is written, so that the page
  // is held once however many rows it has.
  const size_t rowsEnd = page_.size();
  page_ += text::Cp1251Text("</table><hr color=\"black\" align=\"left\" width=\"50%\"><h3>Количество файлов:  ") +
           std::to_string(count_) + "<br>" + text::Cp1251Text("Общий размер:  ") +
           SizeToText(std::to_string(total_)) + "</h3></body></html>" + kLineEnd;
  try {
    folder.Write(name, page_);
  } catch (...) {
    page_.resize(rowsEnd);
    throw;
  }
  page_.resize(rowsEnd);
}

}  // namespace pagefold
