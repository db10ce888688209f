// Profile strings (INI files) read the way Windows reads them: section and
// key names compared without regard to case, only the first section of a
// name is looked in, the first occurrence of a key in it wins, blanks around a value and one pair of quotation marks
// around it are removed, lines starting with ';' are comments, and a value
// is cut to 2047 characters. Nothing is ever written.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zuvprint::platform {

class ProfileReader {
 public:
  // A file through the platform's reader: on Linux this class's own reader
  // over the whole file, read once; on Windows GetPrivateProfileStringW. A
  // missing or unreadable file gives a reader without sections, so every
  // lookup answers its default.
  static ProfileReader FromFile(const std::string& path);
  // The same for a file that must be read: nothing when it cannot be.
  static std::optional<ProfileReader> FromReadableFile(const std::string& path);
  // A text read by this class's own reader.
  static ProfileReader FromText(std::string_view text);

  // The value of key in section (bytes as stored in the file, a UTF-8 BOM
  // removed; UTF-8 for a file in UTF-16), or fallback when the section or
  // the key is missing.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) const;

 private:
  // Lower-cased "section\nkey" -> value.
  std::unordered_map<std::string, std::string> values_;
  // Set by a backend whose platform looks each key up in the file itself.
  std::function<std::string(std::string_view, std::string_view, std::string_view)> lookup_;
};

}  // namespace zuvprint::platform
