// A program started with one argument, whose end is waited for in short
// steps so that the caller can do other work in between.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pagefold::platform {

class FolderHandle;

// What a started program gets beside its argument.
struct Handover {
  // "NAME=value" entries added to the environment it inherits.
  std::vector<std::string> environment;
  // A folder it opens with FolderHandle::OpenHandedOver: on POSIX the folder
  // this program holds open, on Windows by its path while this program holds
  // it. Nothing: none.
  const FolderHandle* folder = nullptr;
};

class Process {
 public:
  enum class State {
    Running,  // not ended yet
    Exited,   // ended; ExitCode() holds its status
    Lost,     // cannot be waited on (the system no longer knows it as our child)
  };

  Process();
  // A program still running is ended.
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts the program with exactly one argument, without a shell and without
  // a window: blanks and quotes in either text mean nothing. The program
  // inherits the current folder; its standard input is empty and its standard
  // output and error are captured together; no other open file of this
  // program reaches it. It runs in a process group of its own, so that a
  // terminal's Ctrl+C reaches only this program. False when it cannot be
  // started, with LastErrorCode() telling why. It ends when this program
  // ends, a kill included: on POSIX it gets SIGTERM when the thread that
  // started it ends, on Windows it runs in a job that ends with this program.
  bool Start(const std::string& program, const std::string& argument, const Handover& handover = {});

  // Waits at most timeoutMs for the program's end, taking in what it prints
  // meanwhile.
  State Wait(int timeoutMs);

  // The exit status after Wait reported Exited: the program's exit code, or
  // 128 plus the number of the signal that ended it.
  int ExitCode() const;

  // What the program printed on standard output and error (the first 1 MiB),
  // in Windows-1251 when it converts, else as printed.
  std::string Output() const;

  // Ends the program and its process group at once and collects it.
  void Terminate();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// True when the error code of a failed Start means that the system runs no
// programs from that file's folder (a file system mounted noexec; on Windows
// access denied, as a policy for the folder gives).
bool RefusedToRunFrom(int code);

}  // namespace pagefold::platform
