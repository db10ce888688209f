#include "family.h"

#include "ascii_case.h"

namespace zuvlink {

// Both systems' separators: Windows hands over argv[0] as the command was
// typed or found ("C:\HOST\FISK\ELZABDR.EXE", "D:ELZABDR.EXE",
// "./ELZABDR.EXE"), and no family's name holds any of them.
std::string ProgramName(std::string_view argv0) {
  std::size_t separator = argv0.find_last_of("/\\:");
  return std::string(separator == std::string_view::npos ? argv0 : argv0.substr(separator + 1));
}

// Windows starts "ELZABDR" as ELZABDR.EXE, so the name counts without its
// ".EXE" too.
std::optional<Family> FamilyOfProgram(std::string_view argv0) {
  static const Family kFamilies[] = {{"FP600", "ELZABDR.EXE", "ERROR.FP6"}, {"DF301", "POSNETDR.EXE", "ERROR.DF3"}};
  constexpr std::string_view kExtension = ".EXE";
  std::string name = ProgramName(argv0);
  for (const Family& family : kFamilies) {
    std::string_view program = family.program;
    if (EqualIgnoringAsciiCase(name, program) ||
        EqualIgnoringAsciiCase(name, program.substr(0, program.size() - kExtension.size()))) {
      return family;
    }
  }
  return std::nullopt;
}

}  // namespace zuvlink
