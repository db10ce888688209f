// The host names files the DOS way: "FISK\ERROR.FP6", relative to the
// current directory, letters in either case, bytes in code page 852. These
// map such a name onto the file system of the system the runtime runs on.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zuvtill::runtime {

// The host's name as the runtime's file calls take it, its parts
// separated by '/'. On Windows, whose file systems match names
// case-insensitively already, only the separators change. On POSIX each
// part of the path that does not exist as spelled is matched
// case-insensitively against its directory (the first match in name
// order), as a Windows file system would find it; parts that match nothing
// stay as spelled, so a new file gets the given name.
std::string HostPath(std::string_view dosPath);

// A HostPath result as the standard library's path. On Windows the code
// page 852 bytes become their UTF-16 characters (the same on every machine,
// whatever its OEM code page); on POSIX the bytes stay as they are.
std::filesystem::path NativePath(std::string_view hostPath);
// A name from the file system (a directory entry) in the host's bytes, the
// inverse of NativePath; a character that code page 852 lacks becomes '?'.
std::string HostName(const std::filesystem::path& name);

// POSIX only: the DOS error code of an errno value: 2 file not found, 3
// path not found, 4 too many open files, 5 access denied, 6 invalid handle,
// 8 out of memory, 19 write-protected, 29 write fault (a full device
// included), 30 read fault, 32 sharing violation, 33 lock violation; 0 for
// 0. (On Windows the system's error codes are DOS codes already.)
int DosError(int errnoValue);

// POSIX only: the code of a failed open or create of path: ENOENT is 3
// (path not found) when the directory of path does not exist, else 2.
int DosErrorForPath(int errnoValue, const std::string& linuxPath);

}  // namespace zuvtill::runtime
