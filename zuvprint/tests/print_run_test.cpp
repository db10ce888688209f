// The print run end to end: the real program prints onto the TRACE printer
// and the draw log shows what reached the page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "program_run.h"

namespace zuvprint::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class PrintRun : public ::testing::Test {
 protected:
  ScratchDir dir;

  // Prints doc.txt with the given content and style; returns the log.
  std::vector<json> Print(const std::string& content, const std::string& style = "",
                          std::vector<std::string> extra = {}) {
    dir.Write("doc.txt", content);
    std::vector<std::string> args{"doc.txt", style.empty() ? "" : "style.dpc"};
    if (!style.empty()) dir.Write("style.dpc", style);
    args.insert(args.end(), extra.begin(), extra.end());
    result = RunZuvprint(dir.Path(), args);
    EXPECT_EQ(result.status, 0) << result.err;
    return ReadDrawLog(dir / "doc.jsonl");
  }

  ProgramResult result;
};

// The font current when the first job was begun.
json FontAtJobBegin(const std::vector<json>& log) {
  json font;
  for (const auto& e : log) {
    if (e["op"] == "font") font = e;
    if (e["op"] == "startdoc") break;
  }
  return font;
}

// Baselines the run must reach, recomputed from the logged measures: the top
// line at margin + ascent, then one line step (gap + width of "J") per line.
std::vector<int> ExpectedBaselines(const json& font, float gapMm, float marginMm, const std::vector<int>& stepsBefore) {
  float gap = static_cast<float>(600 * static_cast<double>(gapMm) / 25.4);
  float top = static_cast<float>(600 * static_cast<double>(marginMm) / 25.4) + font["ascent"].get<float>();
  float step = gap + font["J"].get<float>();
  std::vector<int> ys;
  float y = top;
  int done = 0;
  for (int steps : stepsBefore) {
    for (; done < steps; ++done) y += step;
    ys.push_back(static_cast<int>(y));
  }
  return ys;
}

TEST_F(PrintRun, CharactersSitOnTheCellGridAndLinesAdvanceByOneLineStep) {
  auto log = Print("Ab\xa5\r\n\r\n\r\n\r\nxyz\r\n");
  auto lines = TextLines(log);
  ASSERT_EQ(lines.size(), 2u);
  json font = FontAtJobBegin(log);
  int w = font["W"];
  EXPECT_EQ(lines[0].text, "Abą");
  EXPECT_EQ(lines[0].x, (std::vector<int>{0, w, 2 * w}));
  EXPECT_EQ(lines[1].text, "xyz");
  // Three empty lines after text take three line steps.
  auto ys = ExpectedBaselines(font, 2.0f, 0.0f, {0, 4});
  EXPECT_EQ(lines[0].y, ys[0]);
  EXPECT_EQ(lines[1].y, ys[1]);
  EXPECT_EQ(Ops(log, "startdoc").at(0)["title"], "doc.txt");
}

TEST_F(PrintRun, StyleMeasuresMoveTheLines) {
  auto log = Print("A\r\nB", "[Ogolne]\nOdstep=50000\nMarginesGorny=150000\n[Czcionka]\nSNormalna=20\n");
  auto lines = TextLines(log);
  ASSERT_EQ(lines.size(), 2u);
  json font = FontAtJobBegin(log);
  EXPECT_EQ(font["size"], 20);
  auto ys = ExpectedBaselines(font, 5.0f, 15.0f, {0, 1});
  EXPECT_EQ(lines[0].y, ys[0]);
  EXPECT_EQ(lines[1].y, ys[1]);
}

TEST_F(PrintRun, LeadingEmptyLinesTakeNoSpace) {
  auto log = Print("\r\n\r\n\r\nA");
  auto lines = TextLines(log);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].y, ExpectedBaselines(FontAtJobBegin(log), 2.0f, 0.0f, {0})[0]);
}

TEST_F(PrintRun, EmptyFileBeginsAndEndsOneEmptyJob) {
  auto log = Print("");
  EXPECT_EQ(CountOps(log, "startdoc"), 1);
  EXPECT_EQ(CountOps(log, "startpage"), 1);
  EXPECT_EQ(CountOps(log, "enddoc"), 1);
  EXPECT_EQ(CountOps(log, "text"), 0);
}

// Pages and jobs that form feeds, single-page mode and the orientation
// sequences make.
struct PageCase {
  const char* name;
  std::string content;
  std::string style;
  std::vector<int> jobOrientations;  // one per job
  int pages;
  std::vector<std::string> texts;  // first text of each page, in order
};

class PageBreaks : public PrintRun, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageBreaks, MakeTheExpectedJobsAndPages) {
  const PageCase& c = GetParam();
  auto log = Print(c.content, c.style);
  auto docs = Ops(log, "startdoc");
  std::vector<int> orientations;
  for (const auto& d : docs) orientations.push_back(d["orientation"]);
  EXPECT_EQ(orientations, c.jobOrientations);
  EXPECT_EQ(CountOps(log, "startpage"), c.pages);
  EXPECT_EQ(CountOps(log, "endpage"), c.pages);
  EXPECT_EQ(CountOps(log, "enddoc"), static_cast<int>(docs.size()));
  std::vector<std::string> texts;
  for (const auto& l : TextLines(log)) texts.push_back(l.text);
  EXPECT_EQ(texts, c.texts);
  // Every page's first line sits on the top line.
  int top = FontAtJobBegin(log)["ascent"];
  bool firstOnPage = true;
  for (const auto& e : log) {
    if (e["op"] == "startpage") firstOnPage = true;
    if (e["op"] == "text" && firstOnPage) {
      EXPECT_EQ(e["y"], top) << e.dump();
      firstOnPage = false;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageBreaks,
    ::testing::Values(
        PageCase{"FormFeedStartsANewPage", "A\x0c\r\nB", "", {0}, 2, {"A", "B"}},
        PageCase{"FormFeedOnEmptyPageEmitsNoPage", "\x0c\r\nA\x0c\r\n\x0c\r\nB", "", {0}, 2, {"A", "B"}},
        PageCase{"TrailingLineFeedFormFeedIsIgnored", "A\r\n\x0c", "", {0}, 1, {"A"}},
        PageCase{"FormFeedEndingTheFileIsDropped", "A\x0c", "", {0}, 1, {"A"}},
        // A line end after the last form feed makes one more line, so the
        // form feed is not on the last line and the page after it is emitted.
        PageCase{"FormFeedBeforeTheFinalLineEndEmitsAnEmptyPage", "A\x0c\r\n", "", {0}, 2, {"A"}},
        PageCase{"SinglePageModeMakesAJobPerPage", "A\x0c\r\nB", "[Ogolne]\nPojedynczo=1\n", {0, 0}, 2, {"A", "B"}},
        PageCase{"LandscapeSequenceBeforeTextTurnsTheFirstJob", "\x1bLA\r\nA", "", {1}, 1, {"A"}},
        PageCase{"LandscapeFromTheStyle", "A", "[Ogolne]\nOrientacja=1\n", {1}, 1, {"A"}},
        PageCase{"PortraitInALandscapeJobWaitsForTheFormFeed", "A\r\n\x1bPOB\x0c\r\nC\x0c\r\nD",
                 "[Ogolne]\nOrientacja=1\n", {1, 0, 0}, 3, {"A", "B", "C", "D"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintRun, LandscapeJobsHaveTheSwappedPage) {
  auto log = Print("\x1bLA\r\nA");
  auto doc = Ops(log, "startdoc").at(0);
  EXPECT_EQ(doc["page"], (json{7016, 4961}));
  EXPECT_EQ(doc["dpi"], (json{600, 600}));
}

TEST_F(PrintRun, BaselineAlignmentIsSetAgainOnEveryPage) {
  auto log = Print("A\x0c\r\nB\x0c\r\nC");
  EXPECT_EQ(CountOps(log, "align"), 3);
}

TEST_F(PrintRun, DeletesThePrintFileAndTheWorkCopy) {
  dir.Write("qr.ini", "x");
  Print("A", "", {"", "", "qr.ini"});
  EXPECT_FALSE(dir.Has("doc.txt"));
  EXPECT_FALSE(dir.Has("dprtemp0.lst"));
  EXPECT_FALSE(dir.Has("qr.ini"));
}

TEST_F(PrintRun, KeepSwitchInAnyCaseKeepsThePrintFile) {
  for (std::string keep : {"-GUI", "-gui", "-Gui"}) {
    Print("A", "", {keep});
    EXPECT_TRUE(dir.Has("doc.txt")) << keep;
    EXPECT_FALSE(dir.Has("dprtemp0.lst"));
    fs::remove(dir / "doc.jsonl");
    fs::remove(dir / "doc.pdf");
  }
}

TEST_F(PrintRun, MissingPrintFileIsReportedAndTheQrFileStillDeleted) {
  dir.Write("qr.ini", "x");
  auto r = RunZuvprint(dir.Path(), {"nothing.txt", "", "", "", "qr.ini"});
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err, "Plik nothing.txt nie istnieje !\n\n");
  EXPECT_FALSE(dir.Has("qr.ini"));
}

TEST_F(PrintRun, NoFreeWorkCopyNameIsReportedAndNothingElseIsTouched) {
  for (int n = 0; n <= 1000; ++n) dir.Write("dprtemp" + std::to_string(n) + ".lst", "other");
  dir.Write("doc.txt", "A");
  auto r = RunZuvprint(dir.Path(), {"doc.txt"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("kopii roboczej"), std::string::npos) << r.err;
  EXPECT_FALSE(dir.Has("doc.txt"));
  EXPECT_TRUE(dir.Has("dprtemp1000.lst"));
  auto log = ReadDrawLog(dir / "doc.jsonl");
  EXPECT_EQ(CountOps(log, "startdoc"), 0);
  EXPECT_EQ(CountOps(log, "message"), 1);
}

TEST_F(PrintRun, OutputThatCannotBeWrittenIsReportedAndCleanedUp) {
  for (std::string printer : {"PDF", "TRACE"}) {
    dir.Write("doc.txt", "A");
    auto r = RunZuvprint(dir.Path(), {"doc.txt"}, {{"PRINTER", printer}, {"ZUVPRINT_OUTPUT_DIR", "/nonexistent/out"}});
    EXPECT_NE(r.status, 0) << printer;
    EXPECT_NE(r.err.find("/nonexistent/out"), std::string::npos) << r.err;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{}) << printer;
  }
}

TEST_F(PrintRun, ExistingOutputIsNeverReplaced) {
  dir.Write("doc.pdf", "mine");
  dir.Write("doc.jsonl", "mine");
  dir.Write("doc.txt", "A");
  ASSERT_EQ(RunZuvprint(dir.Path(), {"doc.txt"}).status, 0);
  std::ifstream old(dir / "doc.pdf");
  std::string kept((std::istreambuf_iterator<char>(old)), {});
  EXPECT_EQ(kept, "mine");
  EXPECT_TRUE(dir.Has("doc-2.pdf"));
  EXPECT_EQ(CountOps(ReadDrawLog(dir / "doc-2.jsonl"), "startdoc"), 1);
}

TEST_F(PrintRun, PrinterSwitchChoosesTheSecondPrinter) {
  struct Case {
    std::string style, printerSwitch;
    bool traced;  // the run went to TRACE (the fallback here) rather than PDF
  };
  const Case cases[] = {
      {"[Drukarka]\nNazwa=PDF\n[Drukarka2]\nNazwa=TRACE\n", "-2", true},
      {"[Drukarka]\nNazwa=PDF\n[Drukarka2]\nNazwa=TRACE\n", "", false},
      {"[Drukarka]\nNazwa=  PDF \n", "", false},                  // blanks around the name
      {"[Drukarka]\nNazwa=pdf\n", "", true},                      // letter case differs: fallback
      {"[Drukarka]\nNazwa=PDF\n", "-2", true},                    // no second printer: fallback
      {"[Drukarka]\nNazwa=PDF\n[Drukarka2]\nNazwa=\n", "-2", true},
  };
  for (const Case& c : cases) {
    ScratchDir d;
    d.Write("doc.txt", "A");
    d.Write("s.dpc", c.style);
    auto r = RunZuvprint(d.Path(), {"doc.txt", "s.dpc", "", c.printerSwitch});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(d.Has("doc.jsonl"), c.traced) << c.style << c.printerSwitch;
    EXPECT_TRUE(d.Has("doc.pdf"));
  }
}

// The built-in printers come first: a job on PDF or TRACE never loads
// libcups, and neither does an empty name. Any other name, or no printer
// named at all (the default printer is then CUPS's), asks CUPS; here no
// server answers, and the job goes to the default printer, TRACE.
TEST_F(PrintRun, OnlyAJobThatNeedsTheSystemsPrintersLoadsCups) {
  struct Case {
    std::string name;     // [Drukarka] Nazwa
    std::string printer;  // PRINTER
    bool cups;            // libcups was loaded
    bool traced;          // the job went to TRACE
  };
  const Case cases[] = {
      {"PDF", "TRACE", false, false},
      {" TRACE", "PDF", false, true},
      {"", "TRACE", false, true},
      {"", "PDF", false, false},
      {"Kolejka", "TRACE", true, true},
      {"Kolejka", "PDF", true, false},
      {"", "", true, false},  // no printer named: CUPS has none, so PDF
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " / " + c.printer);
    ScratchDir d;
    d.Write("doc.txt", "A");
    d.Write("s.dpc", "[Drukarka]\nNazwa=" + c.name + "\n");
    // The dynamic loader names every library it loads, also by dlopen.
    auto r = RunZuvprint(d.Path(), {"doc.txt", "s.dpc"},
                         {{"PRINTER", c.printer}, {"LD_DEBUG", "files"}, {"LD_DEBUG_OUTPUT", (d / "ld").string()}});
    EXPECT_EQ(r.status, 0) << r.err;
    std::string loaded;
    for (const std::string& name : d.Names())
      if (name.rfind("ld.", 0) == 0) {
        std::ifstream in(d / name);
        loaded.append(std::istreambuf_iterator<char>(in), {});
      }
    ASSERT_NE(loaded.find("file=libcairo.so.2"), std::string::npos);
    EXPECT_EQ(loaded.find("file=libcups.so.2") != std::string::npos, c.cups);
    EXPECT_EQ(d.Has("doc.jsonl"), c.traced);
    EXPECT_TRUE(d.Has("doc.pdf"));
  }
}

// The Windows names the program maps are found through a small font
// configuration of its own; any other name through the system's whole
// configuration with the program's aliases on top, before or after a mapped
// name in the same run. Debian's rules put "Courier New" beside
// "Courier" (faces of the same widths) and "Arial" among the faces of an
// unknown name, and the program maps those two; without the system's rules
// neither name would find a face of its kind.
TEST_F(PrintRun, FacesAreFoundThroughTheSystemsRulesExceptTheWindowsNamesWeMap) {
  struct Case {
    std::string style;  // the print file has a line in Normalna, then one in Elite
    std::vector<std::string> fonts;
  };
  const Case cases[] = {
      {"", {"DejaVuSansMono"}},
      {"NNormalna=Courier New\nNElite=Arial\n", {"LiberationMono", "LiberationSans"}},
      {"NNormalna=Courier\n", {"DejaVuSansMono", "LiberationMono"}},  // Elite: Lucida Console
      {"NElite=Courier\n", {"DejaVuSansMono", "LiberationMono"}},
      {"NElite=Zuv Nieznany Krój\n", {"DejaVuSansMono", "LiberationSans"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    ScratchDir d;
    d.Write("doc.txt", "Normalna\r\n\033MElite\r\n");
    d.Write("s.dpc", "[Czcionka]\n" + c.style);
    ASSERT_EQ(RunZuvprint(d.Path(), {"doc.txt", "s.dpc"}, {{"PRINTER", "PDF"}}).status, 0);
    std::istringstream lines(CommandOutput("pdffonts '" + (d / "doc.pdf").string() + "'"));
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);) {
      const std::size_t plus = line.find('+');
      if (plus == 6) {  // a subset: "ABCDEF+Name"
        std::string name = line.substr(plus + 1, line.find(' ') - plus - 1);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
      }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.fonts);
  }
}

// A size reaches the font as a Windows canvas takes it: a positive size is
// the character (em) height, a negative one the cell height (ascent plus
// descent), 0 the platform's default cell of 16 pixels. "Lucida Console"
// is drawn with DejaVu Sans Mono: a cell of 1.164 em, an advance of 0.602 em.
TEST_F(PrintRun, FontSizesOfEverySignReachTheFontAsOnWindows) {
  struct Case {
    int size;
    int width;  // of "W": 0.602 em
  };
  const Case cases[] = {
      {10, 50},   // em 83 pixels at 600 dpi
      {-10, 43},  // cell 83: em 71
      {0, 8},     // cell 16: em 14
  };
  for (const Case& c : cases) {
    ScratchDir d;
    d.Write("doc.txt", "AB");
    d.Write("s.dpc", "[Czcionka]\nSNormalna=" + std::to_string(c.size) + "\n");
    ASSERT_EQ(RunZuvprint(d.Path(), {"doc.txt", "s.dpc"}).status, 0);
    auto log = ReadDrawLog(d / "doc.jsonl");
    json font = FontAtJobBegin(log);
    EXPECT_EQ(font["size"], c.size);
    EXPECT_EQ(font["W"], c.width) << c.size;
    EXPECT_GT(font["ascent"], 0) << c.size;
    auto lines = TextLines(log);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, (std::vector<int>{0, c.width})) << c.size;  // left to right, one cell apart
  }
}

TEST_F(PrintRun, BareStyleFileNameMeansTheCurrentDirectory) {
  auto log = Print("A", "[Czcionka]\nSNormalna=20\n");  // passed as "style.dpc"
  EXPECT_EQ(FontAtJobBegin(log)["size"], 20);
}

TEST_F(PrintRun, DefaultStyleFileLiesBesideTheProgramsDirectory) {
  fs::create_directories(dir / "app/bin");
  fs::create_directories(dir / "app/DOSPRINT");
  fs::copy_file(ZUVPRINT_BIN, dir / "app/bin/zuvprint");
  dir.Write("app/DOSPRINT/Default.dpc", "[Czcionka]\nSNormalna=14\n");
  dir.Write("doc.txt", "A");
  auto r = RunZuvprint(dir.Path(), {"doc.txt", "missing.dpc"}, {}, (dir / "app/bin/zuvprint").string());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FontAtJobBegin(ReadDrawLog(dir / "doc.jsonl"))["size"], 14);
}

// A file test means a file: a directory of the name is not one, whether it
// stands for the print file, the style file or the trace switch.
TEST_F(PrintRun, ADirectoryIsNoFile) {
  fs::create_directories(dir / "app/bin");
  fs::create_directories(dir / "app/DOSPRINT");
  fs::copy_file(ZUVPRINT_BIN, dir / "app/bin/zuvprint");
  dir.Write("app/DOSPRINT/Default.dpc", "[Czcionka]\nSNormalna=14\n");
  const std::string program = (dir / "app/bin/zuvprint").string();
  fs::create_directories(dir / "Test");
  fs::create_directories(dir / "style.dpc");

  dir.Write("doc.txt", "A");
  auto r = RunZuvprint(dir.Path(), {"doc.txt", "style.dpc"}, {}, program);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");  // no trace messages
  EXPECT_EQ(FontAtJobBegin(ReadDrawLog(dir / "doc.jsonl"))["size"], 14);  // the default style file

  fs::create_directories(dir / "folder.txt");
  r = RunZuvprint(dir.Path(), {"folder.txt"}, {}, program);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err, "Plik folder.txt nie istnieje !\n\n");
  EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));
}

TEST_F(PrintRun, TraceModeShowsTheParametersAndTheQrMarker) {
  dir.Write("Test", "");
  auto log = Print("x%%QRKody\r\n", "", {"-GUI"});
  std::string expected =
      "Lliczba parametrow: 3\n\n"
      "Lliczba parametrow: 3\n1. doc.txt\n2. \n3. -GUI\n4. \n\n"
      "Kod %% w tekście. Ok\n\n"
      "Poczatek odczytu pliku INI\naPlikINI = \n\n"
      "Brak pliku aPlikIni: \n\n";
  EXPECT_EQ(result.err, expected);
  // Without QR settings the marker line prints as text.
  EXPECT_EQ(TextLines(log).at(0).text, "x%%QRKody");
  EXPECT_EQ(Ops(log, "message").at(0)["text"], "Kod %% w tekście. Ok");
}

TEST_F(PrintRun, TraceModeListsTheFifthParameterWhenGiven) {
  dir.Write("Test", "");
  dir.Write("doc.txt", "A");
  auto r = RunZuvprint(dir.Path(), {"doc.txt", "", "", "", "qr.ini", "ignored"});
  EXPECT_EQ(r.err,
            "Lliczba parametrow: 6\n\n"
            "Lliczba parametrow: 6\n1. doc.txt\n2. \n3. \n4. \n5. qr.ini\n\n");
}

TEST_F(PrintRun, HelpAndVersionUnlessSuchAFileExists) {
  for (std::string option : {"--help", "--version"}) {
    auto r = RunZuvprint(dir.Path(), {option});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
  }
  dir.Write("--help", "A");
  EXPECT_EQ(RunZuvprint(dir.Path(), {"--help"}).status, 0);
  EXPECT_FALSE(dir.Has("--help"));  // printed and deleted like any print file
  EXPECT_EQ(CountOps(ReadDrawLog(dir / "--help.jsonl"), "text"), 1);
}

TEST_F(PrintRun, NoParametersDoNothing) {
  auto r = RunZuvprint(dir.Path(), {});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

}  // namespace
}  // namespace zuvprint::testing
