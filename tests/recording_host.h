// A BuildHost for tests: holds the inputs of a build and records, in order,
// everything the pipeline shows, so that tests can compare the whole road.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/build_host.h"
#include "text/cp1251.h"

namespace testing_support {

// Host is BuildHost or an interface derived from it, for doubles of a
// window that record its other calls in the same log.
template <typename Host = pagefold::BuildHost>
class RecordingHostOf : public Host {
 public:
  // Inputs.
  std::string sourceFolder;
  std::vector<std::string> ticked;
  std::string startFile;
  std::string resourceFile;
  bool keepAll = false;
  bool answerOk = true;

  // What the pipeline did, one line per call, such as "panel1 Копируются файлы..."
  // (texts converted to UTF-8 for readable failures).
  std::vector<std::string> log;
  std::string panel[2];
  int progressMax = 0;
  int progressPosition = 0;
  bool windowEnabled = true;
  bool checkListEnabled = true;
  // Runs at every pump, so that tests can act "during" a build.
  std::function<void()> onPump;
  // What Closing() reports: set it to close the program during a build.
  bool closing = false;

  std::string SourceFolder() override { return sourceFolder; }
  std::vector<std::string> TickedItems() override { return ticked; }
  std::string StartFile() override { return startFile; }
  void SetStartFile(const std::string& name) override {
    startFile = name;
    Record("start " + name);
  }
  std::string ResourceFile() override { return resourceFile; }
  bool KeepAll() override { return keepAll; }

  void SetStatusText(int p, const std::string& text) override {
    panel[p] = text;
    Record("panel" + std::to_string(p) + " " + text);
  }
  void SetProgressMax(int max) override {
    progressMax = max;
    Record("max " + std::to_string(max));
  }
  void SetProgressPosition(int position) override {
    progressPosition = position;
    Record("pos " + std::to_string(position));
  }
  void AdvanceProgress() override {
    ++progressPosition;
    Record("pos " + std::to_string(progressPosition));
  }
  void PumpOneEvent() override {
    Record("pump1");
    if (onPump) onPump();
  }
  void PumpAllEvents() override {
    Record("pumpall");
    if (onPump) onPump();
  }
  bool AskOkCancel(const std::string& caption, const std::string& text) override {
    Record("ask " + caption + " | " + text);
    return answerOk;
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    Record("message " + caption + " | " + text);
  }
  void SetWindowEnabled(bool enabled) override {
    windowEnabled = enabled;
    Record(enabled ? "window on" : "window off");
  }
  void SetCheckListEnabled(bool enabled) override {
    checkListEnabled = enabled;
    Record(enabled ? "list on" : "list off");
  }

  bool Closing() override { return closing; }

  // The log lines that start with the prefix, in order.
  std::vector<std::string> Lines(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : log)
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
  }

 protected:
  void Record(const std::string& cp1251Line) {
    const auto utf8 = pagefold::text::Cp1251ToUtf8(cp1251Line);
    log.push_back(utf8 ? *utf8 : cp1251Line);
  }
};

using RecordingHost = RecordingHostOf<>;

}  // namespace testing_support
