// Logos and backgrounds end to end: the style's images on every page, the
// ESC "LOGO" and ESC "TLO" sequences, files of the wrong kind, and the
// image on the rendered PDF where the draw log says it is.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "program_run.h"

namespace zuvprint::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

void Put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, unsigned v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// A 24-bit bottom-up BMP of one colour.
std::string SolidBmp(int width, int height, unsigned char r, unsigned char g, unsigned char b) {
  int stride = (width * 3 + 3) & ~3;
  std::string s = "BM";
  Put32(s, 54 + stride * height);
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, width);
  Put32(s, height);
  Put16(s, 1);
  Put16(s, 24);
  for (int i = 0; i < 6; ++i) Put32(s, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
    s.append(stride - width * 3, '\0');
  }
  return s;
}

// A PNG of one colour, written with libpng.
void SolidPng(const fs::path& path, int width, int height, unsigned char r, unsigned char g, unsigned char b) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> pixels;
  for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {r, g, b});
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr));
}

std::vector<json> Images(const std::vector<json>& log) {
  std::vector<json> found;
  for (const auto& e : log)
    if (e["op"] == "image") found.push_back(e);
  return found;
}

class PageImages : public ::testing::Test {
 protected:
  ScratchDir dir;
  ProgramResult result;

  std::vector<json> Print(const std::string& content, const std::string& style) {
    dir.Write("doc.txt", content);
    dir.Write("style.dpc", style);
    result = RunZuvprint(dir.Path(), {"doc.txt", "style.dpc"});
    EXPECT_EQ(result.status, 0) << result.err;
    return ReadDrawLog(dir / "doc.jsonl");
  }
};

constexpr const char* kLogoStyle =
    "[Ogolne]\nTlo=tlo123.bmp\nLogo=logo123.bmp\nLogoX=100000\nLogoY=200000\nLogoZoom=10000\n";

TEST_F(PageImages, StyleImagesOpenEveryPageBackgroundFirst) {
  dir.Write("tlo123.bmp", SolidBmp(100, 140, 200, 200, 255));
  dir.Write("logo123.bmp", SolidBmp(300, 100, 255, 0, 0));
  auto log = Print("A\x0c\r\nB\x0c\r\nC", kLogoStyle);
  // Each page: startpage, (align,) background, logo, then its text.
  std::vector<std::string> sequence;
  for (const auto& e : log) {
    if (e["op"] == "startpage") sequence.push_back("page");
    if (e["op"] == "image") sequence.push_back(e["src"] == json{100, 140} ? "tlo" : "logo");
    if (e["op"] == "text") sequence.push_back(e["ch"]);
  }
  EXPECT_EQ(sequence, (std::vector<std::string>{"page", "tlo", "logo", "A", "page", "tlo", "logo", "B", "page",
                                                "tlo", "logo", "C"}));
  auto images = Images(log);
  EXPECT_EQ(images[0]["dest"], (json{0, 0, 4961, 7016}));  // stretched over the whole page
  EXPECT_EQ(images[1]["dest"], (json{236, 472, 536, 572}));
  EXPECT_EQ(images[1]["src"], (json{300, 100}));
}

TEST_F(PageImages, LogoZoomScalesAndZeroCountsAsOne) {
  dir.Write("logo123.bmp", SolidBmp(300, 100, 255, 0, 0));
  const std::pair<const char*, json> cases[] = {
      {"5000", json{236, 472, 386, 522}},
      {"0", json{236, 472, 536, 572}},
      {"25000", json{236, 472, 986, 722}},
  };
  for (const auto& [zoom, dest] : cases) {
    auto log = Print("A", std::string("[Ogolne]\nLogo=logo123.bmp\nLogoX=100000\nLogoY=200000\nLogoZoom=") + zoom);
    EXPECT_EQ(Images(log).at(0)["dest"], dest) << zoom;
    fs::remove(dir / "doc.jsonl");
    fs::remove(dir / "doc.pdf");
  }
}

TEST_F(PageImages, CustomLineSpacingLeavesLaterPagesWithoutImages) {
  dir.Write("logo123.bmp", SolidBmp(30, 10, 0, 0, 0));
  auto log = Print("A\x1b" "3\x24\x0c\r\nB", "[Ogolne]\nLogo=logo123.bmp\n");
  EXPECT_EQ(Images(log).size(), 1u);
}

TEST_F(PageImages, LogoAndBackgroundSequences) {
  dir.Write("znak.bmp", SolidBmp(30, 20, 0, 0, 255));
  SolidPng(dir / "znak.png", 40, 10, 0, 255, 0);
  dir.Write("zmyl.bmp", "");  // replaced below by a PNG under a .bmp name
  SolidPng(dir / "zmyl.bmp", 8, 8, 0, 0, 0);
  struct Case {
    std::string line;
    std::vector<json> dests;
    std::string text;
  };
  const Case cases[] = {
      {"\x1bLOGO" "5;5;1;znak.png;Total", {json{118, 118, 158, 128}}, "Total"},
      {"\x1bLOGO" "5,5;10;2;znak.bmp;x", {json{129, 236, 189, 276}}, "x"},        // comma decimals
      {"\x1bLOGO" "+5;+10;+2;znak.bmp;x", {json{118, 236, 178, 276}}, "x"},      // signed decimals
      {"\x1bLOGO" "+-5;5;1;znak.bmp;x", {}, "x"},                                // one sign only
      {"\x1bLOGO" "5;5;0;zmyl.bmp;", {json{118, 118, 126, 126}}, ""},           // PNG named .bmp
      {"\x1bLOGO" "abc;5;1;znak.png;rest", {}, "rest"},                          // not a number
      {"\x1bLOGO" "5;5;1;nie-ma.png;rest", {}, "rest"},                          // no such file
      {"\x1bLOGO" "5;5;rest", {}, "rest"},                                       // incomplete: read fields go
      {"\x1bTLO" "znak.bmp;after", {json{0, 0, 4961, 7016}}, "after"},
      {"\x1bTLO" "znak.bmp", {}, "znak.bmp"},                                    // no ";": nothing happens
  };
  for (const Case& c : cases) {
    auto log = Print(c.line, "");
    std::vector<json> dests;
    for (const auto& e : Images(log)) dests.push_back(e["dest"]);
    EXPECT_EQ(dests, c.dests) << c.line;
    auto lines = TextLines(log);
    EXPECT_EQ(lines.empty() ? "" : lines[0].text, c.text) << c.line;
    fs::remove(dir / "doc.jsonl");
    fs::remove(dir / "doc.pdf");
  }
}

TEST_F(PageImages, FileOfNeitherKindIsReportedOnEveryAttempt) {
  dir.Write("logo123.bmp", "not an image at all");
  dir.Write("a.bmp", "short names mean no image");
  auto log = Print("A\x0c\r\nB", "[Ogolne]\nLogo=logo123.bmp\nTlo=a.bmp\n");
  EXPECT_EQ(Images(log).size(), 0u);
  EXPECT_EQ(result.err, "Niewłaściwy format pliku: logo123.bmp\n\nNiewłaściwy format pliku: logo123.bmp\n\n");
  EXPECT_EQ(CountOps(log, "message"), 2);
}

// A name of five characters or fewer means no image, however many bytes its
// letters take.
TEST_F(PageImages, ShortNamesCountCharactersNotBytes) {
  dir.Write("\u0105.bmp", SolidBmp(10, 10, 0, 0, 0));     // 5 characters, 6 bytes
  dir.Write("\u0105b.bmp", SolidBmp(20, 10, 0, 0, 0));    // 6 characters
  auto log = Print("A", StyleFileText("[Ogolne]\nTlo=\u0105.bmp\nLogo=\u0105b.bmp\n"));
  auto images = Images(log);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]["src"], (json{20, 10}));
}

TEST_F(PageImages, HostileRequestsAreRefusedOrHarmless) {
  dir.Write("znak.bmp", SolidBmp(30, 20, 0, 0, 255));
  dir.Write("szeroki.bmp", SolidBmp(40000, 1, 0, 0, 0));  // wider than any image the page can take
  fs::create_directory(dir / "katalog.bmp");
  struct Case {
    std::string line;
    int images;
    std::string err;
  };
  const Case cases[] = {
      {"\x1bLOGO" "0;0;-1e10;znak.bmp;x", 1, ""},   // a mirrored, absurdly large logo
      {"\x1bLOGO" "1e30;1e30;1e30;znak.bmp;x", 1, ""},
      {"\x1bLOGO" "0;0;1;katalog.bmp;x", 0, ""},    // a directory is not an image file
      {"\x1bLOGO" "0;0;1;szeroki.bmp;x", 0, "Niewłaściwy format pliku: szeroki.bmp\n\n"},
  };
  for (const Case& c : cases) {
    auto log = Print(c.line, "");
    EXPECT_EQ(static_cast<int>(Images(log).size()), c.images) << c.line;
    EXPECT_EQ(result.err, c.err) << c.line;
    EXPECT_EQ(TextLines(log).at(0).text, "x");
    EXPECT_FALSE(dir.Has("dprtemp0.lst"));
    fs::remove(dir / "doc.jsonl");
    fs::remove(dir / "doc.pdf");
  }
}

// Colours as rendered, allowing the renderer's rounding of a unit or two.
::testing::AssertionResult Near(const std::array<int, 3>& got, const std::array<int, 3>& want) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(got[i] - want[i]) > 2)
      return ::testing::AssertionFailure() << "rgb " << got[0] << "," << got[1] << "," << got[2];
  return ::testing::AssertionSuccess();
}

TEST_F(PageImages, TheLogoIsOnThePdfWhereTheLogSays) {
  dir.Write("logo123.bmp", SolidBmp(300, 100, 255, 0, 0));
  Print("", "[Ogolne]\nLogo=logo123.bmp\nLogoX=100000\nLogoY=200000\n");
  // At 60 dpi one rendered pixel is 10 printer pixels: the logo covers
  // x 23.6 .. 53.6 and y 47.2 .. 57.2.
  RenderedPage page = RenderPage(dir / "doc.pdf", 1, 60, Rendering::Colour);
  EXPECT_TRUE(Near(page.Rgb(38, 52), {255, 0, 0}));
  EXPECT_TRUE(Near(page.Rgb(25, 49), {255, 0, 0}));
  EXPECT_TRUE(Near(page.Rgb(52, 56), {255, 0, 0}));
  EXPECT_TRUE(Near(page.Rgb(21, 52), {255, 255, 255}));
  EXPECT_TRUE(Near(page.Rgb(38, 59), {255, 255, 255}));
}

// The PDF's images as pdfimages lists them: page, width, height,
// interpolation and object number.
struct PdfImage {
  int page, width, height;
  std::string interpolate;
  int object;
};
std::vector<PdfImage> ListPdfImages(const fs::path& pdf, const fs::path& listing) {
  std::string command = "pdfimages -list " + pdf.string() + " > " + listing.string();
  EXPECT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(listing);
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  std::vector<PdfImage> images;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    PdfImage image;
    std::string num, type, color, comp, bpc, enc;
    fields >> image.page >> num >> type >> image.width >> image.height >> color >> comp >> bpc >> enc >>
        image.interpolate >> image.object;
    images.push_back(image);
  }
  return images;
}

TEST_F(PageImages, ImagesReachThePdfAtTheirPixelSizeOncePerDocument) {
  dir.Write("tlo123.bmp", SolidBmp(100, 140, 200, 200, 255));
  dir.Write("logo123.bmp", SolidBmp(300, 100, 255, 0, 0));
  Print("A\x0c\r\nB\x0c\r\nC", kLogoStyle);
  auto images = ListPdfImages(dir / "doc.pdf", dir / "images.txt");
  ASSERT_EQ(images.size(), 6u);  // background and logo on each of three pages
  for (std::size_t i = 0; i < images.size(); ++i) {
    const PdfImage& image = images[i];
    EXPECT_EQ(image.page, static_cast<int>(i / 2) + 1);
    EXPECT_EQ(image.interpolate, "no");  // drawn nearest-pixel, never smoothed
    // Not resampled, and the same object on every page.
    EXPECT_EQ(image.width, i % 2 == 0 ? 100 : 300);
    EXPECT_EQ(image.height, i % 2 == 0 ? 140 : 100);
    EXPECT_EQ(image.object, images[i % 2].object);
  }
  EXPECT_NE(images[0].object, images[1].object);
}

// Images that differ in a single pixel are two images in the PDF, also
// when they are large and alike everywhere else, wherever the pixel is.
TEST_F(PageImages, ImagesThatDifferInOnePixelAreEmbeddedApart) {
  constexpr int kWidth = 400, kHeight = 300, kStride = kWidth * 3;
  const std::string background = SolidBmp(kWidth, kHeight, 200, 200, 255);
  for (int pixel : {0, 1234, 29999, 40001, 59977, 77777, 99998, kWidth * kHeight - 1}) {
    SCOPED_TRACE(pixel);
    std::string logo = background;
    logo[54 + pixel / kWidth * kStride + pixel % kWidth * 3 + 1] ^= 0x01;  // its green
    dir.Write("tlo123.bmp", background);
    dir.Write("logo123.bmp", logo);
    fs::remove(dir / "doc.pdf");
    fs::remove(dir / "doc.jsonl");
    Print("A\x0c\r\nB", kLogoStyle);
    auto images = ListPdfImages(dir / "doc.pdf", dir / "images.txt");
    ASSERT_EQ(images.size(), 4u);
    EXPECT_NE(images[0].object, images[1].object);
    EXPECT_EQ(images[2].object, images[0].object);
    EXPECT_EQ(images[3].object, images[1].object);
  }
}

}  // namespace
}  // namespace zuvprint::testing
