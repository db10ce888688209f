// Host names on Windows: its file systems match names case-insensitively
// and take either separator, so a name needs only its characters in UTF-16.
#include "runtime/dos_path.h"

#include <algorithm>

#include "runtime/windows/wide_text.h"

namespace zuvtill::runtime {

std::string HostPath(std::string_view dosPath) {
  std::string path(dosPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::filesystem::path NativePath(std::string_view hostPath) { return std::filesystem::path(WideFromHost(hostPath)); }

std::string HostName(const std::filesystem::path& name) { return HostFromWide(name.native()); }

}  // namespace zuvtill::runtime
