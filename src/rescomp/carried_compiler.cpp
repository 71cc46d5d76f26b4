// The bytes of pagefold-rc inside the program, registered as the program's
// resource of type "EXE" and name "BRCC32".
#include "platform/own_resources.h"

asm(".pushsection .rodata\n"
    ".balign 16\n"
    "pagefold_carried_compiler_begin:\n"
    ".incbin \"" PAGEFOLD_CARRIED_BINARY "\"\n"
    "pagefold_carried_compiler_end:\n"
    ".popsection\n");

extern "C" const unsigned char kCarriedBegin[] asm("pagefold_carried_compiler_begin");
extern "C" const unsigned char kCarriedEnd[] asm("pagefold_carried_compiler_end");

namespace {

[[maybe_unused]] const bool kRegistered = platform::RegisterOwnResource(
    "EXE", "BRCC32", {kCarriedBegin, static_cast<std::size_t>(kCarriedEnd - kCarriedBegin)});

}  // namespace
