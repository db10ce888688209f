// RunShell on Windows: the command interpreter (COMSPEC, else the system's
// cmd.exe) started by CreateProcessW with "/C" and the command line, in the
// current directory, with the process's console, environment and
// inheritable standard handles; waited for, its exit code the status.
// A program and its arguments is first looked for as the interpreter
// looks for it, so that a program it could not start is known without
// relying on the interpreter's 9009, a status that a program may end with
// too.
#include "runtime/shell.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "runtime/windows/handle.h"
#include "runtime/windows/wide_text.h"

namespace zuvtill::runtime {
namespace {

// What makes a command line more than a program and its arguments to the
// interpreter: command separators, pipes, redirections, grouping, escapes,
// quoting, variables. In the first word also echo suppression, the
// separators it takes for blanks there, and a "/" that starts a switch.
constexpr std::wstring_view kInterpreterSyntax = L"&|<>()^\"%\r\n";
constexpr std::wstring_view kFirstWordSyntax = L"@,;=/";

constexpr std::wstring_view kDefaultPathExt = L".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";

// The interpreter's own commands: no program is looked for for them.
constexpr std::array<std::wstring_view, 44> kInterpreterCommands = {
    L"ASSOC",  L"BREAK", L"CALL",   L"CD",       L"CHDIR", L"CLS",      L"COLOR", L"COPY",  L"DATE",
    L"DEL",    L"DIR",   L"DPATH",  L"ECHO",     L"ENDLOCAL", L"ERASE", L"EXIT",  L"FOR",   L"FTYPE",
    L"GOTO",   L"IF",    L"KEYS",   L"MD",       L"MKDIR", L"MKLINK",   L"MOVE",  L"PATH",  L"PAUSE",
    L"POPD",   L"PROMPT", L"PUSHD", L"RD",       L"REM",   L"REN",      L"RENAME", L"RMDIR", L"SET",
    L"SETLOCAL", L"SHIFT", L"START", L"TIME",    L"TITLE", L"TYPE",     L"VER",   L"VERIFY"};
constexpr std::wstring_view kVolumeCommand = L"VOL";

std::wstring Upper(std::wstring text) {
  if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring Environment(const wchar_t* name) {
  DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  size = ::GetEnvironmentVariableW(name, value.data(), size);
  value.resize(size < value.size() ? size : 0);
  return value;
}

// COMSPEC, else cmd.exe of the system directory.
std::wstring Interpreter() {
  std::wstring comspec = Environment(L"ComSpec");
  if (!comspec.empty()) return comspec;
  wchar_t system[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(system, length) + L"\\cmd.exe";
}

std::vector<std::wstring> Split(std::wstring_view list, wchar_t separator) {
  std::vector<std::wstring> items;
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = std::min(list.find(separator, start), list.size());
    std::wstring item(list.substr(start, end - start));
    std::erase(item, L'"');
    if (!item.empty()) items.push_back(std::move(item));
    start = end + 1;
  }
  return items;
}

// The blank-separated words of a command line that is a program and its
// arguments; none when the interpreter has to read the line.
std::vector<std::wstring> PlainWords(std::wstring command) {
  if (command.find_first_of(kInterpreterSyntax) != std::wstring::npos) return {};
  std::replace(command.begin(), command.end(), L'\t', L' ');
  std::vector<std::wstring> words = Split(command, L' ');
  if (!words.empty() && words[0].find_first_of(kFirstWordSyntax) != std::wstring::npos) return {};
  return words;
}

// The interpreter's own command, also written without a blank before what
// follows ("echo.", "cd\", "cd.."), or a change of drive ("D:").
bool IsInterpreterCommand(const std::wstring& word) {
  const std::wstring upper = Upper(word);
  if (upper.size() == 2 && upper[1] == L':' && upper[0] >= L'A' && upper[0] <= L'Z') return true;
  auto names = [&](std::wstring_view name) {
    return upper.starts_with(name) &&
           (upper.size() == name.size() || std::wstring_view(L".\\:+[").find(upper[name.size()]) != std::wstring::npos);
  };
  return names(kVolumeCommand) || std::any_of(kInterpreterCommands.begin(), kInterpreterCommands.end(), names);
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring ExtensionOf(const std::wstring& path) {
  const std::size_t dot = path.rfind(L'.');
  const std::size_t separator = path.find_last_of(L"\\:");
  return dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator) ? L""
                                                                                          : Upper(path.substr(dot));
}

// A Windows executable: "MZ", and the "PE\0\0" signature where the MZ
// header points.
bool IsWindowsImage(const std::wstring& path) {
  ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return false;
  auto read = [&](LONG at, void* into, DWORD size) {
    DWORD got = 0;
    return ::SetFilePointer(file.Get(), at, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           ::ReadFile(file.Get(), into, size, &got, nullptr) && got == size;
  };
  char mz[2];
  LONG peAt = 0;
  char pe[4];
  return read(0, mz, 2) && mz[0] == 'M' && mz[1] == 'Z' && read(0x3C, &peAt, 4) && peAt > 0 && read(peAt, pe, 4) &&
         pe[0] == 'P' && pe[1] == 'E' && pe[2] == 0 && pe[3] == 0;
}

// The file the interpreter would run for the program's name: in the
// current directory first, then along PATH, unless the name has a
// directory; in each, the name as it stands when it has an extension, then
// with each extension of PATHEXT. Empty when there is none.
std::wstring FindProgram(const std::wstring& name, const std::vector<std::wstring>& extensions) {
  std::vector<std::wstring> directories;
  std::wstring file = name;
  if (const std::size_t split = name.find_last_of(L"\\:"); split != std::wstring::npos) {
    directories.push_back(name.substr(0, split + 1));
    file = name.substr(split + 1);
  } else {
    directories.push_back(L".\\");
    for (std::wstring& directory : Split(Environment(L"PATH"), L';')) {
      if (directory.back() != L'\\') directory.push_back(L'\\');
      directories.push_back(std::move(directory));
    }
  }
  for (const std::wstring& directory : directories) {
    if (!ExtensionOf(file).empty() && IsFile(directory + file)) return directory + file;
    for (const std::wstring& extension : extensions) {
      if (IsFile(directory + file + extension)) return directory + file + extension;
    }
  }
  return {};
}

// Whether the interpreter can start the file as a program: a Windows
// executable for .EXE and .COM, the interpreter's own batch files, a
// script of another PATHEXT extension; not a document that it would only
// open with some other program.
bool IsProgram(const std::wstring& path, const std::vector<std::wstring>& extensions) {
  const std::wstring extension = ExtensionOf(path);
  if (extension == L".EXE" || extension == L".COM") return IsWindowsImage(path);
  return std::any_of(extensions.begin(), extensions.end(),
                     [&](const std::wstring& known) { return Upper(known) == extension; });
}

bool CanStart(const std::wstring& program) {
  std::wstring pathExt = Environment(L"PATHEXT");
  std::vector<std::wstring> extensions = Split(pathExt.empty() ? kDefaultPathExt : std::wstring_view(pathExt), L';');
  const std::wstring file = FindProgram(program, extensions);
  return !file.empty() && IsProgram(file, extensions);
}

std::optional<int> Run(const std::wstring& interpreter, std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return std::nullopt;
  }
  ScopedHandle thread(process.hThread);
  // Wine starts a Linux program as it stands and gives no process handle.
  ScopedHandle running(process.hProcess);
  if (!running.IsValid()) return std::nullopt;
  DWORD status = 0;
  if (::WaitForSingleObject(running.Get(), INFINITE) != WAIT_OBJECT_0 || !::GetExitCodeProcess(running.Get(), &status))
    return std::nullopt;
  return static_cast<int>(status);
}

}  // namespace

std::optional<int> RunShell(std::string_view arguments) {
  std::string command(arguments);
  std::size_t start = command.find_first_not_of(' ');
  if (start != std::string::npos && (command.compare(start, 2, "/C") == 0 || command.compare(start, 2, "/c") == 0)) {
    command.erase(0, start + 2);
  }
  if (command.find('\0') != std::string::npos) return std::nullopt;

  const std::wstring line = WideFromHost(command);
  const std::wstring interpreter = Interpreter();
  if (interpreter.empty()) return std::nullopt;
  std::vector<std::wstring> words = PlainWords(line);
  if (!words.empty() && !IsInterpreterCommand(words[0]) && !CanStart(words[0])) return std::nullopt;
  return Run(interpreter, L"\"" + interpreter + L"\" /C " + line);
}

}  // namespace zuvtill::runtime
