#include "platform/process.h"

#include <cstring>

namespace zuvprint::platform {
namespace {

std::string Describe(ProcessError::Stage stage, int error) {
  std::string what;
  switch (stage) {
    case ProcessError::Stage::Pipe: what = "cannot create pipes"; break;
    case ProcessError::Stage::Start: what = "cannot start program"; break;
    case ProcessError::Stage::Read: what = "cannot read program output"; break;
    case ProcessError::Stage::Wait: what = "cannot wait for program"; break;
    case ProcessError::Stage::OutputLimit: return "program output too long";
  }
  return what + ": " + std::strerror(error);
}

}  // namespace

ProcessError::ProcessError(Stage stage, int error)
    : std::runtime_error(Describe(stage, error)), stage_(stage), error_(error) {}

ChildProcess::~ChildProcess() { KillAndReap(); }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         std::size_t outputLimit) {
  ChildProcess child(program, arguments);
  return child.Finish(outputLimit);
}

}  // namespace zuvprint::platform
