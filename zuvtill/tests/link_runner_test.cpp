// WD_RUNLINK, GETPROGNAME and WD_GETPROG of the till library for the
// family under test, running real programs through the system's command
// interpreter in the work directories of a host directory: the
// link-program simulator installed under the family's program name, and a
// scripted program (link_script.cpp) where a test needs one that behaves
// otherwise (a collector's, one that moves the host's directory away), and
// files that cannot start.
#include <gtest/gtest.h>

#include <regex>

#include "injected_faults.h"

#include "runtime/code_page.h"
#include "runtime/text.h"
#include "till_fixture.h"

namespace zuvtill::testing {
namespace {

namespace fs = std::filesystem;
using runtime::Params;

class LinkRunnerTest : public TillTest {
 protected:
  void SetUp() override {
    TillTest::SetUp();
    SetWorkMode(2);
    rt().Terminal().SetPos(3, 5);
    rt().Terminal().DevOut("ekran hosta");
    rt().Terminal().SetCursor(runtime::Console::kCursorNone);
    rt().Terminal().ClearLog();
  }

  std::string Program() const { return Elzab() ? "ELZABDR.EXE" : "POSNETDR.EXE"; }
  std::string ErrorFile() const { return Elzab() ? "ERROR.FP6" : "ERROR.DF3"; }
  std::string ErrorLog() const { return Elzab() ? "ERRORZUV.FP6" : "ERRORZUV.DF3"; }
  std::string Shown() const { return Elzab() ? "CW_PISZERR" : "DW_PISZERR"; }

  // The scripted program under that name in the work directory (relative
  // to the host's), with its script.
  void InstallScript(const std::string& workDirectory, const std::string& name, const std::string& script) {
    fs::create_directories(host_.File(workDirectory));
    fs::copy_file(LINK_SCRIPT_BIN, host_.File(workDirectory + "/" + name), fs::copy_options::overwrite_existing);
    host_.Write(workDirectory + "/SKRYPT.TXT", script + "\n");
  }

  // The simulator under the family's program name, with its settings.
  void InstallSimulator(const std::string& workDirectory = "FISK", const std::string& settings = "") {
    fs::create_directories(host_.File(workDirectory));
    fs::copy_file(ZUVLINK_BIN, host_.File(workDirectory + "/" + Program()));
    if (!settings.empty()) host_.Write(workDirectory + "/SYMULATOR.INI", settings);
  }

  bool RunLink(std::vector<Value> arguments) { return CallExport("WD_RUNLINK", std::move(arguments)).AsLogical(); }
  bool RunJob(const std::string& job, const std::string& file, Value variant = Value()) {
    std::string command = CallExport("WD_GETPROG", {T(job)}).AsText() + " " + file;
    return RunLink({T(command), Value(), Value(), Value(), Value(), variant});
  }

  // The console is the host's again: screen, and the cursor switched off.
  void ExpectHostConsole() {
    EXPECT_EQ(runtime::RTrim(rt().Terminal().ScreenRow(3)), "     ekran hosta");
    EXPECT_EQ(rt().Terminal().CursorShape(), runtime::Console::kCursorNone);
    EXPECT_EQ(fs::current_path(), fs::path(host_.path()));
  }

  std::string Log(const std::string& path) { return ReadBytes(host_.File(path)); }

  TempDirectory host_;
  WorkingIn here_{host_.path()};
};

TEST_F(LinkRunnerTest, TheCommandLineCarriesProgramJobPortSpeedAndTheFamilysTail) {
  struct Row {
    Value port, speed, lineOption;
    std::string elzab, posnet;
  };
  const Row rows[] = {
      {N(1), N(9600), N(5), "ELZABDR.EXE 4 1 9600 25", "POSNETDR.EXE 4 1 9600 1"},
      {N(3), N(19200), N(0), "ELZABDR.EXE 4 3 19200 25", "POSNETDR.EXE 4 3 19200 0"},
      {N(12), N(115200), N(1), "ELZABDR.EXE 4 * ***** 25", "POSNETDR.EXE 4 * ***** 1"},
  };
  for (const Row& row : rows) {
    CallExport("DF_PARPORT", {Numbers({row.port, row.speed, row.lineOption, N(2)})});
    EXPECT_EQ(CallExport("WD_GETPROG", {T("4")}).AsText(), Elzab() ? row.elzab : row.posnet);
  }
  EXPECT_EQ(CallExport("GETPROGNAME").AsText(), Program());
}

TEST_F(LinkRunnerTest, ACollectorsProgramIsTheCollectorModulesAnswer) {
  rt().Recorder().SetAnswer("KL_SLODAN", T("KOLEK.EXE"));
  EXPECT_EQ(CallExport("GETPROGNAME", {T(" 10  2"), N(4), N(8)}).AsText(), "KOLEK.EXE");
  EXPECT_EQ(CallExport("GETPROGNAME", {T(" 10  2")}).AsText(), "KOLEK.EXE");
  EXPECT_EQ(Calls(), "KL_SLODAN(NIL, 7, 8, 4); KL_SLODAN(NIL, 7, NIL, 1)");
}

TEST_F(LinkRunnerTest, TheSimulatorCarriesOutTheJobInTheWorkDirectory) {
  for (const char* workDirectory : {"FISK", "FISK/MERA30"}) {
    InstallSimulator(workDirectory);
    bool mer30 = std::string(workDirectory) == "FISK/MERA30";
    EXPECT_TRUE(RunJob("3", "ZUVi.df3", mer30 ? T("MER30") : Value())) << workDirectory;
    EXPECT_EQ(Log(std::string(workDirectory) + "/SYMULATOR.LOG"),
              Program() + " 3 1 9600 " + (Elzab() ? "25" : "1") + " ZUVi.df3\r\n");
    EXPECT_EQ(Log(std::string(workDirectory) + "/ZUVi.df3").rfind("#Informacja z drukarki#\r\n\"", 0), 0u);
    ExpectHostConsole();
  }
}

TEST_F(LinkRunnerTest, TheSimulatorsErrorFileGoesIntoTheLog) {
  InstallSimulator("FISK", "blad=Brak połączenia z drukarką\n");
  EXPECT_FALSE(RunJob("3", "ZUVi.df3"));
  EXPECT_TRUE(std::regex_match(Log("FISK/" + ErrorLog()),
                               std::regex("\r\n==> .*\r\n\t" + runtime::Utf8ToCp852("Brak połączenia z drukarką"))));
  EXPECT_FALSE(fs::exists(host_.File("FISK/" + ErrorFile())));
}

TEST_F(LinkRunnerTest, TheSimulatorEndingWith126Or127HasRunAndReportedNoError) {
  // Whether a job failed is the error file's to say, not the exit status's.
  for (int status : {126, 127}) {
    InstallSimulator("FISK", "kod_wyjscia=" + std::to_string(status) + "\n");
    EXPECT_TRUE(RunJob("3", "ZUVi.df3")) << status;
    EXPECT_EQ(Log("FISK/SYMULATOR.LOG"), Program() + " 3 1 9600 " + (Elzab() ? "25" : "1") + " ZUVi.df3\r\n");
    EXPECT_NE(Calls().find("RAPORT(8527, \"Koniec pracy linka: " + Program() + "\")"), std::string::npos) << status;
    EXPECT_FALSE(fs::exists(host_.File("FISK/" + ErrorLog()))) << status;
    fs::remove_all(host_.File("FISK"));
  }
}

TEST_F(LinkRunnerTest, APortOrSpeedThatDoesNotFitReachesTheProgramAsAsterisks) {
  CallExport("DF_PARPORT", {Numbers({N(12), N(115200), Value(), N(2)})});
  InstallSimulator();
  EXPECT_FALSE(RunJob("4", "p.fp6")) << "the program refuses a port it cannot open";
  EXPECT_EQ(Log("FISK/SYMULATOR.LOG"), Program() + " 4 * ***** " + (Elzab() ? "25" : "1") + " p.fp6\r\n");
  std::string log = Log("FISK/" + ErrorLog());
  EXPECT_NE(log.find(runtime::Utf8ToCp852("numer portu nie zmieścił się w jednym znaku")), std::string::npos)
      << "the program's reason is in the log: " << log;
}

TEST_F(LinkRunnerTest, ARunReportsItsStartAndEndAndLeavesHostDirectoryAndConsoleAsTheyWere) {
  InstallScript("FISK", Program(), "pwd pwd.txt\nargs args.txt");
  EXPECT_TRUE(RunLink({T(Program() + " 3 1 9600 25 plik.x")}));
  EXPECT_EQ(Log("FISK/pwd.txt"), fs::canonical(host_.File("FISK")).string() + "\n");
  EXPECT_EQ(Log("FISK/args.txt"), "3 1 9600 25 plik.x\n");
  EXPECT_EQ(Calls(), "STATLINE(\"Uruchamianie programu komunikacyjnego ...\"); RAPORT(8527, \"Uruchomienie linka:" +
                         Program() + "\"); NOWY_GEN(.T.); STATLINE(-1); RAPORT(8527, \"Koniec pracy linka: " +
                         Program() + "\")");
  ExpectHostConsole();
  const std::vector<std::string> console = {"SETCURSOR 1", "SAVESCREEN 0 0 24 79", "SETPOS 24 0", "DEVOUT \"\"",
                                            "SETCURSOR 0", "RESTSCREEN 0 0 24 79", "SETCURSOR 0"};
  EXPECT_EQ(rt().Terminal().Log(), console);
  EXPECT_FALSE(fs::exists(host_.File("FISK/" + ErrorLog()))) << "a run without an error logs nothing";
}

TEST_F(LinkRunnerTest, AnErrorFileLeftByTheProgramIsCopiedIntoTheLogAndDeletedWhateverItsExitStatus) {
  const std::string first = runtime::Utf8ToCp852("Błąd 17: brak papieru");
  // 126 and 127 are also what a shell answers for a program it could not
  // run; a program that ran and ended with them has run all the same.
  for (int status : {0, 1, 126, 127}) {
    fs::remove(host_.File("FISK/" + ErrorLog()));
    InstallScript("FISK", Program(),
                  "write " + ErrorFile() + " " + first + "\\r\\ndruga linia\\r\\n\nexit " + std::to_string(status));
    EXPECT_FALSE(RunJob("4", "p.fp6")) << status;
    EXPECT_FALSE(fs::exists(host_.File("FISK/" + ErrorFile()))) << status;
    std::string log = Log("FISK/" + ErrorLog());
    EXPECT_TRUE(std::regex_match(log, std::regex("\r\n==> .*\r\n\t" + first))) << status << ": " << log;
    std::string calls = Calls();
    EXPECT_NE(calls.find("RAPORT(8527, \"Blad pracy linka: " + Program() +
                         "\"); KOM4(\"kopiowanie zbioru z zawartos`cia` bl`e`du ...\", 0, 0, .F.); " + Shown() + "(\"" +
                         first + "\"); E_FILEDELETE(\"FISK\\" + ErrorFile() + "\"); ZWIN("),
              std::string::npos)
        << status << ": " << calls;
    ExpectHostConsole();
    // The next run that leaves no error file finds no stale error either.
    InstallScript("FISK", Program(), "exit 0");
    EXPECT_TRUE(RunJob("4", "p.fp6")) << status;
    EXPECT_EQ(Log("FISK/" + ErrorLog()), log) << status;
  }
}

TEST_F(LinkRunnerTest, UnderWorkMode1EveryFiscalPrinterJobFails) {
  SetWorkMode(1);
  InstallScript("FISK", Program(), "exit 0");
  EXPECT_FALSE(RunJob("4", "p.fp6"));
  EXPECT_TRUE(std::regex_match(Log("FISK/" + ErrorLog()), std::regex("\r\n==> .*\r\n\t"))) << "a stamp alone";
}

TEST_F(LinkRunnerTest, AMissingProgramIsError1005InTheFiscalPrintersLog) {
  fs::create_directories(host_.File("FISK"));
  rt().Terminal().SetCursor(runtime::Console::kCursorNormal);
  EXPECT_FALSE(RunJob("3", "i.df3"));
  std::string calls = Calls();
  EXPECT_NE(calls.find("KOM3(\"Nie znaleziono programu komunikacyjnego: \"" + Program() + "\"!\", 0, 0, 3)"),
            std::string::npos)
      << calls;
  EXPECT_NE(calls.find("RAPORT(8527, \"Brak link'a drukarki: " + Program() + "\")"), std::string::npos) << calls;
  std::string log = Log("FISK/" + ErrorLog());
  EXPECT_TRUE(std::regex_search(log, std::regex("\t#1005:Brak programu komunikacyjnego;Nie znaleziono programu "
                                                "komunikacyjnego dla drukarki: \"" + Program() + "\"$")))
      << log;
  // The console as it was, the cursor too: the program never ran.
  EXPECT_EQ(runtime::RTrim(rt().Terminal().ScreenRow(3)), "     ekran hosta");
  EXPECT_EQ(rt().Terminal().CursorShape(), runtime::Console::kCursorNormal);
}

TEST_F(LinkRunnerTest, AMissingCollectorProgramIsLoggedInTheCollectorsDirectory) {
  rt().Recorder().SetAnswer("KL_SLODAN", T("KOLEK.EXE"));
  fs::create_directories(host_.File("KOLEKT_1"));
  EXPECT_FALSE(RunLink({T("KOLEK.EXE 1"), Value(), Value(), T(" 10  2"), N(1), Value(), N(8)}));
  EXPECT_NE(Calls().find("RAPORT(8527, \"Brak link'a kolektora: KOLEK.EXE\")"), std::string::npos);
  EXPECT_TRUE(std::regex_search(Log("KOLEKT_1/ERRORZUV.SP2"),
                                std::regex("#1005:Brak programu komunikacyjnego;Nie znaleziono programu "
                                           "komunikacyjnego dla kolektora: \"KOLEK.EXE\"$")));
}

TEST_F(LinkRunnerTest, AProgramThatCannotStartIsError1001) {
  struct Row {
    std::string what;
    std::string bytes;        // the program's file
    bool executable;
    std::string commandLine;  // its start
  };
  std::vector<Row> rows;
  for (const UnstartableProgram& program : UnstartablePrograms()) {
    rows.push_back({program.what, program.bytes, program.executable, Program()});
  }
  rows.push_back({"another program, missing, on the command line", ReadBytes(LINK_SCRIPT_BIN), true, "BRAK.EXE"});
  for (const Row& row : rows) {
    fs::remove(host_.File("FISK/" + ErrorLog()));
    fs::create_directories(host_.File("FISK"));
    host_.Write("FISK/" + Program(), row.bytes);
    MakeExecutable(host_.File("FISK/" + Program()), row.executable);
    host_.Write("FISK/" + ErrorFile(), "stary blad\r\n");
    EXPECT_FALSE(RunLink({T(row.commandLine + " 4 1 9600 25 p.fp6"), T(Program())})) << row.what;
    EXPECT_TRUE(std::regex_match(Log("FISK/" + ErrorLog()),
                                 std::regex("\r\n==> .*\r\n\t#1001: Bl`a`d uruchomienia programu komunikacyjnego\r\n"
                                            " {12};Bl`a`d RunShell`a\\.")))
        << row.what;
    EXPECT_TRUE(fs::exists(host_.File("FISK/" + ErrorFile())))
        << "a program that did not run left no error: " << row.what;
    std::string calls = Calls();
    EXPECT_NE(calls.find("RAPORT(8527, \"Blad uruchomienia linka: " + Program() +
                         "\"); KOM4(\"Zapis bl`e`du do pliku...\", 0, 0, .F.); " + Shown()),
              std::string::npos)
        << row.what << ": " << calls;
    ExpectHostConsole();
  }
}

TEST_F(LinkRunnerTest, AWorkDirectoryThatCannotBeEnteredIsAStartFailure) {
  InstallScript("FISK", Program(), "touch ran");
  rt().Recorder().SetAnswer("CHANGEDIR", N(3));
  EXPECT_FALSE(RunJob("4", "p.fp6"));
  EXPECT_NE(Calls().find("KOM3(\"Nie powiodl`a sie` zmiana katalogu na FISK!\", 0, 0, 3)"), std::string::npos);
  EXPECT_FALSE(fs::exists(host_.File("FISK/ran")));
  EXPECT_NE(Log("FISK/" + ErrorLog()).find("#1001:"), std::string::npos);
  ExpectHostConsole();
}

TEST_F(LinkRunnerTest, TheHostsDirectoryIsCurrentAgainEvenWhenItsPathNoLongerNamesIt) {
  // The program moves the host's directory away: the way back by its old
  // path fails, the runner still returns into it.
  if (!MovesDirectoriesInUse()) GTEST_SKIP() << "this system moves no directory that a process works in";
  fs::path moved = fs::path(host_.path()).parent_path() / (fs::path(host_.path()).filename().string() + "-moved");
  InstallScript("FISK", Program(), "move " + host_.path() + " " + moved.string());
  RunJob("4", "p.fp6");
  EXPECT_EQ(fs::current_path(), moved);
  fs::rename(moved, host_.path());
}

TEST_F(LinkRunnerTest, TheVariantAndTheCollectorKindChooseTheWorkDirectory) {
  struct Row {
    std::vector<Value> arguments;  // after the command line
    std::string workDirectory;
  };
  rt().Recorder().SetAnswer("KL_SLODAN", T("KOLEK.EXE"));
  const Row rows[] = {
      {{Value(), Value(), Value(), Value(), T("MER30")}, "FISK/MERA30"},
      {{Value(), Value(), Value(), Value(), T("mer30")}, "FISK"},
      {{Value(), Value(), Value(), Value(), T(" MER30")}, "FISK"},
      {{Value(), Value(), T(" 10  2"), Value(), Value(), N(8)}, "KOLEKT_1"},
      {{Value(), Value(), T(" 10  2"), Value(), Value(), N(3)}, "KOLEKTOR"},
      {{Value(), Value(), T(" 10  2"), Value(), T("MER30"), N(8)}, "KOLEKT_1/MERA30"},
      {{Value(), Value(), T("  2  7")}, "FISK"},
  };
  for (const Row& row : rows) {
    bool collector = row.workDirectory.rfind("KOLEKT", 0) == 0;
    std::string program = collector ? "KOLEK.EXE" : Program();
    InstallScript(row.workDirectory, program, "pwd pwd.txt");
    std::vector<Value> arguments{T(program)};
    arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
    RunLink(arguments);
    EXPECT_EQ(Log(row.workDirectory + "/pwd.txt"), fs::canonical(host_.File(row.workDirectory)).string() + "\n")
        << row.workDirectory;
    fs::remove_all(host_.File(row.workDirectory));
  }
}

TEST_F(LinkRunnerTest, TheErrorSymbolChoosesTheErrorFileAndTheLog) {
  // A program name of blanks is the device's own; the error files are
  // those of the error symbol when one is given, else the device's.
  InstallScript("FISK", Program(), "write ERROR.PSN blad\\r\\n");
  EXPECT_FALSE(RunLink({T(Program()), T("   "), T("  2  7")}));
  EXPECT_TRUE(std::regex_search(Log("FISK/ERRORZUV.PSN"), std::regex("\tblad$")));
  EXPECT_FALSE(fs::exists(host_.File("FISK/ERROR.PSN")));

  InstallScript("FISK", Program(), "write ERROR.PSN blad\\r\\n");
  EXPECT_TRUE(RunLink({T(Program()), T(""), T("")})) << "the fiscal printer's own error file is not there";
  EXPECT_TRUE(fs::exists(host_.File("FISK/ERROR.PSN")));

  // No error symbol: the device symbol's files.
  fs::remove(host_.File("FISK/ERRORZUV.PSN"));
  EXPECT_FALSE(RunLink({T(Program()), T(Program()), Value(), T("  2  7")}));
  EXPECT_TRUE(std::regex_search(Log("FISK/ERRORZUV.PSN"), std::regex("\tblad$")));
  EXPECT_FALSE(fs::exists(host_.File("FISK/ERROR.PSN")));
}

TEST_F(LinkRunnerTest, WithoutAPathOfItsDirectoryTheHostStillReturnsIntoIt) {
  InstallScript("FISK", Program(), "exit 0");
  for (Value answer : {Value(), T(".")}) {
    rt().Recorder().SetAnswer("DIRNAME", answer);
    EXPECT_TRUE(RunJob("4", "p.fp6")) << runtime::Display(answer, true);
    EXPECT_EQ(fs::current_path(), fs::path(host_.path())) << runtime::Display(answer, true);
  }
}

}  // namespace
}  // namespace zuvtill::testing
