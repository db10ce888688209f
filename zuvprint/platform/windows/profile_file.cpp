// Profile files on Windows: each key is looked up by the platform itself,
// GetPrivateProfileStringW, as the program's users' Windows reads them.
#include <windows.h>

#include <vector>

#include "platform/files.h"
#include "platform/profile_reader.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {

std::optional<ProfileReader> ProfileReader::FromReadableFile(const std::string& path) {
  // A file that cannot be opened for reading is not read at all, as on Linux
  // (and a pipe or a device is never handed to the platform's reader).
  if (!OpenRegularFile(path).IsOpen()) return std::nullopt;
  // A name without a directory would be looked for in the Windows
  // directory: the platform's reader gets the full path.
  const std::wstring wide = Wide(path);
  std::vector<wchar_t> full(::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr) + 1);
  if (full.size() <= 1 || ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr) == 0)
    return std::nullopt;
  ProfileReader reader;
  reader.lookup_ = [file = std::wstring(full.data())](std::string_view section, std::string_view key,
                                                      std::string_view fallback) {
    // 2048 units with the terminating zero: values are cut to 2047, as the
    // program's own reader cuts them.
    wchar_t value[2048];
    const std::wstring wideFallback = Wide(fallback);
    const DWORD length = ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), wideFallback.c_str(),
                                                    value, 2048, file.c_str());
    return Utf8(std::wstring_view(value, length));
  };
  return reader;
}

}  // namespace zuvprint::platform
