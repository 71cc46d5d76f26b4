// The seam between the build pipeline and its front end (the window, the
// terminal, or a test). The pipeline reads its inputs and reports everything
// it shows through this interface only.
#pragma once

#include <string>
#include <vector>

namespace pagefold {

class BuildHost {
 public:
  virtual ~BuildHost() = default;

  // Inputs of a build, read when the pipeline needs them.
  virtual std::string SourceFolder() = 0;
  virtual std::vector<std::string> TickedItems() = 0;  // in list order
  virtual std::string StartFile() = 0;  // may change between two steps of a build
  virtual void SetStartFile(const std::string& name) = 0;
  virtual std::string ResourceFile() = 0;
  virtual bool KeepAll() = 0;  // "Не проверять используемость файлов"

  // Status bar: panel 0 holds the counter, panel 1 the stage text.
  virtual void SetStatusText(int panel, const std::string& text) = 0;
  virtual void SetProgressMax(int max) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void AdvanceProgress() = 0;

  // Event pumps. Neither waits for input: each handles what is pending and returns.
  virtual void PumpOneEvent() = 0;
  virtual void PumpAllEvents() = 0;

  // Dialogs. Texts are Windows-1251.
  virtual bool AskOkCancel(const std::string& caption, const std::string& text) = 0;
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;

  virtual void SetWindowEnabled(bool enabled) = 0;
  virtual void SetCheckListEnabled(bool enabled) = 0;

  // True once the user has asked to end the program. The build then stops at
  // its next event pump (see BuildCancelled).
  virtual bool Closing() = 0;
};

}  // namespace pagefold
