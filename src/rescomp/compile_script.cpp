#include "rescomp/compile_script.h"

#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/folder_handle.h"
#include "platform/interrupts.h"
#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "resformat/compile_handover.h"
#include "resformat/res_temporary.h"
#include "rescomp/res_writer.h"
#include "rescomp/script_error.h"
#include "rescomp/script_parser.h"

namespace pagefold::rescomp {
namespace {

std::string SystemReason() { return platform::SystemErrorText(platform::LastErrorCode()); }

std::string ReadScript(const std::string& scriptPath) {
  platform::FileReader file;
  if (!file.Open(scriptPath)) throw ScriptError(0, "cannot open the script: " + SystemReason());
  std::string script;
  char chunk[1 << 16];
  for (;;) {
    const std::int64_t n = file.Read(chunk, sizeof chunk);
    if (n < 0) throw ScriptError(0, "cannot read the script: " + SystemReason());
    if (n == 0) return script;
    script.append(chunk, static_cast<std::size_t>(n));
  }
}

// Creates a fresh temporary file beside the target; an existing one (left by
// another run) is never touched.
std::string CreateTemporary(platform::FileWriter& out, const std::string& target) {
  for (int attempt = 0; attempt < resformat::kTemporaryAttempts; ++attempt) {
    const std::string path = resformat::TemporaryResPath(target, attempt);
    const platform::InterruptsHeld held;
    switch (out.Create(path, platform::FileWriter::Mode::Normal)) {
      case platform::FileWriter::CreateResult::Created:
        platform::RemoveFileOnInterrupt(path);
        return path;
      case platform::FileWriter::CreateResult::AlreadyExists:
        continue;
      case platform::FileWriter::CreateResult::Failed:
        throw ScriptError(0, "cannot create \"" + DisplayPath(path) + "\": " + SystemReason());
    }
  }
  throw ScriptError(0, "cannot create a temporary file beside \"" + DisplayPath(target) + "\"");
}

}  // namespace

std::string ResPathFor(const std::string& scriptPath) {
  const std::string separators = {'\\', platform::NativeSeparator()};
  const std::size_t folder = scriptPath.find_last_of(separators);
  const std::size_t nameStart = folder == std::string::npos ? 0 : folder + 1;
  const std::size_t dot = scriptPath.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart;
  return scriptPath.substr(0, hasExtension ? dot : std::string::npos) + ".res";
}

void CompileScript(const std::string& scriptPath) {
  const std::string target = ResPathFor(scriptPath);
  if (target == scriptPath) throw ScriptError(0, "the script cannot be its own output");
  const std::string script = ReadScript(scriptPath);
  // Started by a build: only the script it wrote, only files of its work folder.
  const char* digest = std::getenv(resformat::kScriptDigestName);
  platform::FolderHandle work;
  if (digest && digest != resformat::Sha256Hex(script))
    throw ScriptError(0, "the script is not the one the build wrote", resformat::kScriptNotTheBuilds);
  if (digest && !work.OpenHandedOver())
    throw ScriptError(0, "the build handed over no work folder", resformat::kFileNotTheBuilds);
  const std::vector<ResourceStatement> resources = ParseScript(script);
  platform::FileWriter out;
  const std::string temporary = CreateTemporary(out, target);
  try {
    WriteResFile(resources, out, DisplayPath(temporary), digest ? &work : nullptr);
    if (!out.Close()) throw ScriptError(0, "cannot write \"" + DisplayPath(temporary) + "\": " + SystemReason());
    if (digest && !work.StillAtPath())
      throw ScriptError(0, "the build's work folder \"" + DisplayPath(work.Path()) + "\" was swapped",
                        resformat::kFileNotTheBuilds);
    if (!platform::ReplaceFileWith(temporary, target))
      throw ScriptError(0, "cannot replace \"" + DisplayPath(target) + "\": " + SystemReason());
    platform::RemoveFileOnInterrupt("");
  } catch (...) {
    platform::RemoveFileOnInterrupt("");
    out.Close();
    platform::RemoveFile(temporary);
    throw;
  }
}

}  // namespace pagefold::rescomp
