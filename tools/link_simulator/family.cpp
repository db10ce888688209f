#include "family.h"

#include <strings.h>

namespace zuvlink {

std::string ProgramName(std::string_view argv0) {
  std::size_t slash = argv0.find_last_of('/');
  return std::string(slash == std::string_view::npos ? argv0 : argv0.substr(slash + 1));
}

std::optional<Family> FamilyOfProgram(std::string_view argv0) {
  static const Family kFamilies[] = {{"FP600", "ELZABDR.EXE", "ERROR.FP6"}, {"DF301", "POSNETDR.EXE", "ERROR.DF3"}};
  std::string name = ProgramName(argv0);
  for (const Family& family : kFamilies) {
    if (::strcasecmp(name.c_str(), family.program.c_str()) == 0) return family;
  }
  return std::nullopt;
}

}  // namespace zuvlink
