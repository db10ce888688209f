// The Windows backends of the print program's services, run under Wine:
// message boxes routed to standard error, child processes, PNG images
// through WIC and text written into images through GDI.
#include <windows.h>
#undef MessageBox
#undef DeleteFile

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "../page_spy.h"
#include "../temp_file.h"
#include "png_writer.h"
#include "platform/images.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/screen_text.h"
#include "platform/utf8.h"
#include "platform/windows/wide_text.h"

namespace zuvprint {
namespace {

using platform::ProcessError;
using platform::ProcessResult;
using platform::RunProcess;

// --- Message boxes --------------------------------------------------------

// A printer that keeps the messages it is told about.
class MessageSpy : public testing::PageSpy {
 public:
  std::vector<std::string> messages;
  void NoteMessage(const std::string& utf8) override { messages.push_back(utf8); }
};

// Sets an environment variable of the C runtime for one test.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) { _putenv_s(name, value); }
  ~ScopedVariable() { _putenv_s(name_, ""); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
};

struct MessageCase {
  const char* name;
  std::string text;
  std::string block;  // what standard error gets
  std::string noted;  // what the printer is told
};

class MessagesOnStandardError : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessagesOnStandardError, WriteTheLinuxBlockAndTellThePrinter) {
  const MessageCase& c = GetParam();
  ScopedVariable messages("ZUVPRINT_MESSAGES", "stderr");
  MessageSpy printer;
  platform::MessageBox box;
  box.SetPrinter(&printer);
  ::testing::internal::CaptureStderr();
  box.Show(c.text);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.block);
  EXPECT_EQ(printer.messages, std::vector<std::string>{c.noted});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessagesOnStandardError,
    ::testing::Values(MessageCase{"plain", "Brak pliku", "Brak pliku\n\n", "Brak pliku"},
                      MessageCase{"crlf_lines", "Linia 1\r\nLinia 2", "Linia 1\nLinia 2\n\n", "Linia 1\r\nLinia 2"},
                      MessageCase{"polish_utf8", "Niew\xC5\x82\x61\xC5\x9B\x63iwy", "Niew\xC5\x82\x61\xC5\x9B\x63iwy\n\n",
                                  "Niew\xC5\x82\x61\xC5\x9B\x63iwy"},
                      // A CP1250 "ł" (0xB3) is no UTF-8: shown as U+00B3.
                      MessageCase{"single_byte_name", "logo\xB3.bmp", "logo\xC2\xB3.bmp\n\n", "logo\xC2\xB3.bmp"},
                      MessageCase{"empty", "", "\n\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBoxWithoutPrinter, StillWritesTheBlock) {
  ScopedVariable messages("ZUVPRINT_MESSAGES", "stderr");
  platform::MessageBox box;
  ::testing::internal::CaptureStderr();
  box.Show("Jeden");
  box.Show("Dwa");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Jeden\n\nDwa\n\n");
}

// --- Child processes ------------------------------------------------------

std::string TestDirectory() {
  wchar_t path[MAX_PATH];
  DWORD size = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring full(path, size);
  return platform::Utf8(full.substr(0, full.find_last_of(L"\\/") + 1));
}

// The child program built beside the tests (child_helper.cpp).
std::string Helper() { return TestDirectory() + "zuvprint_child_helper.exe"; }

std::vector<std::string> SplitAtNul(const std::string& bytes) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
    parts.push_back(bytes.substr(start, end - start));
  return parts;
}

struct ArgumentCase {
  const char* name;
  std::vector<std::string> arguments;
};

class ChildArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ChildArguments, ArriveUnchanged) {
  std::vector<std::string> arguments{"args"};
  arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
  ProcessResult r = RunProcess(Helper(), arguments);
  EXPECT_EQ(SplitAtNul(r.out), GetParam().arguments);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChildArguments,
    ::testing::Values(
        ArgumentCase{"none", {}},
        ArgumentCase{"plain", {"x509", "-in", "cert.pem", "-noout", "-serial"}},
        ArgumentCase{"empty", {"", "a", ""}},
        ArgumentCase{"blanks_and_tabs", {"two words", " lead", "trail ", "tab\there", "new\nline"}},
        ArgumentCase{"quotes", {"\"", "say \"hi\"", "\"\"", "a\"b"}},
        ArgumentCase{"backslashes", {"C:\\dir\\file.pem", "\\\\server\\share\\", "end\\", "\\"}},
        ArgumentCase{"backslashes_before_quotes", {"a\\\"b", "a\\\\\"b", "\\\"", "C:\\with blank\\", "x\\\\"}},
        ArgumentCase{"shell_characters", {"%PATH%", "a&b|c<d>e^f", "(x)", "!v!"}},
        ArgumentCase{"polish", {"za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85", "C:\\Faktury\\\xC5\x81\xC3\xB3\x64\xC5\xBA.pem"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChildProcess, ReadsBothStreamsSideBySide) {
  // Each stream alone overfills a pipe, and the child fills standard error
  // before it writes anything else: reading one to its end before the other
  // would leave the child and us waiting for each other.
  ProcessResult r = RunProcess(Helper(), {"streams", "300000", "200000", "3"});
  EXPECT_EQ(r.out, std::string(200000, 'o'));
  EXPECT_EQ(r.err, std::string(300000, 'e'));
  EXPECT_EQ(r.exitCode, 3);
}

TEST(ChildProcess, ExitCodesArriveAsTheyAre) {
  const struct {
    const char* code;
    int expected;
  } cases[] = {{"0", 0}, {"1", 1}, {"255", 255}, {"256", 256}, {"3221225477", static_cast<int>(0xC0000005u)}};
  for (const auto& c : cases) EXPECT_EQ(RunProcess(Helper(), {"exit", c.code}).exitCode, c.expected) << c.code;
}

TEST(ChildProcess, StandardInputIsEmpty) {
  ProcessResult r = RunProcess(Helper(), {"input"});
  EXPECT_EQ(r.out, "0");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(ChildProcess, FoundWithoutItsExtensionBesideTheProgram) {
  ProcessResult r = RunProcess("zuvprint_child_helper", {"args", "found"});
  EXPECT_EQ(r.out, std::string("found", 6));
}

void ExpectStartFailure(const std::string& program, const std::vector<std::string>& arguments, int error) {
  try {
    RunProcess(program, arguments);
    ADD_FAILURE() << program << " started";
  } catch (const ProcessError& e) {
    EXPECT_EQ(e.GetStage(), ProcessError::Stage::Start) << program;
    EXPECT_EQ(e.Error(), error) << program << ": " << e.what();
  }
}

TEST(ChildProcess, ProgramsThatCannotStart) {
  ExpectStartFailure(TestDirectory() + "no-such-program.exe", {}, ENOENT);
  ExpectStartFailure("zuvprint-no-such-program", {}, ENOENT);
  ExpectStartFailure(Helper(), {std::string("a\0b", 3)}, EINVAL);
  ExpectStartFailure("quote\"d.exe", {}, EINVAL);
  testing::TempFile notAProgram("this is text, not a program\r\n", ".exe");
  ExpectStartFailure(notAProgram.path(), {}, ENOEXEC);
}

TEST(ChildProcess, BatchFilesAreNotHandedToCmd) {
  // cmd.exe would run the file and read "&" in an argument as a second
  // command.
  testing::TempFile marker("", ".txt");
  std::filesystem::remove(marker.path());
  const std::string script = "@echo off\r\necho ran > \"" + marker.path() + "\"\r\n";
  for (const char* extension : {".bat", ".CMD"}) {
    testing::TempFile batch(script, extension);
    ExpectStartFailure(batch.path(), {"x&echo y"}, ENOEXEC);
    ExpectStartFailure(batch.path() + ". ", {}, ENOEXEC);
  }
  EXPECT_FALSE(std::filesystem::exists(marker.path()));
}

TEST(ChildProcess, OutputBeyondTheLimitStopsTheChild) {
  try {
    RunProcess(Helper(), {"streams", "40000", "40000", "0"}, 50000);
    ADD_FAILURE() << "no limit";
  } catch (const ProcessError& e) {
    EXPECT_EQ(e.GetStage(), ProcessError::Stage::OutputLimit);
  }
  // Exactly the limit is allowed.
  ProcessResult r = RunProcess(Helper(), {"streams", "25000", "25000", "0"}, 50000);
  EXPECT_EQ(r.out.size() + r.err.size(), 50000u);
}

// Whether the process of that id has ended (or is gone altogether).
bool HasEnded(int pid) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return true;
  bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  ::CloseHandle(process);
  return ended;
}

TEST(ChildProcess, ChildThatWasNotFinishedIsTerminated) {
  int pid;
  {
    platform::ChildProcess child(Helper(), {"sleep"});
    pid = child.Pid();
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(HasEnded(pid));
  }
  EXPECT_TRUE(HasEnded(pid));
}

TEST(ChildProcess, FinishesOnlyOnce) {
  platform::ChildProcess child(Helper(), {"exit", "7"});
  EXPECT_EQ(child.Finish().exitCode, 7);
  EXPECT_EQ(child.Pid(), -1);
  try {
    child.Finish();
    ADD_FAILURE() << "finished twice";
  } catch (const ProcessError& e) {
    EXPECT_EQ(e.GetStage(), ProcessError::Stage::Wait);
    EXPECT_EQ(e.Error(), ECHILD);
  }
}

// --- PNG images ---------------------------------------------------------------

// A path of the repository for the Windows file API: Wine reaches the
// machine's root as drive Z:.
std::string Example(const std::string& name) {
  std::string path = std::string(ZUV_EXAMPLES_DIR) + "/" + name;
  return path.front() == '/' ? "Z:" + path : path;
}

platform::ImageLoad LoadPngBytes(const std::string& bytes, platform::Bitmap& out) {
  testing::TempFile file(bytes, ".png");
  return platform::LoadPng(file.path(), out);
}

using S = std::string;
using testing::PngImage;

struct PngCase {
  const char* name;
  PngImage image;
  std::vector<int> rgb;  // the pixels on white paper, as the Linux loader answers them
};

PngImage Png(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType, std::vector<std::string> rows,
             std::string palette = {}, std::string transparency = {}) {
  return PngImage{width, height, bitDepth, colourType, std::move(rows), std::move(palette), std::move(transparency)};
}

class PngPixels : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngPixels, AsOnLinux) {
  const PngCase& c = GetParam();
  platform::Bitmap out;
  ASSERT_EQ(LoadPngBytes(testing::EncodePng(c.image), out), platform::ImageLoad::Loaded);
  EXPECT_EQ(out.width, static_cast<int>(c.image.width));
  EXPECT_EQ(out.height, static_cast<int>(c.image.height));
  EXPECT_EQ(std::vector<int>(out.rgb.begin(), out.rgb.end()), c.rgb);
}

// Alpha a over white: round(a * c + (1 - a) * 255); 16-bit samples rounded
// to the nearest 8-bit value first (0xFF00 is 254, not its high byte).
INSTANTIATE_TEST_SUITE_P(
    Cases, PngPixels,
    ::testing::Values(
        PngCase{"rgb8", Png(2, 1, 8, 2, {S("\x0A\x14\x1E\xFA\x80\x00", 6)}), {10, 20, 30, 250, 128, 0}},
        PngCase{"rgba8",
                Png(4, 1, 8, 6, {S("\x00\x00\x00\x00" "\x00\x00\x00\x80" "\xC8\x64\x32\x33" "\x09\x08\x07\xFF", 16)}),
                {255, 255, 255, 127, 127, 127, 244, 224, 214, 9, 8, 7}},
        PngCase{"gray1", Png(8, 1, 1, 0, {S("\xB0", 1)}),
                {255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        PngCase{"gray4", Png(2, 1, 4, 0, {S("\x5F", 1)}), {85, 85, 85, 255, 255, 255}},
        PngCase{"palette2_with_transparency",
                Png(3, 1, 2, 3, {S("\x18", 1)}, S("\xFF\x00\x00\x00\x00\xFF\x0A\x14\x1E", 9), S("\xFF\x00", 2)),
                {255, 0, 0, 255, 255, 255, 10, 20, 30}},
        PngCase{"rgb16", Png(2, 1, 16, 2, {S("\xFF\x00\x00\xFF\x80\x80" "\x7F\xFF\xFF\xFF\x00\x00", 12)}),
                {254, 1, 128, 127, 255, 0}},
        PngCase{"gray_alpha16", Png(1, 1, 16, 4, {S("\x00\x00\x80\x00", 4)}), {127, 127, 127}},
        PngCase{"gray8_transparent_value", Png(2, 1, 8, 0, {S("\x07\x08", 2)}, "", S("\x00\x07", 2)),
                {255, 255, 255, 8, 8, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PngExamples, LogoIsTheBitmapsPicture) {
  // logo.bmp is the same picture reduced to a 256-colour palette: the
  // PNG's pixels lie within that reduction's error of it.
  platform::Bitmap png, bmp;
  ASSERT_EQ(platform::LoadPng(Example("logo.png"), png), platform::ImageLoad::Loaded);
  ASSERT_EQ(platform::LoadBmp(Example("logo.bmp"), bmp), platform::ImageLoad::Loaded);
  ASSERT_EQ(png.width, bmp.width);
  ASSERT_EQ(png.height, bmp.height);
  ASSERT_EQ(png.rgb.size(), bmp.rgb.size());
  std::size_t differing = 0;
  int largest = 0;
  for (std::size_t i = 0; i < png.rgb.size(); ++i) {
    int d = std::abs(png.rgb[i] - bmp.rgb[i]);
    differing += d != 0;
    largest = std::max(largest, d);
  }
  EXPECT_LE(largest, 9);
  EXPECT_LT(differing, png.rgb.size() / 20);
}

TEST(PngExamples, BackgroundIsAPaletteImage) {
  platform::Bitmap tlo;
  ASSERT_EQ(platform::LoadPng(Example("tlo.png"), tlo), platform::ImageLoad::Loaded);
  EXPECT_EQ(tlo.width, 1240);
  EXPECT_EQ(tlo.height, 1754);
  EXPECT_EQ(tlo.rgb.size(), 1240u * 1754u * 3u);
}

PngImage Gray(std::uint32_t width, std::uint32_t height) {
  return Png(width, height, 8, 0, std::vector<std::string>(height, std::string(width, '\x40')));
}

TEST(PngDamaged, IsNotThisFormat) {
  const std::string good = testing::EncodePng(Gray(64, 64));
  platform::Bitmap check;
  ASSERT_EQ(LoadPngBytes(good, check), platform::ImageLoad::Loaded);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"cut in the image data", good.substr(0, good.size() / 2)},
      {"signature only", good.substr(0, 8)},
      {"text", "not an image at all\r\n"},
      {"empty", ""},
      {"zero width", testing::EncodePng(Png(0, 1, 8, 0, {""}))},
      {"wider than any image", testing::EncodePng(Gray(40000, 1))},
      // 81 million pixels declared by a file of a few hundred bytes.
      {"more pixels than data", testing::EncodePng(Png(9000, 9000, 8, 0, {std::string(9000, '\0')}))},
  };
  for (const auto& c : cases) {
    platform::Bitmap out;
    out.width = 7;
    EXPECT_EQ(LoadPngBytes(c.bytes, out), platform::ImageLoad::NotThisFormat) << c.name;
    EXPECT_EQ(out.width, 7) << c.name;
  }
  platform::Bitmap out;
  EXPECT_EQ(platform::LoadPng(Example("logo.bmp"), out), platform::ImageLoad::NotThisFormat);
  EXPECT_EQ(platform::LoadPng(Example("no-such-image.png"), out), platform::ImageLoad::NotThisFormat);
  EXPECT_EQ(platform::LoadPng(Example(""), out), platform::ImageLoad::NotThisFormat);  // a directory
}

// --- Text written into images ---------------------------------------------

// Pixels per em of a size in points on the screen: MulDiv(points, 96, 72).
int EmPixels(int points) { return (points * 96 + 36) / 72; }

// A hinted advance in whole pixels: the design advance (in 2048ths of an
// em) scaled to the em and rounded.
int Advance(int units, int points) { return (units * EmPixels(points) + 1024) / 2048; }

TEST(ScreenTextWidth, FollowsTheFacesAdvances) {
  // Arial and Courier New resolve to Liberation Sans and Liberation Mono,
  // whose advances are Arial's and Courier New's: "W" 1933, "i" 455, every
  // character of the monospaced face 1229.
  for (int points : {8, 10, 20}) {
    SCOPED_TRACE(points);
    EXPECT_EQ(platform::ScreenTextWidth({"Arial", points}, "W"), Advance(1933, points));
    EXPECT_EQ(platform::ScreenTextWidth({"Arial", points}, "WWWWW"), 5 * Advance(1933, points));
    EXPECT_EQ(platform::ScreenTextWidth({"Arial", points}, "iii"), 3 * Advance(455, points));
    const std::string caption = "KSeF: 5265877635-20260101-ABCDEF-12";
    EXPECT_EQ(platform::ScreenTextWidth({"Courier New", points}, caption),
              static_cast<int>(caption.size()) * Advance(1229, points));
  }
  EXPECT_EQ(platform::ScreenTextWidth({"Arial", 10}, ""), 0);
}

TEST(ScreenTextWidth, CountsBytesThatAreNotUtf8AsTheirCharacters) {
  EXPECT_EQ(platform::ScreenTextWidth({"Courier New", 10}, "\xB3\xB3"), 2 * Advance(1229, 10));
  EXPECT_EQ(platform::ScreenTextWidth({"Arial", 10}, "\xB3"), platform::ScreenTextWidth({"Arial", 10}, "\xC2\xB3"));
}

constexpr std::uint8_t kMarker[3] = {1, 2, 3};

platform::Bitmap MarkedImage(int width, int height) {
  platform::Bitmap image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i) image.rgb.insert(image.rgb.end(), kMarker, kMarker + 3);
  return image;
}

enum class Pixel { Marker, Ink, Background, Other };

struct Written {
  std::vector<Pixel> pixels;
  int width;
  Pixel At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Sorts the pixels of the image after drawing red text on blue.
Written WriteRedOnBlue(int width, int height, std::string_view text, int left, int top) {
  platform::Bitmap image = MarkedImage(width, height);
  platform::DrawScreenText(image, {"Arial", 10}, text, left, top, /*red*/ 0x0000FF, /*blue*/ 0xFF0000);
  EXPECT_EQ(image.rgb.size(), static_cast<std::size_t>(width) * height * 3);
  Written w{{}, width};
  for (std::size_t i = 0; i < image.rgb.size(); i += 3) {
    const std::uint8_t* p = &image.rgb[i];
    w.pixels.push_back(p[0] == 1 && p[1] == 2 && p[2] == 3     ? Pixel::Marker
                       : p[0] == 255 && p[1] == 0 && p[2] == 0 ? Pixel::Ink
                       : p[0] == 0 && p[1] == 0 && p[2] == 255 ? Pixel::Background
                                                               : Pixel::Other);
  }
  return w;
}

TEST(DrawScreenText, FillsTheTextsCellOnlyInTwoColours) {
  const std::string text = "QR 12";
  const int width = platform::ScreenTextWidth({"Arial", 10}, text);
  const int left = 4, top = 3;
  // Liberation Sans: ascent 0.905 em, descent 0.212 em, each rounded at 13
  // pixels an em.
  const int cellHeight = 12 + 3;
  Written w = WriteRedOnBlue(width + 10, cellHeight + 8, text, left, top);
  int ink = 0;
  for (int y = 0; y < cellHeight + 8; ++y)
    for (int x = 0; x < width + 10; ++x) {
      const bool inCell = x >= left && x < left + width && y >= top && y < top + cellHeight;
      const Pixel p = w.At(x, y);
      if (!inCell) {
        EXPECT_EQ(p, Pixel::Marker) << x << "," << y;
      } else {
        EXPECT_TRUE(p == Pixel::Ink || p == Pixel::Background) << x << "," << y;
        ink += p == Pixel::Ink;
      }
    }
  EXPECT_GT(ink, 20);
}

TEST(DrawScreenText, CutsOffWhatFallsOutsideTheImage) {
  const struct {
    const char* name;
    int left, top;
  } cases[] = {{"left and bottom", -7, 12}, {"right and top", 30, -6}, {"all sides", -5, -4}};
  const std::string text = "WWWWWWWW";
  const int width = platform::ScreenTextWidth({"Arial", 10}, text);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Written w = WriteRedOnBlue(40, 16, text, c.left, c.top);
    int ink = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool inCell = x >= c.left && x < c.left + width && y >= c.top && y < c.top + 15;
        EXPECT_EQ(w.At(x, y) == Pixel::Marker, !inCell) << x << "," << y;
        ink += w.At(x, y) == Pixel::Ink;
      }
    EXPECT_GT(ink, 0);
  }
}

TEST(DrawScreenText, TextWhollyOutsideLeavesTheImageAlone) {
  const struct {
    int left, top;
  } cases[] = {{40, 0}, {-200, 0}, {0, 16}, {0, -15}, {2147483600, 2147483600}, {-2147483647, 0}};
  for (const auto& c : cases) {
    Written w = WriteRedOnBlue(40, 16, "WWWW", c.left, c.top);
    for (Pixel p : w.pixels) ASSERT_EQ(p, Pixel::Marker) << c.left << "," << c.top;
  }
}

}  // namespace
}  // namespace zuvprint
