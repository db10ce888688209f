// A child program for the process tests: does what its first argument says.
//   args A B ...        writes each further argument, as UTF-8, followed by a NUL
//   streams E O CODE    writes E bytes "e" to standard error, then O bytes "o"
//                       to standard output, and exits with CODE
//   input               writes the number of bytes standard input held
//   exit CODE           exits with CODE (an unsigned 32-bit number)
//   sleep               waits for ten minutes
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

void Write(DWORD which, const std::string& bytes) {
  HANDLE handle = ::GetStdHandle(which);
  std::size_t at = 0;
  while (at < bytes.size()) {
    DWORD done = 0;
    if (!::WriteFile(handle, bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &done, nullptr)) ::ExitProcess(90);
    at += done;
  }
}

std::string Utf8(const wchar_t* text) {
  int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

unsigned long Number(const wchar_t* text) { return std::wcstoul(text, nullptr, 10); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 99;
  const std::wstring command = argv[1];
  if (command == L"args") {
    std::string out;
    for (int i = 2; i < argc; ++i) out += Utf8(argv[i]) + '\0';
    Write(STD_OUTPUT_HANDLE, out);
    return 0;
  }
  if (command == L"streams" && argc == 5) {
    Write(STD_ERROR_HANDLE, std::string(Number(argv[2]), 'e'));
    Write(STD_OUTPUT_HANDLE, std::string(Number(argv[3]), 'o'));
    return static_cast<int>(Number(argv[4]));
  }
  if (command == L"input") {
    char buffer[4096];
    DWORD done = 0;
    unsigned long total = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &done, nullptr) && done > 0) total += done;
    Write(STD_OUTPUT_HANDLE, std::to_string(total));
    return 0;
  }
  if (command == L"exit" && argc == 3) ::ExitProcess(static_cast<UINT>(Number(argv[2])));
  if (command == L"sleep") {
    ::Sleep(600000);
    return 0;
  }
  return 98;
}
