// zuvhost run as a real process: the example tour and the clock example
// with their expected output, one-line errors that name the line while the
// script goes on, a script from standard input, and a library that cannot
// load because one of the modules it binds is missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "fixtures.h"

namespace zuvtill::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) { return ReadBytes(path.string()); }

// The build under test: this build's bin/, or the bin/ that
// ZUVTILL_TEST_BIN names (the Windows build's, with zuvhost.exe and its
// DLLs), its programs started through ZUVTILL_TEST_LAUNCHER (Wine).
struct Build {
  fs::path bin;
  std::string launcher;
  bool windows = false;

  fs::path Program(const std::string& name) const { return bin / (windows ? name + ".exe" : name); }
  // A bound library's file name: "libzuvcore.so", "zuvcore.dll".
  std::string Library(const std::string& name) const { return windows ? name + ".dll" : "lib" + name + ".so"; }
  // The command that starts program.
  std::string Start(const fs::path& program) const {
    return (launcher.empty() ? "" : Quoted(launcher) + " ") + Quoted(program.string());
  }
};

const Build& Tested() {
  static const Build build = [] {
    const char* bin = std::getenv("ZUVTILL_TEST_BIN");
    const char* launcher = std::getenv("ZUVTILL_TEST_LAUNCHER");
    Build b{bin && *bin ? fs::path(bin) : fs::path(ZUVHOST_BIN).parent_path(), launcher ? launcher : ""};
    b.windows = fs::exists(b.bin / "zuvhost.exe");
    return b;
  }();
  return build;
}

// Runs zuvhost on a data directory and a script file; answers the exit status.
int RunHost(const fs::path& zuvhost, const std::string& data, const std::string& script, std::string& out) {
  return RunCommand(Tested().Start(zuvhost) + " --data " + Quoted(data) + " " + Quoted(script), out);
}

// The build's zuvhost in bin/ and the other family's in bin/<family>/.
std::vector<std::pair<std::string, fs::path>> BothFamiliesHosts() {
  const Build& build = Tested();
  return {{ZUV_FAMILY_SYMBOL, build.Program("zuvhost")},
          {ZUV_OTHER_FAMILY, build.bin / ZUV_OTHER_FAMILY / build.Program("zuvhost").filename()}};
}

// A host directory whose FISK holds a copy of the link-program simulator
// under the family's program name, as a host installs it.
void InstallLinkProgram(const TempDirectory& host, const std::string& family) {
  fs::create_directories(host.File("FISK"));
  fs::copy_file(Tested().Program("zuvlink"), host.File(family == "FP600" ? "FISK/ELZABDR.EXE" : "FISK/POSNETDR.EXE"));
}

// Runs an example script with the sample data in the host directory. The
// link program's own complaints go to standard error, kept apart in
// stderr.txt; out is what the host shows.
int RunExampleIn(const TempDirectory& host, const fs::path& zuvhost, const std::string& script, std::string& out) {
  return RunCommand("cd " + Quoted(host.path()) + " && (" + Tested().Start(zuvhost) + " --data " +
                        Quoted(ZUVTILL_EXAMPLES "/dane") + " " + Quoted(ZUVTILL_EXAMPLES "/" + script) + " 2>" +
                        Quoted(host.File("stderr.txt")) + ")",
                    out);
}

TEST(Zuvhost, TheExampleTourPrintsWhatItShouldAndChangesNoTable) {
  TempDirectory dir;
  fs::copy(ZUVTILL_EXAMPLES "/dane", dir.path(), fs::copy_options::recursive);
  std::map<std::string, std::string> before;
  for (const auto& e : fs::directory_iterator(dir.path())) before[e.path().filename()] = ReadFile(e.path());

  std::string out;
  EXPECT_EQ(RunHost(Tested().Program("zuvhost"), dir.path(), ZUVTILL_EXAMPLES "/pokaz.prg", out), 0) << out;
  EXPECT_EQ(out, ReadFile(ZUVTILL_EXAMPLES "/pokaz.out"));

  for (const auto& e : fs::directory_iterator(dir.path())) {
    EXPECT_EQ(ReadFile(e.path()), before[e.path().filename()]) << e.path();
  }
}

// Under either family.
TEST(Zuvhost, TheClockExampleStartsTheDeviceReadsItsClockByReferenceAndStopsIt) {
  for (const auto& [family, zuvhost] : BothFamiliesHosts()) {
    std::string out;
    EXPECT_EQ(RunHost(zuvhost, ZUVTILL_EXAMPLES "/dane", ZUVTILL_EXAMPLES "/zegar.prg", out), 0) << out;
    EXPECT_EQ(out, ReadFile(ZUVTILL_EXAMPLES "/zegar." + family + ".out")) << family;
  }
}

// Under either family, in a host directory whose FISK holds the link
// program simulator under the family's name: the information read through
// the link program, then a failing run recorded in the error log.
TEST(Zuvhost, TheInformationExampleReadsThePrinterThroughItsLinkProgram) {
  for (const auto& [family, zuvhost] : BothFamiliesHosts()) {
    TempDirectory host;
    InstallLinkProgram(host, family);
    host.Write("FISK/SYMULATOR.INI", "pole1=09.12.2026\npole2=14:05\n");
    std::string out;
    EXPECT_EQ(RunExampleIn(host, zuvhost, "informacja.prg", out), 0) << ReadFile(host.File("stderr.txt"));
    EXPECT_EQ(out, ReadFile(ZUVTILL_EXAMPLES "/informacja." + family + ".out")) << family;
    EXPECT_FALSE(fs::exists(host.File("FISK/VHOSTi.df3"))) << "the information file is deleted";
  }
}

// The README's receipt example under either family: the sample document
// printed through the simulator onto its paper roll, then the deposit
// summary, which only the POSNET library prints.
TEST(Zuvhost, TheReceiptExamplePrintsTheSampleDocumentOntoThePaperRoll) {
  for (const auto& [family, zuvhost] : BothFamiliesHosts()) {
    TempDirectory host;
    InstallLinkProgram(host, family);
    std::string out;
    EXPECT_EQ(RunExampleIn(host, zuvhost, "paragon.prg", out), 0) << ReadFile(host.File("stderr.txt"));
    EXPECT_EQ(out, ReadFile(ZUVTILL_EXAMPLES "/paragon." + family + ".out")) << family;
    std::string roll = ReadFile(host.File("FISK/ROLKA.TXT"));
    for (const char* line : {"Piwo jasne pełne 0,5l", "SPRZEDAŻ OPODATK. C                13,27",
                             "SUMA PLN                           19,26", "DO ZAPŁATY PLN                     19,76",
                             "Dziękujemy za zakupy"}) {
      EXPECT_NE(roll.find(line), std::string::npos) << family << ": " << line << "\n" << roll;
    }
    bool posnet = family == "DF301";
    EXPECT_EQ(roll.find("NIP nabywcy:               525-000-00-00") != std::string::npos, posnet) << roll;
    EXPECT_EQ(roll.find("Kaucje wydane PLN                   0,50") != std::string::npos, posnet) << roll;
    EXPECT_FALSE(fs::exists(host.File(posnet ? "FISK/ZUVHOSTi.df3" : "FISK/ZUVHOSTi.fp6"))) << "the receipt file is deleted";
  }
}

TEST(Zuvhost, BadInputGivesOneLineNamingTheLineAndTheScriptGoesOn) {
  TempDirectory dir;
  MakeTable(dir.File("pozycje.dbf"), {{"NR_POZ", 'C', 5, 0, 0}}, {{T("    1")}});
  dir.Write("script.prg",
            "? 1\n"
            "? NOSUCH(1)\n"
            "? STR(\"x\")\n"
            "? \"abc\n"
            "DBSELECTAREA(\"naglowek\")\n"
            "? naglowek->nr_dowodu\n"
            "ZH_RAISE(\"CWSTART\", \"port zajęty\")\n"
            "? CWSTART(1, 9600)\n"
            "? pozycje->nr_poz, ;\n"
            "  DBSEEK(1)\n"
            "x := 2 ; ? x * 3 ; ? x +\n"
            "? 'done'  // comments are no statements\n");
  std::string out;
  EXPECT_EQ(RunHost(Tested().Program("zuvhost"), dir.path(), dir.File("script.prg"), out), 1);
  EXPECT_EQ(out,
            "1\n"
            "zuvhost: line 2: unknown function: NOSUCH\n"
            "zuvhost: line 3: argument error: STR argument 1 must be numeric, not character\n"
            "zuvhost: line 4: syntax error at column 3: text not closed: missing \"\n"
            "zuvhost: line 5: no table is open under the alias NAGLOWEK\n"
            "zuvhost: line 6: no table is open under the alias NAGLOWEK\n"
            "zuvhost: line 8: port zajęty\n"
            "zuvhost: line 9: seek in POZYCJE without an active order\n"
            "6\n"
            "zuvhost: line 11: syntax error at column 7: expression expected, found end of line\n"
            "done\n");
}

TEST(Zuvhost, ReadsTheScriptFromStandardInput) {
  TempDirectory dir;
  std::string out;
  EXPECT_EQ(RunCommand("printf '? {1, \"a\", .T., NIL}\\n' | " + Tested().Start(Tested().Program("zuvhost")) +
                           " --data " + Quoted(dir.path()),
                       out),
            0);
  EXPECT_EQ(out, "{1, \"a\", .T., NIL}\n");
}

TEST(Zuvhost, AMissingModuleFailsTheLoadWithTheSystemsMessage) {
  const Build& build = Tested();
  TempDirectory bin;
  std::vector<std::string> files = {build.Program("zuvhost").filename().string()};
  for (const char* library : {"zuvrt", "zuvtill", "zuvcore", "zuvfault", "zuvorg", "zuvelzab", "zuvcollect"}) {
    files.push_back(build.Library(library));
  }
  if (build.windows) {  // GCC's runtime DLLs
    for (const auto& e : fs::directory_iterator(build.bin)) {
      std::string name = e.path().filename().string();
      if (name.rfind("lib", 0) == 0 && e.path().extension() == ".dll") files.push_back(name);
    }
  }
  for (const std::string& file : files) fs::copy(build.bin / file, fs::path(bin.path()) / file);
  bin.Write("script.prg", "? 'never printed'\n");
  std::string out;
  EXPECT_EQ(RunCommand("env -u LD_LIBRARY_PATH " + build.Start(fs::path(bin.path()) / files[0]) + " --data " + Quoted(bin.path()) +
                           " " + Quoted(bin.File("script.prg")),
                       out),
            2);
  if (build.windows) {
    // The loader's own text, which names no module.
    EXPECT_TRUE(std::regex_match(out, std::regex("zuvhost: cannot load zuvtill\\.dll: [^\n]+\n"))) << out;
  } else {
    EXPECT_EQ(out,
              "zuvhost: cannot load libzuvtill.so: libzuvposnet.so: cannot open shared object file: "
              "No such file or directory\n");
  }
}

}  // namespace
}  // namespace zuvtill::testing
