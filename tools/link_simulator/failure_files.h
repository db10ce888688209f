// What a failed job leaves behind: the family's error file in the work
// directory, whose first line the library copies into its error log, and,
// when the printout broke off, the print-end marker END_TASM in the host's
// directory, on which the host offers to finish the receipt.
#pragma once

#include <filesystem>
#include <string>

namespace zuvlink {

// Writes the error file: the text (code page 852), CR LF, the detail, CR LF.
void WriteErrorFile(const std::string& path, const std::string& text, const std::string& detail);

// The host's directory of a work directory: the one above it, or two above
// for the variant's subdirectory MERA30 (in any case).
std::filesystem::path HostDirectory(const std::filesystem::path& workDirectory);

// Leaves END_TASM in the directory.
void WritePrintEndMarker(const std::filesystem::path& hostDirectory, const std::string& program);

}  // namespace zuvlink
