// The printer family is the name the program was started under, as the
// library finds its link program by that name in the work directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zuvlink {

struct Family {
  std::string symbol;     // "FP600" or "DF301"
  std::string program;    // "ELZABDR.EXE" or "POSNETDR.EXE"
  std::string errorFile;  // left in the work directory when a job fails
};

// The family of argv[0]: its last path component compared without regard
// to case, with or without ".EXE"; nothing for any other name.
std::optional<Family> FamilyOfProgram(std::string_view argv0);

// The last path component of argv[0], a Linux or a Windows path.
std::string ProgramName(std::string_view argv0);

}  // namespace zuvlink
