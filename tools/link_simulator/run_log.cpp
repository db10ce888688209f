#include "run_log.h"

#include "byte_files.h"

namespace zuvlink {

void AppendRunLog(const std::string& programName, const std::vector<std::string>& arguments) {
  std::string line = programName;
  for (const std::string& argument : arguments) line += " " + argument;
  AppendToFile(kRunLog, line + "\r\n", "Dziennik symulatora");
}

}  // namespace zuvlink
