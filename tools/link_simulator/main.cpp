// zuvlink: the fiscal printer's link program, simulated. Copied or linked
// into a work directory as ELZABDR.EXE (family FP600) or POSNETDR.EXE
// (DF301) and started there by the library, it carries out the job of its
// command line as a printer would, or fails it the way SYMULATOR.INI asks.
// A failed job leaves the family's error file and exits 1; a job done
// exits 0; a name of no family exits 2.
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "failure_files.h"
#include "family.h"
#include "file_text.h"
#include "job_failure.h"
#include "jobs.h"
#include "run_log.h"
#include "settings.h"

namespace zuvlink {
namespace {

constexpr char kSettingsFile[] = "SYMULATOR.INI";

// The error file, the print-end marker when asked for or when the paper
// ended, a line for people on standard error; exit status 1.
int Failed(const Family& family, const Settings& settings, const std::string& commandLine, const JobFailure& failure) {
  std::fprintf(stderr, "%s: %s\n", family.program.c_str(), ForPeople(failure.Text()).c_str());
  try {
    WriteErrorFile(family.errorFile, failure.Text(), Cp852("Polecenie: ") + commandLine);
    if (settings.printEndMarker || failure.PaperOut()) {
      WritePrintEndMarker(HostDirectory(std::filesystem::current_path()), family.program);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", family.program.c_str(), ForPeople(e.what()).c_str());
  }
  return 1;
}

int Run(const Family& family, const std::string& name, const std::vector<std::string>& arguments) {
  std::string commandLine = name;
  for (const std::string& argument : arguments) commandLine += " " + argument;
  Settings settings;
  try {
    AppendRunLog(name, arguments);
    settings = ReadSettings(kSettingsFile);
    if (settings.exitStatus) return *settings.exitStatus;
    // An error file of an earlier run would make this one look failed.
    std::error_code ignored;
    std::filesystem::remove(family.errorFile, ignored);
    if (settings.errorText) throw JobFailure(SettingForFile(*settings.errorText));
    RunJob(CheckCommandLine(family, arguments), family, settings, std::time(nullptr));
    return 0;
  } catch (const JobFailure& failure) {
    return Failed(family, settings, commandLine, failure);
  } catch (const std::exception& e) {
    return Failed(family, settings, commandLine, JobFailure(Cp852("Błąd symulatora: ") + e.what()));
  }
}

}  // namespace
}  // namespace zuvlink

int main(int argc, char** argv) {
  std::string name = zuvlink::ProgramName(argc > 0 ? argv[0] : "");
  std::optional<zuvlink::Family> family = zuvlink::FamilyOfProgram(name);
  if (!family) {
    std::fprintf(stderr, "zuvlink: started as \"%s\": a link program runs as ELZABDR.EXE or POSNETDR.EXE\n",
                 name.c_str());
    return 2;
  }
  return zuvlink::Run(*family, name, std::vector<std::string>(argv + 1, argv + argc));
}
