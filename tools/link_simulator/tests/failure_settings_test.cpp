// SYMULATOR.INI makes the printer fail on purpose: an error text, an exit
// status without an error file, the print-end marker in the host's
// directory. A settings file with a mistake fails the job rather than
// being half obeyed.
#include <gtest/gtest.h>

#include "link_run.h"

namespace zuvlink::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kReceiptJob = {"4", "1", "9600", "25", "ZUVHOSTi.fp6"};
const std::string kGoodReceipt =
    "#Paragon#\r\n\"1\",\"    "
    "1\",\"15\",\"CHLEB\",\"A\",\"349\",\"2\",\"0\",\"szt\",\"698\",\"0\",\"\",\"\",\"\",\"\"\r\n";

TEST(LinkFailureSettings, AnErrorTextFailsTheJobWithThatFirstLineAndDoesNothingElse) {
  LinkWorkDirectory dir;
  dir.Write("ZUVHOSTi.fp6", kGoodReceipt);
  dir.Settings({"; the printer is off", "# so every job fails", "", "  BLAD=Brak połączenia z drukarką",
                "blad=a later one does not count"});
  EXPECT_EQ(dir.Run("ELZABDR.EXE", kReceiptJob).status, 1);
  std::string file = dir.Read("ERROR.FP6");
  EXPECT_EQ(file.substr(0, file.find("\r\n") + 2), Cp852("Brak połączenia z drukarką") + "\r\n");
  EXPECT_FALSE(dir.Has("ROLKA.TXT"));
  EXPECT_FALSE(fs::exists(dir.Host() / "END_TASM"));
}

// The host's directory is the one above the work directory, or two above
// for the variant's MERA30; a failure of any kind leaves the marker there.
TEST(LinkFailureSettings, ThePrintEndMarkerGoesIntoTheHostsDirectory) {
  struct Case {
    std::string work, hostBelowRoot;  // the host directory, relative to the test's root
    std::string failure;              // "blad" or a faulty receipt
  };
  const Case cases[] = {{"FISK", "", "blad"},
                        {"FISK", "", "receipt"},
                        {"FISK/MERA30", "", "blad"},
                        {"FISK/mera30", "", "receipt"},
                        {"FISK/KASA2", "FISK", "blad"},
                        // Beyond ASCII, which Windows names in UTF-16.
                        {"Sklep Łódź/FISK", "Sklep Łódź", "receipt"},
                        {"Sklep Łódź/FISK/MERA30", "Sklep Łódź", "blad"}};
  for (const Case& c : cases) {
    LinkWorkDirectory dir(c.work);
    std::vector<std::string> settings = {"koniec_wydruku=1"};
    if (c.failure == "blad") settings.push_back("blad=Drukarka zaj\xc4\x99ta");
    dir.Settings(settings);
    dir.Write("ZUVHOSTi.fp6", c.failure == "blad" ? kGoodReceipt : "#Paragon#\r\n");
    EXPECT_EQ(dir.Run("ELZABDR.EXE", kReceiptJob).status, 1) << c.work;
    fs::path host = dir.Host() / c.hostBelowRoot;
    EXPECT_TRUE(fs::exists(host / "END_TASM")) << c.work;
    int markers = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Host()))
      markers += entry.path().filename() == "END_TASM";
    EXPECT_EQ(markers, 1) << c.work;
  }
}

TEST(LinkFailureSettings, WithoutTheMarkerSettingAFailedReceiptLeavesNoMarker) {
  LinkWorkDirectory dir;
  dir.Write("ZUVHOSTi.fp6", "#Paragon#\r\n");
  EXPECT_EQ(dir.Run("ELZABDR.EXE", kReceiptJob).status, 1);
  EXPECT_TRUE(dir.Has("ERROR.FP6"));
  EXPECT_FALSE(fs::exists(dir.Host() / "END_TASM"));
}

TEST(LinkFailureSettings, AnExitStatusIsAllThatHappens) {
  LinkWorkDirectory dir;
  dir.Write("ZUVHOSTi.fp6", kGoodReceipt);
  dir.Settings({"kod_wyjscia=3", "koniec_wydruku=1"});
  EXPECT_EQ(dir.Run("ELZABDR.EXE", kReceiptJob).status, 3);
  EXPECT_FALSE(dir.Has("ERROR.FP6"));
  EXPECT_FALSE(dir.Has("ROLKA.TXT"));
  EXPECT_FALSE(fs::exists(dir.Host() / "END_TASM"));
  EXPECT_EQ(dir.Read("SYMULATOR.LOG"), "ELZABDR.EXE 4 1 9600 25 ZUVHOSTi.fp6\r\n");
}

// An error file of an earlier run must not make a good job look failed.
TEST(LinkFailureSettings, AJobDoneRemovesTheErrorFileOfAnEarlierRun) {
  LinkWorkDirectory dir;
  dir.Write("ZUVHOSTi.fp6", kGoodReceipt);
  dir.Write("ERROR.FP6", "Brak papieru\r\n");
  EXPECT_EQ(dir.Run("ELZABDR.EXE", kReceiptJob).status, 0);
  EXPECT_FALSE(dir.Has("ERROR.FP6"));
  EXPECT_TRUE(dir.Has("ROLKA.TXT"));
}

TEST(LinkFailureSettings, AMistakeInTheSettingsFailsTheJobNamingTheLine) {
  struct Case {
    std::vector<std::string> lines;
    std::string error;
  };
  const Case cases[] = {
      {{"; comment", "kod_wyjscia=trzy"}, "Plik ustawień \"SYMULATOR.INI\", wiersz 2: kod_wyjscia: oczekiwano liczby"},
      {{"kod_wyjscia=256"}, "Plik ustawień \"SYMULATOR.INI\", wiersz 1: kod_wyjscia: oczekiwano liczby od 0 do 255"},
      {{"koniec_wydruku=tak"}, "Plik ustawień \"SYMULATOR.INI\", wiersz 1: koniec_wydruku"},
      {{"pole25=x"}, "Plik ustawień \"SYMULATOR.INI\", wiersz 1: nieznany klucz \"pole25\""},
      {{"", "blad"}, "Plik ustawień \"SYMULATOR.INI\", wiersz 2: brak znaku \"=\""},
  };
  for (const Case& c : cases) {
    LinkWorkDirectory dir;
    dir.Write("ZUVHOSTi.fp6", kGoodReceipt);
    dir.Settings(c.lines);
    EXPECT_EQ(dir.Run("ELZABDR.EXE", kReceiptJob).status, 1) << c.error;
    EXPECT_EQ(dir.FirstLine("ERROR.FP6").substr(0, c.error.size()), c.error);
    EXPECT_FALSE(dir.Has("ROLKA.TXT"));
  }
}

}  // namespace
}  // namespace zuvlink::testing
