// Compiling a resource script file into the .res file beside it.
#pragma once

#include <string>

namespace pagefold::rescomp {

// The output of a script: same folder, the script's base name, ".res".
std::string ResPathFor(const std::string& scriptPath);

// Reads the script, writes its .res to a temporary file in the same folder
// and renames it over the target once everything has succeeded. Raises
// ScriptError; then no .res is left behind and an existing one is untouched.
// Started by a build (resformat/compile_handover.h), it compiles only the
// script whose digest the build gave, from files right inside the work
// folder the build handed over, and only while that folder's path still
// names it.
void CompileScript(const std::string& scriptPath);

}  // namespace pagefold::rescomp
