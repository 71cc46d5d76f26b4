// The 32-bit Windows resource file (.res): an empty entry, then for every
// resource a header, its data and zero padding to a 4-byte boundary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_writer.h"
#include "platform/folder_handle.h"
#include "rescomp/script_parser.h"

namespace pagefold::rescomp {

// The entry that opens every .res file: 32 bytes, type and name ordinal 0.
std::string EmptyEntry();

// The header of one resource: sizes, type and name as strings, the memory
// flags 0x0030 and the language.
std::string ResourceHeader(const std::u16string& type, const std::u16string& name,
                           std::uint16_t language, std::uint32_t dataSize);

// The zero bytes that bring data of the size to a 4-byte boundary.
std::string PaddingAfter(std::uint64_t dataSize);

// Writes the whole .res into `out`, named outName in messages, with the files
// read ahead on a second thread (read_ahead.h). With a folder (the build's
// work folder), every file must be a file right inside it, opened through it
// and never through a link, and is removed from it once packed: the build
// throws the folder away after the compiler, and a file removed here spares
// it a pass over every file then. Raises ScriptError with the resource's line
// when a file cannot be read, is too large or lies elsewhere (exit code
// resformat::kFileNotTheBuilds), and with line 0 when the output cannot be
// written.
void WriteResFile(const std::vector<ResourceStatement>& resources, platform::FileWriter& out,
                  const std::string& outName, platform::FolderHandle* inside = nullptr);

// A path as the messages show it: in Windows-1251, with the platform's separator.
std::string DisplayPath(const std::string& path);

}  // namespace pagefold::rescomp
