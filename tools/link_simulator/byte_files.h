// Whole files read and written as bytes. Every failure is a failed job
// whose text says which file and why, in the printer's language.
#pragma once

#include <cstddef>
#include <string>

namespace zuvlink {

// Input is untrusted: no file of more than this is read.
constexpr std::size_t kLargestInput = 1 << 20;

// The bytes of the file; what names the file in a failure ("Plik paragonu").
std::string ReadWholeFile(const std::string& path, const std::string& what);

// Creates (or empties) the file and writes the bytes.
void WriteWholeFile(const std::string& path, const std::string& bytes, const std::string& what);

// Adds the bytes at the file's end, creating it when it does not exist.
void AppendToFile(const std::string& path, const std::string& bytes, const std::string& what);

}  // namespace zuvlink
