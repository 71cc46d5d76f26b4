#include "cli/cli_host.h"

#include "platform/console.h"
#include "platform/interrupts.h"

namespace pagefold::cli {

CliHost::CliHost(std::string sourceFolder, std::vector<std::string> ticked, std::string startFile,
                 std::string resourceFile, bool keepAll, bool answerOk)
    : sourceFolder_(std::move(sourceFolder)),
      ticked_(std::move(ticked)),
      startFile_(std::move(startFile)),
      resourceFile_(std::move(resourceFile)),
      keepAll_(keepAll),
      answerOk_(answerOk),
      terminal_(platform::StderrIsTerminal()) {}

void CliHost::PrintLine(const std::string& text) {
  if (counterShown_) platform::WriteToStderr("\n");
  counterShown_ = false;
  platform::WriteToStderr(text + "\n");
}

void CliHost::SetStatusText(int panel, const std::string& text) {
  if (text.empty()) return;
  if (panel == 1) {
    PrintLine(text);
  } else if (terminal_) {
    platform::WriteToStderr("\r" + text + "\x1b[K");
    counterShown_ = true;
  }
}

bool CliHost::AskOkCancel(const std::string&, const std::string& text) {
  if (!answerOk_) declinedQuestion_ = text;
  return answerOk_;
}

bool CliHost::Closing() { return platform::InterruptRequested(); }

void CliHost::ShowMessage(const std::string&, const std::string& text) { PrintLine(text); }

}  // namespace pagefold::cli
