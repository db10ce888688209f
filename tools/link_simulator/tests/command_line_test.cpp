// The program name decides the family, every run is logged with its
// arguments, and a command line that the library could not have meant for
// this printer fails the job with a text naming the parameter.
#include <gtest/gtest.h>

#include <algorithm>

#include "link_run.h"

namespace zuvlink::testing {
namespace {

TEST(LinkCommandLine, EveryRunAppendsItsArgumentsToTheRunLog) {
  LinkWorkDirectory dir;
  EXPECT_EQ(dir.Run("ELZABDR.EXE", {"3", "1", "9600", "25", "ZUVHOSTi.fp6"}).status, 0);
  EXPECT_EQ(dir.Run("ELZABDR.EXE", {"4", "*", "9600", "25", "ZUVHOSTi.fp6"}).status, 1);
  EXPECT_EQ(dir.Run("POSNETDR.EXE", {"13", "2", "19200", "0", "ZUVHOSTk.df3"}).status, 1);
  EXPECT_EQ(dir.Read("SYMULATOR.LOG"),
            "ELZABDR.EXE 3 1 9600 25 ZUVHOSTi.fp6\r\n"
            "ELZABDR.EXE 4 * 9600 25 ZUVHOSTi.fp6\r\n"
            "POSNETDR.EXE 13 2 19200 0 ZUVHOSTk.df3\r\n");
}

// The family follows the name in any case; a failed job leaves that
// family's error file and no other.
TEST(LinkCommandLine, TheProgramNameChoosesTheFamilyAndItsErrorFile) {
  struct Case {
    std::string program, tail, errorFile, otherErrorFile;
  };
  const Case cases[] = {{"ELZABDR.EXE", "25", "ERROR.FP6", "ERROR.DF3"},
                        {"elzabdr.exe", "25", "ERROR.FP6", "ERROR.DF3"},
                        {"POSNETDR.EXE", "1", "ERROR.DF3", "ERROR.FP6"},
                        {"PosnetDr.Exe", "0", "ERROR.DF3", "ERROR.FP6"}};
  for (const Case& c : cases) {
    LinkWorkDirectory dir;
    EXPECT_EQ(dir.Run(c.program, {"4", "1", "9600", c.tail, "brak.txt"}).status, 1) << c.program;
    EXPECT_TRUE(dir.Has(c.errorFile)) << c.program;
    EXPECT_FALSE(dir.Has(c.otherErrorFile)) << c.program;
    EXPECT_EQ(dir.FirstLine(c.errorFile), "Plik paragonu \"brak.txt\": nie można otworzyć (plik nie istnieje)");
  }
}

// argv[0] as Linux and Windows hand it over: a path of either system, a
// drive letter, without ".EXE". The run log names the program without its
// directory. Under Wine these are the commands that start the copy.
TEST(LinkCommandLine, TheProgramNameCountsWithoutItsDirectoryAndExtension) {
  LinkWorkDirectory dir;
  std::string windowsWork = "Z:" + dir.Work().string();
  std::replace(windowsWork.begin(), windowsWork.end(), '/', '\\');
  struct Case {
    std::string program, argv0, tail, errorFile, logged;  // the log line starts with logged
  };
  const Case cases[] = {
      {"ELZABDR.EXE", ".\\ELZABDR.EXE", "25", "ERROR.FP6", "ELZABDR.EXE "},
      {"ELZABDR.EXE", windowsWork + "\\ELZABDR.EXE", "25", "ERROR.FP6", "ELZABDR.EXE "},
      {"ELZABDR.EXE", dir.Work().string() + "/ELZABDR.EXE", "25", "ERROR.FP6", "ELZABDR.EXE "},
      {"ELZABDR.EXE", "ELZABDR", "25", "ERROR.FP6", "ELZABDR"},
      {"POSNETDR.EXE", windowsWork + "\\posnetdr.exe", "1", "ERROR.DF3", "posnetdr.exe "},
      {"POSNETDR.EXE", "POSNETDR.exe", "1", "ERROR.DF3", "POSNETDR.exe "},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir.Work() / c.errorFile);
    std::filesystem::remove(dir.Work() / "SYMULATOR.LOG");
    EXPECT_EQ(dir.RunAs(c.program, c.argv0, {"4", "1", "9600", c.tail, "brak.txt"}).status, 1) << c.argv0;
    EXPECT_EQ(dir.FirstLine(c.errorFile), "Plik paragonu \"brak.txt\": nie można otworzyć (plik nie istnieje)")
        << c.argv0;
    EXPECT_EQ(dir.Read("SYMULATOR.LOG").substr(0, c.logged.size()), c.logged) << c.argv0;
  }
}

TEST(LinkCommandLine, AnyOtherProgramNameIsRefusedWithExitStatusTwo) {
  LinkWorkDirectory dir;
  LinkResult result = dir.Run("DRUKARKA.EXE", {"3", "1", "9600", "25", "A.fp6"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("ELZABDR.EXE or POSNETDR.EXE"), std::string::npos) << result.err;
  EXPECT_FALSE(dir.Has("ERROR.FP6"));
  EXPECT_FALSE(dir.Has("A.fp6"));
  // One ".EXE" is dropped, not any ending.
  LinkResult twice = dir.Run("ELZABDR.EXE.EXE", {"3", "1", "9600", "25", "A.fp6"});
  EXPECT_EQ(twice.status, 2) << twice.err;
  EXPECT_FALSE(dir.Has("A.fp6"));
}

TEST(LinkCommandLine, AWrongCommandLineFailsNamingTheParameter) {
  struct Case {
    std::string program;
    std::vector<std::string> arguments;
    std::string error;  // the error file's first line starts so
  };
  const Case cases[] = {
      {"ELZABDR.EXE", {"5", "1", "9600", "25", "A.fp6"}, "Parametr 1 (kod zadania): nieznany"},
      {"ELZABDR.EXE", {"4", "*", "9600", "25", "A.fp6"}, "Parametr 2 (numer portu): numer portu nie zmieścił się"},
      {"ELZABDR.EXE", {"4", "0", "9600", "25", "A.fp6"}, "Parametr 2 (numer portu): oczekiwano jednej cyfry"},
      {"ELZABDR.EXE", {"4", "12", "9600", "25", "A.fp6"}, "Parametr 2 (numer portu): oczekiwano jednej cyfry"},
      {"ELZABDR.EXE",
       {"4", "1", "*****", "25", "A.fp6"},
       "Parametr 3 (prędkość transmisji): prędkość nie zmieściła się"},
      {"ELZABDR.EXE", {"4", "1", "9601", "25", "A.fp6"}, "Parametr 3 (prędkość transmisji): to nie jest prędkość"},
      {"ELZABDR.EXE", {"4", "1", "9600", "1", "A.fp6"}, "Parametr 4 (końcówka): drukarka FP600 oczekuje \"25\""},
      {"POSNETDR.EXE", {"4", "1", "9600", "25", "A.df3"}, "Parametr 4 (końcówka): drukarka DF301 oczekuje"},
      {"ELZABDR.EXE", {"4", "1", "9600", "25"}, "Parametr 5 (nazwa pliku): brak parametru"},
      {"ELZABDR.EXE", {"4", "1", "9600", "25", "A.fp6", "B.fp6"}, "Parametr 6: nadmiarowy"},
      {"ELZABDR.EXE", {"3", "1", "9600", "25", "../A.fp6"}, "Parametr 5 (nazwa pliku): nazwa pliku bez ścieżki"},
      {"ELZABDR.EXE", {"3", "1", "9600", "25", "..\\A.fp6"}, "Parametr 5 (nazwa pliku): nazwa pliku bez ścieżki"},
      {"ELZABDR.EXE", {"3", "1", "9600", "25", "C:A.fp6"}, "Parametr 5 (nazwa pliku): nazwa pliku bez ścieżki"},
      {"ELZABDR.EXE", {"4", "1", "9600", "25", "COM1"}, "Parametr 5 (nazwa pliku): to nazwa urządzenia"},
      {"ELZABDR.EXE", {"4", "1", "9600", "25", "aux.fp6"}, "Parametr 5 (nazwa pliku): to nazwa urządzenia"},
      {"POSNETDR.EXE", {"3", "1", "9600", "1", "Nul .df3"}, "Parametr 5 (nazwa pliku): to nazwa urządzenia"},
  };
  for (const Case& c : cases) {
    LinkWorkDirectory dir;
    dir.Write("A.fp6", "#Paragon#\r\n");
    std::string line;
    for (const std::string& a : c.arguments) line += " " + a;
    EXPECT_EQ(dir.Run(c.program, c.arguments).status, 1) << line;
    std::string errorFile = c.program == "ELZABDR.EXE" ? "ERROR.FP6" : "ERROR.DF3";
    EXPECT_EQ(dir.FirstLine(errorFile).substr(0, c.error.size()), c.error) << line;
    EXPECT_FALSE(dir.Has("ROLKA.TXT")) << line;
    EXPECT_FALSE(std::filesystem::exists(dir.Host() / "A.fp6")) << line;
  }
}

}  // namespace
}  // namespace zuvlink::testing
