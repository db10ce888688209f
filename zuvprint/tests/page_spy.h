// A printer page that keeps the images drawn on it, for tests of code that
// places images: 600 pixels per inch, A4, every other call ignored.
#pragma once

#include <vector>

#include "platform/surface.h"

namespace zuvprint::testing {

class PageSpy : public platform::Surface {
 public:
  struct Image {
    platform::Rect dest;
    platform::Bitmap bitmap;
    platform::Rect source;
  };
  std::vector<Image> images;

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
  void StretchBitmap(const platform::Rect& dest, const platform::Bitmap& bitmap,
                     const platform::Rect& source) override {
    images.push_back({dest, bitmap, source});
  }
};

}  // namespace zuvprint::testing
