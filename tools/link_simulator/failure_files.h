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

// The host's directory seen from the work directory: the one above it
// (".."), or two above ("../..") for the variant's subdirectory MERA30 (in
// any case). Relative, so that the marker is written by a name that needs
// no conversion between the system's and the C library's coding.
std::string HostDirectory(const std::filesystem::path& workDirectory);

// Leaves END_TASM in the directory.
void WritePrintEndMarker(const std::string& hostDirectory, const std::string& program);

}  // namespace zuvlink
