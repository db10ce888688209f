// What the fuzz targets share: a private scratch directory for the files an
// input becomes.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace zuvprint::fuzzing {

// A directory of this process's own, made on first use.
inline const std::filesystem::path& ScratchDirectory() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "zuvprint-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return std::filesystem::path(pattern);
  }();
  return dir;
}

// Writes the input to a file of the scratch directory; answers its path.
inline std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::string path = (ScratchDirectory() / name).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
  return path;
}

}  // namespace zuvprint::fuzzing
