// Profile files on Linux: read whole by the program's own reader.
#include "platform/files.h"
#include "platform/profile_reader.h"

namespace zuvprint::platform {

std::optional<ProfileReader> ProfileReader::FromReadableFile(const std::string& path) {
  std::string text;
  if (ReadWholeFile(path, text) != ReadResult::Ok) return std::nullopt;
  return FromText(text);
}

}  // namespace zuvprint::platform
