#include "platform/program.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/windows/wide_text.h"

namespace zuvprint::platform {

std::string ProgramPath(const char* argv0) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return argv0 ? argv0 : "";
    if (length < path.size()) return Utf8(std::wstring_view(path.data(), length));
    path.resize(path.size() * 2);  // cut off: try a longer buffer
  }
}

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) arguments.push_back(Utf8(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

void PrepareProcess() {}  // the Windows heap needs no settings here

}  // namespace zuvprint::platform
