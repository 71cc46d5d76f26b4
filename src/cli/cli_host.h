// The build's front end on a terminal: stage texts become lines on stderr;
// when stderr is a terminal, each stage's line also shows the counter,
// rewritten in place ("Меняются ссылки... 1234\5000") at most once a frame,
// and always with the stage's last count before the line ends.
#pragma once

#include <string>
#include <vector>

#include "core/build_host.h"
#include "core/frame_clock.h"

namespace pagefold::cli {

class CliHost : public BuildHost {
 public:
  CliHost(std::string sourceFolder, std::vector<std::string> ticked, std::string startFile,
          std::string resourceFile, bool keepAll, bool answerOk);
  // Ends a stage line that is still open.
  ~CliHost() override;

  // The question that was declined because --yes was not given; empty if none.
  const std::string& DeclinedQuestion() const { return declinedQuestion_; }

  // Writes a line of its own on stderr, ending an open counter line first.
  void PrintLine(const std::string& text);

  std::string SourceFolder() override { return sourceFolder_; }
  std::vector<std::string> TickedItems() override { return ticked_; }
  std::string StartFile() override { return startFile_; }
  void SetStartFile(const std::string& name) override { startFile_ = name; }
  std::string ResourceFile() override { return resourceFile_; }
  bool KeepAll() override { return keepAll_; }
  void SetStatusText(int panel, const std::string& text) override;
  void SetProgressMax(int) override {}
  void SetProgressPosition(int) override {}
  void AdvanceProgress() override {}
  void PumpOneEvent() override {}
  void PumpAllEvents() override {}
  bool AskOkCancel(const std::string& caption, const std::string& text) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  void SetWindowEnabled(bool) override {}
  void SetCheckListEnabled(bool) override {}
  // Ctrl+C or a request to end the program (see platform::CatchInterrupts).
  bool Closing() override;

 private:
  void ShowCount(const std::string& count);
  void EndLine();

  const std::string sourceFolder_;
  const std::vector<std::string> ticked_;
  std::string startFile_;
  const std::string resourceFile_;
  const bool keepAll_;
  const bool answerOk_;
  const bool terminal_;
  bool lineOpen_ = false;  // a stage line without its line break yet
  std::string stage_;
  FrameClock frames_;
  std::string unshownCount_;  // the stage's last count, when not written yet
  std::string declinedQuestion_;
};

}  // namespace pagefold::cli
