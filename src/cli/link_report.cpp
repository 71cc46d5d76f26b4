#include "cli/link_report.h"

#include <stdexcept>

#include "core/escaped_text.h"
#include "platform/file_ops.h"
#include "platform/file_writer.h"
#include "platform/platform_error.h"
#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

[[noreturn]] void Fail(const std::string& path, int code) {
  throw std::runtime_error(text::Cp1251Text("Не удалось записать отчёт \"") + path + "\": " +
                           platform::SystemErrorText(code));
}

}  // namespace

void WriteLinkReport(const std::string& path, const std::vector<UnlinkedLink>& links,
                     const std::vector<MissingFile>& missing) {
  std::string bytes;
  for (const UnlinkedLink& link : links) bytes += EscapedControlBytes(link.page) + "\t" + EscapedControlBytes(link.link) + "\r\n";
  for (const MissingFile& file : missing)
    bytes += EscapedControlBytes(file.name) + "\t" + text::Cp1251Text("не упакован: ") + MissingWhy(file) + "\r\n";
  const std::string temporary = path + ".tmp";
  platform::FileWriter out;
  if (out.Create(temporary, platform::FileWriter::Mode::Normal) != platform::FileWriter::CreateResult::Created)
    Fail(path, platform::LastErrorCode());
  if (!out.Write(bytes) || !out.Close() || !platform::ReplaceFileWith(temporary, path)) {
    const int code = platform::LastErrorCode();
    out.Close();
    platform::RemoveFile(temporary);
    Fail(path, code);
  }
}

}  // namespace pagefold::cli
