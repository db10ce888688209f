// zuvhost run as a real process: the example tour and the clock example
// with their expected output, one-line errors that name the line while the
// script goes on, a script from standard input, and a library that cannot
// load because one of the modules it binds is missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
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
  // zuvhost of the family: in bin/ for the build's own, in bin/<family>/
  // for the other.
  fs::path Host(const std::string& family) const {
    fs::path host = Program("zuvhost");
    return family == ZUV_FAMILY_SYMBOL ? host : bin / family / host.filename();
  }
  // The command that starts program.
  std::string Start(const fs::path& program) const {
    return (launcher.empty() ? "" : Quoted(launcher) + " ") + Quoted(program.string());
  }
};

// This build, the one whose tests these are.
const Build& ThisBuild() {
  static const Build build{fs::path(ZUVHOST_BIN).parent_path(), ""};
  return build;
}

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
  return {{ZUV_FAMILY_SYMBOL, Tested().Host(ZUV_FAMILY_SYMBOL)}, {ZUV_OTHER_FAMILY, Tested().Host(ZUV_OTHER_FAMILY)}};
}

// A host directory whose FISK holds a copy of the build's link-program
// simulator under the family's program name, as a host installs it.
void InstallLinkProgram(const TempDirectory& host, const std::string& family, const Build& build = Tested()) {
  fs::create_directories(host.File("FISK"));
  fs::copy_file(build.Program("zuvlink"), host.File(family == "FP600" ? "FISK/ELZABDR.EXE" : "FISK/POSNETDR.EXE"));
}

// Runs an example script with the sample data in the host directory. The
// link program's own complaints go to standard error, kept apart in
// stderr.txt; out is what the host shows.
int RunExampleIn(const TempDirectory& host, const fs::path& zuvhost, const std::string& script, std::string& out,
                 const Build& build = Tested(), const std::string& data = ZUVTILL_EXAMPLES "/dane") {
  return RunCommand("cd " + Quoted(host.path()) + " && (" + build.Start(zuvhost) + " --data " + Quoted(data) + " " +
                        Quoted(ZUVTILL_EXAMPLES "/" + script) + " 2>" +
                        Quoted(host.File("stderr.txt")) + ")",
                    out);
}

// The files a run left in the host directory, by their paths below it,
// each entry's stamp line of the error logs ("==> date, time, operator")
// made "==> ...": the clock is no part of what is compared. Left out are
// the link program's complaints on standard error and the link program
// itself, which is each build's own.
std::map<std::string, std::string> FilesLeft(const TempDirectory& host) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(host.path())) {
    std::string name = fs::relative(e.path(), host.path()).generic_string();
    if (!e.is_regular_file() || name == "stderr.txt" || name == "FISK/ELZABDR.EXE" || name == "FISK/POSNETDR.EXE") {
      continue;
    }
    files[name] = std::regex_replace(ReadFile(e.path()), std::regex("\r\n==> [^\r]*\r\n"), "\r\n==> ...\r\n");
  }
  return files;
}

// Runs a link-job example in the host directory, whose FISK gets the
// simulator (and its settings, when given), over the data directory, and
// expects what the example's pinned output for the family says.
void ExpectPinnedExample(const TempDirectory& host, const std::string& family, const fs::path& zuvhost,
                         const std::string& script, const std::string& settings = "",
                         const std::string& data = ZUVTILL_EXAMPLES "/dane") {
  InstallLinkProgram(host, family);
  if (!settings.empty()) host.Write("FISK/SYMULATOR.INI", settings);
  std::string out;
  EXPECT_EQ(RunExampleIn(host, zuvhost, script, out, Tested(), data), 0) << ReadFile(host.File("stderr.txt"));
  const std::string pinned = script.substr(0, script.rfind('.')) + "." + family + ".out";
  EXPECT_EQ(out, ReadFile(ZUVTILL_EXAMPLES "/" + pinned)) << family;
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
    ExpectPinnedExample(host, family, zuvhost, "informacja.prg", "pole1=09.12.2026\npole2=14:05\n");
    EXPECT_FALSE(fs::exists(host.File("FISK/VHOSTi.df3"))) << "the information file is deleted";
  }
}

// The README's receipt example under either family: the sample document
// printed through the simulator onto its paper roll, then the deposit
// summary, which only the POSNET library prints.
TEST(Zuvhost, TheReceiptExamplePrintsTheSampleDocumentOntoThePaperRoll) {
  for (const auto& [family, zuvhost] : BothFamiliesHosts()) {
    TempDirectory host;
    ExpectPinnedExample(host, family, zuvhost, "paragon.prg");
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

// The sample data copied table by table, record by record, by an
// independent writer, Debian's python3-dbf (header, descriptors and
// records its own): the host reads it and composes the same receipt.
constexpr const char* kCopyTablesScript = R"(
import dbf, os, sys
source, target = sys.argv[1], sys.argv[2]
for name in sorted(os.listdir(source)):
    if not name.endswith('.dbf'):
        continue
    old = dbf.Table(os.path.join(source, name), codepage='cp852')
    old.open(dbf.READ_ONLY)
    new = dbf.Table(os.path.join(target, name), old.structure(), codepage='cp852', dbf_type='db3')
    new.open(dbf.READ_WRITE)
    for record in old:
        new.append(record)
        if dbf.is_deleted(record):
            dbf.delete(new[-1])
    new.close()
    old.close()
)";

TEST(Zuvhost, TheReceiptIsComposedFromTablesThatPython3DbfWrote) {
  TempDirectory data;
  data.Write("copy.py", kCopyTablesScript);
  std::string out;
  ASSERT_EQ(RunCommand("/usr/bin/python3 " + Quoted(data.File("copy.py")) + " " + Quoted(ZUVTILL_EXAMPLES "/dane") +
                           " " + Quoted(data.path()),
                       out),
            0)
      << out;
  fs::copy_file(ZUVTILL_EXAMPLES "/dane/tables.ini", data.File("tables.ini"));
  ASSERT_NE(ReadFile(data.File("pozycje.dbf")), ReadFile(ZUVTILL_EXAMPLES "/dane/pozycje.dbf")) << "written anew";
  for (const auto& [family, zuvhost] : BothFamiliesHosts()) {
    TempDirectory host;
    ExpectPinnedExample(host, family, zuvhost, "paragon.prg", "", data.path());
    EXPECT_NE(ReadFile(host.File("FISK/ROLKA.TXT")).find("DO ZAPŁATY PLN                     19,76"), std::string::npos)
        << family;
  }
}

// Under either family: a program that runs and one that ends with a status
// but no error file succeed; an error file, a program missing from the
// command line, a file that is no program, a missing program and a work
// directory that cannot be entered fail, each shown, reported and logged
// as it should.
TEST(Zuvhost, TheFailuresExampleFailsALinkJobInEachWay) {
  for (const auto& [family, zuvhost] : BothFamiliesHosts()) {
    TempDirectory host;
    ExpectPinnedExample(host, family, zuvhost, "awarie.prg");
    const std::string started = "\r\n==> ...\r\n\t#1001: Bl`a`d uruchomienia programu komunikacyjnego\r\n"
                                "            ;Bl`a`d RunShell`a.";
    const std::string program = family == "FP600" ? "ELZABDR.EXE" : "POSNETDR.EXE";
    EXPECT_EQ(FilesLeft(host)[family == "FP600" ? "FISK/ERRORZUV.FP6" : "FISK/ERRORZUV.DF3"],
              "\r\n==> ...\r\n\tBrak papieru w drukarce" + started + started +
                  "\r\n==> ...\r\n\t#1005:Brak programu komunikacyjnego;Nie znaleziono programu komunikacyjnego dla "
                  "drukarki: \"" + program + "\"" + started)
        << family;
  }
}

// The build under test (the Windows build, under Wine) and this one run
// the link jobs of the examples in host directories of their own, with
// their own simulators: what they show and every file they leave (paper
// rolls, exchange files, error logs, the simulator's log) are the same,
// byte for byte.
TEST(Zuvhost, AnotherBuildShowsAndLeavesWhatThisBuildDoes) {
  if (Tested().bin == ThisBuild().bin) GTEST_SKIP() << "no other build named by ZUVTILL_TEST_BIN";
  for (const char* script : {"informacja.prg", "paragon.prg", "awarie.prg"}) {
    for (const char* family : {"FP600", "DF301"}) {
      std::string out[2];
      std::map<std::string, std::string> files[2];
      const Build* builds[2] = {&ThisBuild(), &Tested()};
      for (int i = 0; i < 2; ++i) {
        TempDirectory host;
        InstallLinkProgram(host, family, *builds[i]);
        host.Write("FISK/SYMULATOR.INI", "pole1=09.12.2026\npole2=14:05\n");
        EXPECT_EQ(RunExampleIn(host, builds[i]->Host(family), script, out[i], *builds[i]), 0)
            << script << " " << family << ": " << ReadFile(host.File("stderr.txt"));
        files[i] = FilesLeft(host);
      }
      EXPECT_EQ(out[1], out[0]) << script << " " << family;
      EXPECT_EQ(files[1], files[0]) << script << " " << family;
      EXPECT_GE(files[0].size(), 2u) << script << " " << family << ": the files of a run";
    }
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
