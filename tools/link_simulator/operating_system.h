// The little that differs between the systems the simulator runs on, one
// file each: posix/ and windows/. Names are the narrow names that fopen
// takes (bytes on Linux, the ANSI code page on Windows), as the command
// line hands them over, so that asking about a file and opening it always
// mean the same file.
#pragma once

#include <ctime>
#include <string>

namespace zuvlink {

enum class FileKind {
  kMissing,  // no such file
  kOther,    // a directory, a device, a pipe: nothing to read as a file
  kRegular,  // a file, or a name the system would not tell about: opening it says why
};

FileKind KindOfFile(const std::string& path);

// Whether an errno value of a failed write means the disk (or the user's
// share of it) is full.
bool MeansDiskFull(int error);

// The calendar time in the local time zone.
std::tm LocalTime(std::time_t time);

}  // namespace zuvlink
