#include "host/till_library.h"

#include <windows.h>

#include <string>

#include "host/export_names.h"
#include "platform/windows/wide_text.h"

namespace zuvtill::host {
namespace {

using zuvprint::platform::Utf8;
using zuvprint::platform::Wide;
using zuvprint::platform::WindowsErrorText;

// The libraries whose upper-case exports are host functions, in the order
// they are searched: the till library first, then what it binds.
constexpr const wchar_t* kBoundLibraries[] = {L"zuvtill.dll",  L"zuvcore.dll",   L"zuvfault.dll", L"zuvorg.dll",
                                              L"zuvelzab.dll", L"zuvposnet.dll", L"zuvcollect.dll"};

}  // namespace

const char* const kTillLibraryName = "zuvtill.dll";

TillLibrary::TillLibrary(const std::string& path) {
  // The libraries it binds are looked for beside it first, as the host
  // finds them beside itself, whichever program loads it.
  handle_ = ::LoadLibraryExW(Wide(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!handle_) throw LoadError(WindowsErrorText(::GetLastError()));
}

TillLibrary::~TillLibrary() { ::FreeLibrary(static_cast<HMODULE>(handle_)); }

runtime::HostFunction TillLibrary::Find(std::string_view upperName) const {
  if (!IsExportName(upperName)) return nullptr;
  const std::string name(upperName);
  for (const wchar_t* library : kBoundLibraries) {
    HMODULE module = ::GetModuleHandleW(library);
    if (!module) continue;
    if (FARPROC symbol = ::GetProcAddress(module, name.c_str())) {
      return reinterpret_cast<runtime::HostFunction>(reinterpret_cast<void*>(symbol));
    }
  }
  return nullptr;
}

std::string TillLibraryBesideProgram() {
  std::wstring program(MAX_PATH, L'\0');
  DWORD n;
  while ((n = ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()))) == program.size()) {
    program.resize(program.size() * 2);
  }
  program.resize(n);
  std::size_t slash = program.find_last_of(L"\\/");
  return Utf8(slash == std::wstring::npos ? L"." : program.substr(0, slash)) + "\\" + kTillLibraryName;
}

}  // namespace zuvtill::host
