// What the fuzz targets share: a private scratch directory for the files an
// input becomes, and a page that takes drawing calls and keeps nothing.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/surface.h"

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

class NullPage : public platform::Surface {
 public:
  void SetOrientation(int) override {}
  void BeginJob(const std::string&) override {}
  void NewPage() override {}
  void EndJob() override {}
  int DpiX() const override { return 600; }
  int DpiY() const override { return 600; }
  int PageWidth() const override { return 4961; }
  int PageHeight() const override { return 7016; }
  void SelectFont(const platform::FontSpec&) override {}
  int TextWidth(std::u32string_view text) override { return 50 * static_cast<int>(text.size()); }
  int Ascent() override { return 60; }
  void SetBaselineAlignment() override {}
  void DrawChar(int, int, char32_t) override {}
  void SetPen(int, platform::Colour) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void StretchBitmap(const platform::Rect&, const platform::Bitmap& b, const platform::Rect&) override {
    if (b.rgb.size() != static_cast<std::size_t>(b.width) * b.height * 3) std::abort();
  }
};

}  // namespace zuvprint::fuzzing
