#include "failure_files.h"

#include <strings.h>

#include "byte_files.h"

namespace zuvlink {

void WriteErrorFile(const std::string& path, const std::string& text, const std::string& detail) {
  WriteWholeFile(path, text + "\r\n" + detail + "\r\n", "Plik błędu");
}

std::filesystem::path HostDirectory(const std::filesystem::path& workDirectory) {
  std::filesystem::path above = workDirectory.parent_path();
  if (::strcasecmp(workDirectory.filename().c_str(), "MERA30") == 0) above = above.parent_path();
  return above;
}

void WritePrintEndMarker(const std::filesystem::path& hostDirectory, const std::string& program) {
  WriteWholeFile((hostDirectory / "END_TASM").string(), "Koniec wydruku: " + program + "\r\n",
                 "Znacznik końca wydruku");
}

}  // namespace zuvlink
