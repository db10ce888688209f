// The host names files the DOS way: "FISK\ERROR.FP6", relative to the
// current directory, letters in either case. These map such a name onto
// the Linux file system and the system's errors onto DOS error codes.
#pragma once

#include <string>
#include <string_view>

namespace zuvtill::runtime {

// Backslashes become slashes, and each part of the path that does not
// exist as spelled is matched case-insensitively against its directory (the
// first match in name order), as a Windows file system would find it. Parts
// that match nothing stay as spelled, so a new file gets the given name.
std::string HostPath(std::string_view dosPath);

// The DOS error code of an errno value: 2 file not found, 3 path not
// found, 4 too many open files, 5 access denied, 6 invalid handle, 8 out of
// memory, 19 write-protected, 29 write fault, 30 read fault, 32 sharing
// violation, 33 lock violation; 0 for 0.
int DosError(int errnoValue);

// The code of a failed open or create of path: ENOENT is 3 (path not found)
// when the directory of path does not exist, else 2.
int DosErrorForPath(int errnoValue, const std::string& linuxPath);

}  // namespace zuvtill::runtime
