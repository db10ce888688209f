// What a run leaves behind when a write fails part-way, and when many runs
// print at once in one directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "program_run.h"

namespace zuvprint::testing {
namespace {

namespace fs = std::filesystem;

// Pages of text: a PDF that grows with every page.
std::string Pages(int pages, const std::string& text) {
  std::string doc;
  for (int p = 0; p < pages; ++p) {
    for (int l = 0; l < 60; ++l) doc += text + " strona " + std::to_string(p) + " wiersz " + std::to_string(l) + "\r\n";
    doc += "\f";
  }
  return doc;
}

TEST(Robustness, AFullDeviceWhileWritingThePdfPublishesNoHalfDocument) {
  ScratchDir dir;
  // A page of text: the print file fits under the limit, its PDF (with the
  // embedded font) does not.
  const std::string doc = Pages(1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789");
  ASSERT_LT(doc.size(), 8000u);
  dir.Write("doc.txt", doc);
  dir.Write("qr.ini", "[DaneGlowne]\r\n");
  ProgramResult r = WaitZuvprint(
      StartZuvprint(dir.Path(), {"doc.txt", "", "", "", "qr.ini"}, {{"PRINTER", "PDF"}}, 8000));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Nie można zapisać wydruku doc.txt: File too large"), std::string::npos) << r.err;
  // No PDF, no temporary file, no work copy, no print file, no settings file.
  EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

TEST(Robustness, AWorkCopyThatCannotBeWrittenWholeIsRemoved) {
  ScratchDir dir;
  dir.Write("doc.txt", Pages(30, "Tekst dokumentu, ktory nie zmiesci sie w kopii roboczej"));
  ProgramResult r =
      WaitZuvprint(StartZuvprint(dir.Path(), {"doc.txt", "", "-GUI"}, {{"PRINTER", "PDF"}}, 50000));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Nie można utworzyć kopii roboczej pliku doc.txt !"), std::string::npos) << r.err;
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"doc.txt"});  // kept (-GUI); nothing half-written beside it
}

TEST(Robustness, SixteenRunsAtOnceInOneDirectoryPrintSixteenDocuments) {
  ScratchDir dir;
  constexpr int kRuns = 16;
  std::vector<StartedProgram> runs;
  for (int i = 0; i < kRuns; ++i) {
    const std::string name = "doc" + std::to_string(i) + ".txt";
    dir.Write(name, Pages(3, "Dokument numer " + std::to_string(i)));
  }
  for (int i = 0; i < kRuns; ++i)
    runs.push_back(StartZuvprint(dir.Path(), {"doc" + std::to_string(i) + ".txt"}, {{"PRINTER", "PDF"}}));
  for (auto& run : runs) {
    ProgramResult r = WaitZuvprint(run);
    EXPECT_EQ(r.status, 0) << r.err;
  }
  std::vector<std::string> expected;
  for (int i = 0; i < kRuns; ++i) expected.push_back("doc" + std::to_string(i) + ".pdf");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dir.Names(), expected);  // every work copy and print file gone
  for (int i = 0; i < kRuns; ++i) {
    const std::string pdf = (dir / ("doc" + std::to_string(i) + ".pdf")).string();
    const std::string txt = (dir / "text.txt").string();
    ASSERT_EQ(std::system(("pdftotext -f 3 -l 3 " + pdf + " " + txt).c_str()), 0);
    std::ifstream in(txt);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first.rfind("Dokument numer " + std::to_string(i) + " strona 2", 0), 0u) << first;
    fs::remove(txt);
  }
}

}  // namespace
}  // namespace zuvprint::testing
