// Printing on Windows, under Wine's real GDI: the printer list, TRACE and its
// draw log, the measures of the memory DC behind TRACE when no printer is
// installed, and a real printer DC (Wine's PostScript driver, installed for
// the test) whose jobs go to files.
#include <windows.h>
#include <winspool.h>
// Names of ours that windows.h and winspool.h make macros.
#undef DeleteFile
#undef MessageBox
#undef OpenPrinter

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/printers.h"
#include "platform/surface.h"
#include "platform/windows/gdi_surface.h"

namespace zuvprint::platform {
namespace {

namespace fs = std::filesystem;

std::string Utf8Path(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The "op" of a draw log line.
std::string Op(const std::string& line) {
  const std::string key = "{\"op\":\"";
  if (line.rfind(key, 0) != 0) return "?";
  return line.substr(key.size(), line.find('"', key.size()) - key.size());
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// An environment variable set for one test.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    _putenv_s(name, value.c_str());
  }
  ~ScopedVariable() { _putenv_s(name_, had_ ? old_.c_str() : ""); }  // "" removes it
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

// A directory of the test's own, where the built-in printers write.
class OutputDirectory : public ::testing::Test {
 protected:
  OutputDirectory() : dir_(NewDirectory()), variable_("ZUVPRINT_OUTPUT_DIR", Utf8Path(dir_)) {}
  ~OutputDirectory() override { fs::remove_all(dir_); }

  static fs::path NewDirectory() {
    fs::path dir = fs::temp_directory_path() / ("zuvprint_printing_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    return dir;
  }

  std::string Dir() const { return Utf8Path(dir_); }
  fs::path File(const std::string& name) const { return dir_ / name; }

  fs::path dir_;
  ScopedVariable variable_;
};

// The built-in TRACE printer leads the list.
const Printer& Trace(const PrinterList& list) { return list.Printers().front(); }

// A 2 x 1 bitmap: red, blue.
Bitmap TwoPixels() { return Bitmap{2, 1, {255, 0, 0, 0, 0, 255}}; }

// A 3 x 2 bitmap of six colours: its rows need padding in a DIB.
Bitmap SixPixels() {
  return Bitmap{3, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90}};
}

// The samples of the first image of a PostScript job, as Wine's driver
// writes them: ASCII85 over run-length encoding.
std::string ImageSamples(const std::string& ps) {
  std::size_t at = ps.find("image\n");
  if (at == std::string::npos) return {};
  at += 6;
  const std::size_t end = ps.find("~>", at);
  if (end == std::string::npos) return {};
  std::string packed;
  std::uint32_t group = 0;
  int digits = 0;
  for (char c : ps.substr(at, end - at)) {
    if (c == 'z' && digits == 0) {
      packed.append(4, '\0');
    } else if (c >= '!' && c <= 'u') {
      group = group * 85 + static_cast<std::uint32_t>(c - '!');
      if (++digits == 5) {
        for (int shift = 24; shift >= 0; shift -= 8) packed += static_cast<char>(group >> shift);
        group = 0;
        digits = 0;
      }
    }
  }
  if (digits > 0) {
    const int kept = digits - 1;
    for (; digits < 5; ++digits) group = group * 85 + 84;
    for (int i = 0, shift = 24; i < kept; ++i, shift -= 8) packed += static_cast<char>(group >> shift);
  }
  std::string samples;
  for (std::size_t i = 0; i < packed.size();) {
    const int length = static_cast<unsigned char>(packed[i++]);
    if (length == 128) break;
    if (length < 128) {
      samples += packed.substr(i, static_cast<std::size_t>(length) + 1);
      i += static_cast<std::size_t>(length) + 1;
    } else if (i < packed.size()) {
      samples.append(static_cast<std::size_t>(257 - length), packed[i++]);
    }
  }
  return samples;
}

// ---------------------------------------------------------------- printers

TEST(Printers, InstalledListsTraceThenTheSystemPrinters) {
  const PrinterList list = PrinterList::Installed();
  ASSERT_FALSE(list.Printers().empty());
  EXPECT_EQ(Trace(list).name, "TRACE");
  EXPECT_EQ(Trace(list).kind, PrinterKind::Trace);
  for (std::size_t i = 1; i < list.Printers().size(); ++i)
    EXPECT_EQ(list.Printers()[i].kind, PrinterKind::System) << list.Printers()[i].name;
  const int count = static_cast<int>(list.Printers().size());
  EXPECT_GE(list.DefaultIndex(), 0);
  EXPECT_LT(list.DefaultIndex(), count);
  ScopedVariable printer("PRINTER", "TRACE");
  EXPECT_EQ(list.DefaultIndex(), 0);
}

struct Unopenable {
  const char* what;
  Printer printer;
  bool missingOutputDirectory;
};

class PrintersThatCannotOpen : public OutputDirectory, public ::testing::WithParamInterface<Unopenable> {};

TEST_P(PrintersThatCannotOpen, AreAPrintError) {
  const Unopenable& c = GetParam();
  ScopedVariable out("ZUVPRINT_OUTPUT_DIR", c.missingOutputDirectory ? Utf8Path(dir_ / "brak") : Dir());
  try {
    OpenPrinter(c.printer, "faktura.txt");
    FAIL() << "no PrintError";
  } catch (const PrintError& e) {
    // The message names what could not be opened: the printer or the directory.
    EXPECT_TRUE(Has(e.what(), c.missingOutputDirectory ? Utf8Path(dir_ / "brak") : c.printer.name)) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Printers, PrintersThatCannotOpen,
    ::testing::Values(Unopenable{"NoSuchPrinter", {"Drukarka, której nie ma", PrinterKind::System}, false},
                      Unopenable{"TraceWithoutItsDirectory", {"TRACE", PrinterKind::Trace}, true},
                      Unopenable{"NoPdfPrinterHere", {"PDF", PrinterKind::Pdf}, false}),
    [](const auto& info) { return std::string(info.param.what); });

// ------------------------------------------------------- measuring surface

struct Measure {
  const char* face;
  int size;
  int w;
};

class MeasuringSurfaceFonts : public ::testing::TestWithParam<Measure> {};

// The Windows faces resolve through the prefix's font replacements to the
// same faces as on Linux: Courier New to Liberation Mono, Lucida Console to
// DejaVu Sans Mono, both 1229 or 1233 / 2048 of the em wide.
TEST_P(MeasuringSurfaceFonts, MeasureAsAt600PixelsPerInch) {
  const Measure& m = GetParam();
  std::unique_ptr<Surface> surface = MakeMeasuringSurface();
  surface->SelectFont(FontSpec{m.face, m.size, 238, false, false, 0});
  EXPECT_EQ(surface->TextWidth(U"W"), m.w);
  EXPECT_EQ(surface->TextWidth(U"WWW"), 3 * m.w);
  EXPECT_EQ(surface->TextWidth(U""), 0);
  // Bold and italic faces of these fonts keep the advance.
  surface->SelectFont(FontSpec{m.face, m.size, 238, true, true, 0});
  EXPECT_EQ(surface->TextWidth(U"W"), m.w);
  EXPECT_GT(surface->Ascent(), 0);
}

INSTANTIATE_TEST_SUITE_P(Faces, MeasuringSurfaceFonts,
                         ::testing::Values(Measure{"Courier New", 10, 50},      // em 83
                                           Measure{"Lucida Console", 10, 50},   // em 83
                                           Measure{"Lucida Console", -10, 43},  // cell 83, em 71
                                           Measure{"Lucida Console", 0, 8},     // default cell 16
                                           Measure{"Courier New", 20, 100}));

TEST(MeasuringSurface, IsAnA4PageAt600PixelsPerInchInEitherOrientation) {
  std::unique_ptr<Surface> surface = MakeMeasuringSurface();
  EXPECT_EQ(surface->DpiX(), 600);
  EXPECT_EQ(surface->DpiY(), 600);
  EXPECT_EQ(surface->PageWidth(), 4961);
  EXPECT_EQ(surface->PageHeight(), 7016);
  surface->SetOrientation(1);
  EXPECT_EQ(surface->PageWidth(), 7016);
  EXPECT_EQ(surface->PageHeight(), 4961);
  surface->SetOrientation(7);  // not an orientation: unchanged
  EXPECT_EQ(surface->PageWidth(), 7016);
  // Jobs begin and end without a printer, drawing nothing.
  surface->BeginJob("pusty");
  surface->DrawChar(10, 10, U'A');
  surface->StretchBitmap(Rect{0, 0, 10, 10}, TwoPixels(), Rect{0, 0, 2, 1});
  surface->NewPage();
  surface->EndJob();
  surface->SetOrientation(0);
  EXPECT_EQ(surface->PageWidth(), 4961);
}

TEST(MeasuringSurface, MeasuresBeforeAnyFontIsSelected) {
  std::unique_ptr<Surface> surface = MakeMeasuringSurface();
  EXPECT_EQ(surface->TextWidth(U"W"), 50);  // Lucida Console 10
}

// ------------------------------------------------------------------- TRACE

class TraceJob : public OutputDirectory {
 protected:
  // One job on TRACE of every kind of call; the draw log's lines.
  std::vector<std::string> PrintJob(const std::string& document) {
    const PrinterList list = PrinterList::Installed();
    std::unique_ptr<Surface> trace = OpenPrinter(Trace(list), document);
    trace->SetOrientation(1);
    trace->BeginJob("faktura.txt");
    dpi_ = trace->DpiY();
    trace->SetBaselineAlignment();
    trace->SelectFont(FontSpec{"Courier New", 10, 238, false, false, 0x0000FF});
    width_ = trace->TextWidth(U"W");
    trace->DrawChar(100, 200, U'Ą');
    trace->DrawChar(150, 200, U'\U0001F600');
    trace->SetPen(3, 0x00FF00);
    trace->MoveTo(10, 20);
    trace->LineTo(30, 40);
    trace->StretchBitmap(Rect{0, 0, 60, 30}, TwoPixels(), Rect{0, 0, 2, 1});
    trace->NewPage();
    trace->SetBaselineAlignment();
    trace->EndJob();
    trace.reset();
    return Lines(ReadFile(File("faktura.jsonl")));
  }

  int dpi_ = 0;
  int width_ = 0;
};

TEST_F(TraceJob, WritesTheDrawLogOfEveryCall) {
  const std::vector<std::string> log = PrintJob("C:\\dane\\faktura.txt");
  std::vector<std::string> ops;
  for (const std::string& line : log) ops.push_back(Op(line));
  const std::vector<std::string> expected{"orientation", "startdoc", "startpage", "align", "font",
                                          "text",        "text",     "pen",       "line",  "image",
                                          "endpage",     "startpage", "align",    "endpage", "enddoc"};
  ASSERT_EQ(ops, expected);
  EXPECT_TRUE(Has(log[1], "\"title\":\"faktura.txt\",\"orientation\":1")) << log[1];
  EXPECT_TRUE(Has(log[1], "\"dpi\":[" + std::to_string(dpi_) + "," + std::to_string(dpi_) + "]")) << log[1];
  EXPECT_TRUE(Has(log[4], "\"face\":\"Courier New\",\"size\":10,\"charset\":238")) << log[4];
  EXPECT_TRUE(Has(log[4], "\"color\":255,\"W\":" + std::to_string(width_) + ",")) << log[4];
  EXPECT_EQ(log[5], "{\"op\":\"text\",\"x\":100,\"y\":200,\"ch\":\"Ą\",\"code\":260}");
  EXPECT_TRUE(Has(log[6], "\"code\":128512")) << log[6];
  EXPECT_EQ(log[7], "{\"op\":\"pen\",\"width\":3,\"color\":65280}");
  EXPECT_EQ(log[8], "{\"op\":\"line\",\"x1\":10,\"y1\":20,\"x2\":30,\"y2\":40}");
  EXPECT_EQ(log[9], "{\"op\":\"image\",\"dest\":[0,0,60,30],\"src\":[2,1]}");
}

// In a prefix without printers TRACE measures on the memory DC: the page and
// the measures of a 600 dpi printer, and no file besides the log.
TEST_F(TraceJob, WithoutAPrinterMeasuresAt600PixelsPerInch) {
  if (PrinterList::Installed().Printers().size() > 1) GTEST_SKIP() << "a printer is installed";
  const std::vector<std::string> log = PrintJob("faktura.txt");
  ASSERT_GE(log.size(), 5u);
  EXPECT_TRUE(Has(log[1], "\"dpi\":[600,600],\"page\":[7016,4961]")) << log[1];
  EXPECT_TRUE(Has(log[4], "\"W\":50,")) << log[4];
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(dir_)) files.push_back(entry.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"faktura.jsonl"});
}

TEST_F(TraceJob, NeverReplacesAnExistingLog) {
  std::ofstream(File("faktura.jsonl"), std::ios::binary) << "keep";
  std::unique_ptr<Surface> trace = OpenPrinter(Trace(PrinterList::Installed()), "faktura.txt");
  trace->BeginJob("faktura.txt");
  trace->EndJob();
  trace.reset();
  EXPECT_EQ(ReadFile(File("faktura.jsonl")), "keep");
  EXPECT_TRUE(Has(ReadFile(File("faktura-2.jsonl")), "\"op\":\"enddoc\""));
}

// ------------------------------------------------------ a real printer DC

// A printer of Wine's PostScript driver installed in the prefix for one test
// and removed after it; its description file makes it 300 pixels per inch on
// A4, so its measures are not those of the memory DC. It is made the default
// printer meanwhile, the former default restored afterwards.
class TestPrinter {
 public:
  static constexpr const wchar_t* kName = L"ZuvPrint test printer";
  static constexpr const wchar_t* kDriver = L"ZuvPrint test driver";

  TestPrinter() {
    Remove();  // left behind by a run that crashed
    DWORD size = 0;
    ::GetDefaultPrinterW(nullptr, &size);
    if (size > 0) {
      formerDefault_.resize(size);
      if (::GetDefaultPrinterW(formerDefault_.data(), &size)) formerDefault_.resize(size - 1);
      else formerDefault_.clear();
    }
    std::ofstream(DriverDirectory() / "zuvprint-test.ppd", std::ios::binary) << kDescription;
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriver);
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(L"zuvprint-test.ppd");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    if (!::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES)) return;
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kName);
    info.pPortName = const_cast<wchar_t*>(L"FILE:");
    info.pDriverName = const_cast<wchar_t*>(kDriver);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return;
    ::ClosePrinter(printer);
    installed_ = ::SetDefaultPrinterW(kName) != 0;
  }

  ~TestPrinter() {
    Remove();
    if (!formerDefault_.empty()) ::SetDefaultPrinterW(formerDefault_.c_str());
  }
  TestPrinter(const TestPrinter&) = delete;
  TestPrinter& operator=(const TestPrinter&) = delete;

  bool Installed() const { return installed_; }
  static std::string Name() { return "ZuvPrint test printer"; }

 private:
  static fs::path DriverDirectory() {
    wchar_t dir[MAX_PATH] = {};
    DWORD needed = 0;
    ::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed);
    return fs::path(dir);
  }

  static void Remove() {
    HANDLE printer = nullptr;
    if (::OpenPrinterW(const_cast<wchar_t*>(kName), &printer, nullptr)) {
      ::DeletePrinter(printer);
      ::ClosePrinter(printer);
    }
    ::DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(kDriver));
    std::error_code ignored;
    fs::remove(DriverDirectory() / "zuvprint-test.ppd", ignored);
    fs::remove(DriverDirectory() / "3" / "zuvprint-test.ppd", ignored);
  }

  static constexpr const char* kDescription =
      "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
      "*LanguageEncoding: ISOLatin1\n*PCFileName: \"ZUVTEST.PPD\"\n*Manufacturer: \"ZuvPrint\"\n"
      "*Product: \"(Test)\"\n*PSVersion: \"(3010) 0\"\n*ModelName: \"Test\"\n*ShortNickName: \"Test\"\n"
      "*NickName: \"Test\"\n*ColorDevice: True\n*DefaultColorSpace: RGB\n*LanguageLevel: \"3\"\n"
      "*DefaultResolution: 300dpi\n"
      "*OpenUI *PageSize/Media Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n*DefaultPageSize: A4\n"
      "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageSize\n"
      "*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n*DefaultPageRegion: A4\n"
      "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageRegion\n"
      "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"0 0 595 842\"\n"
      "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n";

  bool installed_ = false;
  std::wstring formerDefault_;
};

class PrinterJob : public OutputDirectory {
 protected:
  void SetUp() override {
    if (!printer_.Installed()) GTEST_FAIL() << "the test printer could not be installed";
  }
  TestPrinter printer_;
};

TEST_F(PrinterJob, IsListedAsASystemPrinterAndIsTheDefault) {
  const PrinterList list = PrinterList::Installed();
  const int index = list.DefaultIndex();
  ASSERT_GE(index, 0);
  EXPECT_EQ(list.Printers()[static_cast<std::size_t>(index)].name, TestPrinter::Name());
  EXPECT_EQ(list.Printers()[static_cast<std::size_t>(index)].kind, PrinterKind::System);
  EXPECT_EQ(Trace(list).name, "TRACE");
}

TEST_F(PrinterJob, MeasuresAtThePrintersOwnResolution) {
  std::unique_ptr<Surface> surface = OpenPrinter({TestPrinter::Name(), PrinterKind::System}, "faktura.txt");
  EXPECT_EQ(surface->DpiX(), 300);
  EXPECT_EQ(surface->DpiY(), 300);
  EXPECT_EQ(surface->PageWidth(), 2479);  // 210 mm
  EXPECT_EQ(surface->PageHeight(), 3508);  // 297 mm
  surface->SelectFont(FontSpec{"Courier New", 10, 238, false, false, 0});
  EXPECT_EQ(surface->TextWidth(U"W"), 25);  // em 42
  surface->SetOrientation(1);
  EXPECT_EQ(surface->PageWidth(), 3508);
  EXPECT_EQ(surface->PageHeight(), 2479);
  EXPECT_EQ(surface->TextWidth(U"W"), 25);  // the font survives the reset DC
}

// Jobs of a printer whose output goes to files: one new file per job, in the
// orientation asked for before the job, never replacing a file.
TEST_F(PrinterJob, EachJobIsANewFileInItsOrientation) {
  std::ofstream(File("zadanie.prn"), std::ios::binary) << "keep";
  std::unique_ptr<Surface> surface = MakePrinterSurface(TestPrinter::Name(), JobFiles{Dir(), "zadanie", ".prn"});
  surface->SetOrientation(1);
  surface->BeginJob("Faktura 1");
  surface->SetBaselineAlignment();
  surface->SelectFont(FontSpec{"Courier New", 10, 238, false, false, 0x0000FF});
  surface->DrawChar(100, 200, U'Ą');
  surface->SetPen(3, 0x00FF00);
  surface->MoveTo(10, 20);
  surface->LineTo(300, 40);
  const Bitmap image = SixPixels();
  surface->StretchBitmap(Rect{0, 0, 60, 40}, image, Rect{0, 0, 3, 2});
  surface->NewPage();
  surface->EndJob();
  surface->SetOrientation(0);
  surface->BeginJob("Faktura 2");
  surface->EndJob();
  surface.reset();

  EXPECT_EQ(ReadFile(File("zadanie.prn")), "keep");
  const std::string first = ReadFile(File("zadanie-2.prn"));
  EXPECT_EQ(first.rfind("%!PS-Adobe", 0), 0u) << first.substr(0, 100);
  EXPECT_TRUE(Has(first, "%%Title: Faktura 1"));
  EXPECT_TRUE(Has(first, "%%Orientation: Landscape"));
  EXPECT_TRUE(Has(first, "%%Pages: 2"));
  // The page holds the text in its colour, the line in the pen's and the
  // image's pixels as they were.
  EXPECT_TRUE(Has(first, "1.00 0.00 0.00 setrgbcolor"));
  EXPECT_TRUE(Has(first, "100 200 moveto"));
  EXPECT_TRUE(Has(first, "/Aogonek glyphshow"));
  EXPECT_TRUE(Has(first, "0.00 1.00 0.00 setrgbcolor\n3 setlinewidth"));
  EXPECT_TRUE(Has(first, "10 20 moveto\n300 40 lineto"));
  EXPECT_EQ(ImageSamples(first), std::string(image.rgb.begin(), image.rgb.end()));
  const std::string second = ReadFile(File("zadanie-3.prn"));
  EXPECT_TRUE(Has(second, "%%Title: Faktura 2"));
  EXPECT_TRUE(Has(second, "%%Orientation: Portrait"));
  EXPECT_TRUE(Has(second, "%%Pages: 1"));
}

TEST_F(PrinterJob, AJobLeftOpenLeavesNoFile) {
  std::unique_ptr<Surface> surface = MakePrinterSurface(TestPrinter::Name(), JobFiles{Dir(), "zadanie", ".prn"});
  surface->BeginJob("Faktura");
  surface->DrawChar(100, 200, U'A');
  surface.reset();
  EXPECT_FALSE(fs::exists(File("zadanie.prn")));
}

// With a printer installed, TRACE draws on the default printer's DC, its
// output in a file beside the log, and logs that printer's measures.
TEST_F(PrinterJob, TraceDrawsOnTheDefaultPrinterIntoAFileBesideTheLog) {
  std::unique_ptr<Surface> trace = OpenPrinter(Trace(PrinterList::Installed()), "faktura.txt");
  trace->BeginJob("faktura.txt");
  trace->SelectFont(FontSpec{"Courier New", 10, 238, false, false, 0});
  trace->DrawChar(100, 200, U'A');
  trace->EndJob();
  trace.reset();
  const std::vector<std::string> log = Lines(ReadFile(File("faktura.jsonl")));
  ASSERT_GE(log.size(), 3u);
  EXPECT_TRUE(Has(log[0], "\"dpi\":[300,300],\"page\":[2479,3508]")) << log[0];
  EXPECT_TRUE(Has(log[2], "\"W\":25,")) << log[2];
  EXPECT_EQ(ReadFile(File("faktura.prn")).rfind("%!PS-Adobe", 0), 0u);
}

}  // namespace
}  // namespace zuvprint::platform
