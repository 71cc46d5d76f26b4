// The bytes of pagefold-rc inside the program, registered as the program's
// resource of type "EXE" and name "BRCC32".
#include "platform/own_resources.h"

// PE objects know neither .pushsection nor .rodata: their read-only section
// is .rdata, and the code goes on in .text.
#ifdef _WIN32
#define PAGEFOLD_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#define PAGEFOLD_PREVIOUS_SECTION ".text\n"
#else
#define PAGEFOLD_READ_ONLY_SECTION ".pushsection .rodata\n"
#define PAGEFOLD_PREVIOUS_SECTION ".popsection\n"
#endif

asm(PAGEFOLD_READ_ONLY_SECTION
    ".balign 16\n"
    "pagefold_carried_compiler_begin:\n"
    ".incbin \"" PAGEFOLD_CARRIED_BINARY "\"\n"
    "pagefold_carried_compiler_end:\n"
    PAGEFOLD_PREVIOUS_SECTION);

extern "C" const unsigned char kCarriedBegin[] asm("pagefold_carried_compiler_begin");
extern "C" const unsigned char kCarriedEnd[] asm("pagefold_carried_compiler_end");

namespace {

[[maybe_unused]] const bool kRegistered = pagefold::platform::RegisterOwnResource(
    "EXE", "BRCC32", {kCarriedBegin, static_cast<std::size_t>(kCarriedEnd - kCarriedBegin)});

}  // namespace
