#include "core/compiler_runner.h"

#include "core/build_cancelled.h"
#include "core/build_texts.h"
#include "platform/file_ops.h"
#include "platform/file_writer.h"
#include "platform/folder_ops.h"
#include "platform/own_resources.h"
#include "platform/platform_error.h"
#include "platform/temp_folder.h"
#include "resformat/res_temporary.h"

namespace pagefold {
namespace {

constexpr int kPollMs = 50;

[[noreturn]] void RaiseSystemError(int code) {
  const std::string reason = code != 0 ? platform::SystemErrorText(code) : "A call to an OS function failed";
  throw platform::PlatformError("System Error.  Code: " + std::to_string(code) + ".\n" + reason);
}

}  // namespace

std::string GetTempDir() { return platform::TempFolder(); }

std::string CompilerPathIn(const std::string& folder) { return folder + "brcc32.exe"; }

CompilerFolder::CompilerFolder(const std::string& parent) {
  const auto made = platform::MakePrivateFolder(parent);
  if (!made) RaiseSystemError(platform::LastErrorCode());
  folder_ = *made;
  compiler_ = CompilerPathIn(folder_);
}

CompilerFolder::~CompilerFolder() {
  platform::RemoveFile(compiler_);
  platform::RemoveFolder(folder_);
}

bool ExtractResourceFile(const std::string& type, const std::string& name, const std::string& path) {
  const auto bytes = platform::FindOwnResource(type, name);
  if (!bytes) throw platform::PlatformError("Resource " + name + " not found");
  platform::FileWriter file;
  switch (file.Create(path, platform::FileWriter::Mode::OwnerExecutable)) {
    case platform::FileWriter::CreateResult::AlreadyExists:
      return false;
    case platform::FileWriter::CreateResult::Failed:
      RaiseSystemError(platform::LastErrorCode());
    case platform::FileWriter::CreateResult::Created:
      break;
  }
  if (!file.Write(bytes->data, bytes->size) || !file.Close()) {
    const int code = platform::LastErrorCode();
    file.Close();
    platform::RemoveFile(path);
    RaiseSystemError(code);
  }
  return true;
}

namespace {

RunResult Run(BuildHost& host, const std::string& program, const std::string& parameter,
              const platform::Handover& handover, bool showRefusal) {
  platform::Process process;
  if (!process.Start(program, parameter, handover)) {
    const int code = platform::LastErrorCode();
    RunResult failed;
    failed.refused = platform::RefusedToRunFrom(code);
    if (showRefusal || !failed.refused) host.ShowMessage(texts::kProgramName, platform::SystemErrorText(code));
    return failed;
  }
  platform::Process::State state;
  while ((state = process.Wait(kPollMs)) == platform::Process::State::Running) {
    host.PumpAllEvents();
    if (host.Closing()) {
      process.Terminate();
      throw BuildCancelled();
    }
  }
  RunResult result;
  result.started = true;
  result.exitCode = state == platform::Process::State::Exited ? process.ExitCode() : -1;
  result.output = process.Output();
  return result;
}

}  // namespace

RunResult RunAndWait(BuildHost& host, const std::string& program, const std::string& parameter,
                     const platform::Handover& handover) {
  return Run(host, program, parameter, handover, true);
}

RunResult RunUnlessRefused(BuildHost& host, const std::string& program, const std::string& parameter,
                           const platform::Handover& handover) {
  return Run(host, program, parameter, handover, false);
}

UnfinishedOutput::UnfinishedOutput(const std::string& resPath) {
  for (int attempt = 0; attempt < resformat::kTemporaryAttempts; ++attempt) {
    std::string path = resformat::TemporaryResPath(resPath, attempt);
    if (!platform::FileExists(path)) absent_.push_back(std::move(path));
  }
}

void UnfinishedOutput::Remove() const {
  for (const std::string& path : absent_) platform::RemoveFile(path);
}

}  // namespace pagefold
