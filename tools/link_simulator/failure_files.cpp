#include "failure_files.h"

#include "ascii_case.h"
#include "byte_files.h"

namespace zuvlink {

void WriteErrorFile(const std::string& path, const std::string& text, const std::string& detail) {
  WriteWholeFile(path, text + "\r\n" + detail + "\r\n", "Plik błędu");
}

std::string HostDirectory(const std::filesystem::path& workDirectory) {
  std::u8string name = workDirectory.filename().u8string();
  return EqualIgnoringAsciiCase(std::string(name.begin(), name.end()), "MERA30") ? "../.." : "..";
}

void WritePrintEndMarker(const std::string& hostDirectory, const std::string& program) {
  WriteWholeFile(hostDirectory + "/END_TASM", "Koniec wydruku: " + program + "\r\n",
                 "Znacznik końca wydruku");
}

}  // namespace zuvlink
