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

CliHost::~CliHost() { EndLine(); }

void CliHost::PrintLine(const std::string& text) {
  EndLine();
  platform::WriteToStderr(text + "\n");
}

void CliHost::ShowCount(const std::string& count) {
  platform::WriteToStderr("\r" + stage_ + " " + count + "\x1b[K");
  unshownCount_.clear();
}

// Ends an open stage line, with the count it has not shown yet.
void CliHost::EndLine() {
  if (!unshownCount_.empty()) ShowCount(unshownCount_);
  if (lineOpen_) platform::WriteToStderr("\n");
  lineOpen_ = false;
}

void CliHost::SetStatusText(int panel, const std::string& text) {
  if (text.empty()) return;
  if (!terminal_) {
    if (panel == 1) PrintLine(text);
    return;
  }
  // On a terminal the stage stays open on its line, and the counter is
  // written behind it in place.
  if (panel == 1) {
    EndLine();
    stage_ = text;
    platform::WriteToStderr(stage_);
  } else if (frames_.Due()) {
    ShowCount(text);
  } else {
    unshownCount_ = text;
  }
  lineOpen_ = true;
}

bool CliHost::AskOkCancel(const std::string&, const std::string& text) {
  if (!answerOk_) declinedQuestion_ = text;
  return answerOk_;
}

bool CliHost::Closing() { return platform::InterruptRequested(); }

void CliHost::ShowMessage(const std::string&, const std::string& text) { PrintLine(text); }

}  // namespace pagefold::cli
