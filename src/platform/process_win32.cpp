#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <optional>
#include <vector>

#include "platform/folder_handle.h"
#include "platform/native_path.h"
#include "platform/process.h"
#include "platform/process_output.h"
#include "text/cp1251.h"

namespace pagefold::platform {
namespace {

constexpr DWORD kSliceMs = 10;  // how often the pipe is emptied while waiting

// One argument as the C runtime of the started program reads it back: quoted
// when it is empty or holds blanks or quotes, with the backslashes before a
// quote doubled.
std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L'"';
}

// This program's environment with the entries added, as CreateProcessW takes
// it with CREATE_UNICODE_ENVIRONMENT; empty when nothing is added.
std::optional<std::wstring> EnvironmentWith(const std::vector<std::string>& added) {
  std::wstring block;
  if (added.empty()) return block;
  wchar_t* own = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = own; entry && *entry; entry += std::wcslen(entry) + 1) block.append(entry).push_back(L'\0');
  if (own) ::FreeEnvironmentStringsW(own);
  for (const std::string& entry : added) {
    const auto wide = ToNativePath(entry);
    if (!wide) return std::nullopt;
    block.append(*wide).push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

// A job that ends every process in it when its last handle closes, which
// this program's end does whatever ends it.
HANDLE KillOnCloseJob() {
  const HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
  if (!job) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) return job;
  ::CloseHandle(job);
  return nullptr;
}

}  // namespace

struct Process::Impl {
  HANDLE process = nullptr;  // nullptr: nothing to wait for
  HANDLE job = nullptr;      // the job it runs in
  HANDLE output = nullptr;   // read end of the pipe; nullptr once it is closed
  bool exited = false;
  DWORD exitCode = 0;
  ProcessOutput printed;

  // Takes in what the pipe holds now, without blocking; closes it at its end.
  void Drain() {
    char buffer[1 << 14];
    while (output) {
      DWORD available = 0, n = 0;
      if (!::PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr)) {
        ::CloseHandle(output);
        output = nullptr;
        return;
      }
      if (available == 0) return;
      if (!::ReadFile(output, buffer, std::min<DWORD>(available, sizeof buffer), &n, nullptr)) return;
      printed.Append(buffer, static_cast<std::size_t>(n));
    }
  }

  void Forget() {
    ::CloseHandle(process);
    process = nullptr;
  }
};

Process::Process() : impl_(std::make_unique<Impl>()) {}

Process::~Process() {
  Terminate();
  if (impl_->output) ::CloseHandle(impl_->output);
  if (impl_->job) ::CloseHandle(impl_->job);
}

bool Process::Start(const std::string& program, const std::string& argument, const Handover& handover) {
  const auto nativeProgram = ToNativePath(program);
  const auto utf16Argument = text::Cp1251ToUtf16(argument);
  std::vector<std::string> added = handover.environment;
  if (handover.folder) added.push_back(std::string(FolderHandle::kHandedOverName) + "=" + handover.folder->Path());
  auto environment = EnvironmentWith(added);
  if (!nativeProgram || !utf16Argument || !environment) {
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherited, 1 << 16)) return false;
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  const HANDLE input = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                     OPEN_EXISTING, 0, nullptr);

  // Only the two handles given to the child are inherited, not every
  // inheritable handle that this program holds.
  HANDLE inheritedHandles[] = {writeEnd, input};
  const DWORD handleCount = input != INVALID_HANDLE_VALUE ? 2 : 1;
  SIZE_T listSize = 0;
  ::InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<char> listBytes(listSize);
  auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBytes.data());
  const bool initialized = ::InitializeProcThreadAttributeList(list, 1, 0, &listSize);
  const bool listed = initialized &&
                      ::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inheritedHandles,
                                                  handleCount * sizeof(HANDLE), nullptr, nullptr);

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = listed ? sizeof startup : sizeof startup.StartupInfo;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = input;
  startup.StartupInfo.hStdOutput = writeEnd;
  startup.StartupInfo.hStdError = writeEnd;
  startup.lpAttributeList = listed ? list : nullptr;
  // A program path cannot hold a quote, so quoting it is enough.
  std::wstring commandLine = L"\"" + *nativeProgram + L"\" " +
                             QuoteArgument(std::wstring(utf16Argument->begin(), utf16Argument->end()));
  PROCESS_INFORMATION started{};
  const HANDLE job = KillOnCloseJob();
  // A process group of its own: a console's Ctrl+C reaches only this program.
  // Suspended until it is in the job, so that nothing it starts escapes it.
  const DWORD flags = CREATE_NO_WINDOW | CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT |
                      (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
  bool ok = job && ::CreateProcessW(nativeProgram->c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                                    environment->empty() ? nullptr : environment->data(), nullptr,
                                    &startup.StartupInfo, &started);
  DWORD error = ::GetLastError();
  if (ok && (!::AssignProcessToJobObject(job, started.hProcess) || ::ResumeThread(started.hThread) == DWORD(-1))) {
    error = ::GetLastError();
    ::TerminateProcess(started.hProcess, 1);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    ok = false;
  }
  if (initialized) ::DeleteProcThreadAttributeList(list);
  ::CloseHandle(writeEnd);
  if (input != INVALID_HANDLE_VALUE) ::CloseHandle(input);
  if (!ok) {
    ::CloseHandle(readEnd);
    if (job) ::CloseHandle(job);
    ::SetLastError(error);
    return false;
  }
  ::CloseHandle(started.hThread);
  if (impl_->job) ::CloseHandle(impl_->job);
  impl_->job = job;
  impl_->process = started.hProcess;
  impl_->output = readEnd;
  return true;
}

Process::State Process::Wait(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (!impl_->process) return impl_->exited ? State::Exited : State::Lost;
    impl_->Drain();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    const DWORD slice = static_cast<DWORD>(std::clamp<long long>(left, 0, kSliceMs));
    const DWORD result = ::WaitForSingleObject(impl_->process, slice);
    if (result == WAIT_OBJECT_0) {
      ::GetExitCodeProcess(impl_->process, &impl_->exitCode);
      impl_->Forget();
      impl_->exited = true;
      impl_->Drain();  // the program has ended: the pipe holds all it printed
      return State::Exited;
    }
    if (result != WAIT_TIMEOUT) {
      impl_->Forget();
      return State::Lost;
    }
    if (Clock::now() >= deadline) return State::Running;
  }
}

int Process::ExitCode() const { return static_cast<int>(impl_->exitCode); }

std::string Process::Output() const { return impl_->printed.Text(); }

void Process::Terminate() {
  if (!impl_->process) return;
  ::TerminateProcess(impl_->process, 1);
  ::WaitForSingleObject(impl_->process, INFINITE);
  impl_->Forget();
}

bool RefusedToRunFrom(int code) { return code == ERROR_ACCESS_DENIED; }

}  // namespace pagefold::platform
