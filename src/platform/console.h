// The terminal of a command-line program: its arguments, its output streams and
// the current folder, in the program's Windows-1251 texts.
#pragma once

#include <optional>
#include <string>

namespace pagefold::platform {

// The command-line argument argv[index] of main in Windows-1251; nothing when
// a character of it has no Windows-1251 form. On Windows it is read from the
// wide command line, which holds what the ANSI code page cannot.
std::optional<std::string> ArgumentText(char** argv, int index);

// From now on a write to an output that has been closed (a pipe whose
// reader has gone) only loses its text instead of ending the program.
void KeepRunningWhenOutputCloses();

// Writes the text to the standard error stream in the terminal's encoding.
void WriteToStderr(const std::string& text);

// Writes the text to the standard output stream in the terminal's encoding.
void WriteToStdout(const std::string& text);

// True when the standard error stream is a terminal (not a file or a pipe).
bool StderrIsTerminal();

// The path made absolute against the current folder; nothing when the current
// folder's name has no Windows-1251 form.
std::optional<std::string> AbsolutePath(const std::string& path);

}  // namespace pagefold::platform
