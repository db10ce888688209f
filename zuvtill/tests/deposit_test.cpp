// WD_DRKAUCJE of libzuvtill.so for the family under test: the deposits of
// a device's documents summed from DBF tables into the deposit file (dry
// run), the host's tables and scopes left as they were, error 1007 outside
// the POSNET family, and the print through the link-program simulator.
#include <gtest/gtest.h>

#include <regex>

#include "injected_faults.h"
#include "sales_fixture.h"

namespace zuvtill::testing {
namespace {

namespace fs = std::filesystem;
using runtime::Utf8ToCp852;

// A packaging record ("    0" unnumbered, group "o") of a document.
Item Packaging(const std::string& document, double ilAnalit, double price, const std::string& nr = Nr(0),
               const std::string& grupa = "o") {
  Item i{nr, "BUT", 0, ilAnalit, "ZW", Nr(0), ilAnalit, true, document, grupa, price};
  return i;
}

class DepositTest : public SalesTest {
 protected:
  double Summary(const std::string& device = "  1  1") {
    return CallExport("WD_DRKAUCJE", {T(device), T(" 2 "), T(" Anna "), Value::OfDate(runtime::MakeDate(2026, 12, 9))})
        .AsNumber();
  }
  std::string DepositFile() { return ReadBytes(host_.File("FISK/KASA1k.df3")); }
  static std::string Expected(const std::string& takenIn, const std::string& handedOut) {
    return "#Kaucje#\r\nzmiana=2\r\nkasjer=Anna\r\npoczatek=09.12.2026\r\nkoniec=09.12.2026\r\nprzyjecie=" + takenIn +
           "\r\nwydanie=" + handedOut + "\r\n";
  }
};

TEST_F(DepositTest, OutsideThePosnetFamilyItIsError1007AndNothingElse) {
  if (!Elzab()) GTEST_SKIP() << "the POSNET library serves it";
  Open({{}}, {Packaging("PA00000001", 2, 0.50)}, {});
  host_.Write("DEBUGWIN", "");
  EXPECT_EQ(Summary(), -2);
  EXPECT_EQ(runtime::Display(rt().Variables().Get("wynik")), ".F.");
  EXPECT_NE(ErrorLog().find("\t#1007:Bl`e`dne urza`dzenie;Funkcja przeznaczona dla drukrek THERMAX"), std::string::npos);
  EXPECT_FALSE(fs::exists(host_.File("FISK/KASA1k.df3")));
  EXPECT_EQ(Calls(), "CW_ERRWPR(1007, \"Bl`e`dne urza`dzenie\", \"Funkcja przeznaczona dla drukrek THERMAX\"); "
                     "CW_PISZERR(\"#1007:Bl`e`dne urza`dzenie;Funkcja przeznaczona dla drukrek THERMAX\")");
}

TEST_F(DepositTest, TwoBottlesOutAndOneBackAreWydanie100AndPrzyjecie50) {
  if (Elzab()) GTEST_SKIP() << "only the POSNET library serves it";
  Open({{}}, {Packaging("PA00000001", 2, 0.50), Packaging("PA00000001", -1, 0.50)}, {});
  host_.Write("DEBUGWIN", "");
  EXPECT_EQ(Summary(), 0);
  EXPECT_EQ(DepositFile(), Expected("50", "100"));
  std::string calls = Calls();
  EXPECT_NE(calls.find("KOM3({\"Drukarka: DF301\", \"Wersja testowa bez uruchamiania drukarki fiskalnej\", "
                       "\"Wydruk dziennego podsumowania kaucji\"}); MK_VIEWER(\"FISK\\KASA1k.df3\")"),
            std::string::npos)
      << calls;
  // The notice and the progress display, closed progress first.
  EXPECT_TRUE(std::regex_search(calls, std::regex("KOM4\\(\"wyszukiwanie opakowan`...\"\\); INITPROGRES\\(\\); "
                                                  "GOPROGRES\\(1, 1\\); ZWIN\\(([0-9]+)\\); ZWIN\\(([0-9]+)\\)")))
      << calls;
  EXPECT_TRUE(rt().Variables().Get("handle_in").IsNumber());
}

TEST_F(DepositTest, OnlyTheDevicesDocumentsOfKinds1And3CountByTheSignOfTheirQuantity) {
  if (Elzab()) GTEST_SKIP() << "only the POSNET library serves it";
  Item numberedInKind3 = Packaging("ZW00000002", 0, 0.19, Nr(1));
  numberedInKind3.quantity = -3;  // kind 3 counts ilosc
  Item secondInKind3 = Packaging("ZW00000002", 0, 0.25, Nr(2));
  secondInKind3.quantity = 1;
  Open({{.odnosnik = "PA00000001"},
        {.odnosnik = "ZW00000002", .dokument = "ZWR"},
        {.odnosnik = "FV00000003", .dokument = "FV"},
        {.odnosnik = "PA00000004", .device = "  2  7"},
        {.odnosnik = "XX00000005", .dokument = "XXX"}},
       {Packaging("PA00000001", 2, 0.50), Packaging("PA00000001", -1, 0.50),
        Packaging("PA00000001", 5, 9.00, Nr(0), "t"),  // not packaging
        Packaging("PA00000001", 7, 1.00, Nr(1)),       // numbered: not in a kind-1 document
        numberedInKind3, secondInKind3,
        Packaging("ZW00000002", 4, 1.00),  // unnumbered: not in a kind-3 document
        Packaging("FV00000003", 9, 1.00), Packaging("PA00000004", 9, 1.00), Packaging("XX00000005", 9, 1.00)},
       {});
  host_.Write("DEBUGWIN", "");
  // The host's tables as it has them: the header table selected on its
  // third record in order 1, the items in their order on the last record.
  runtime::WorkArea& headers = rt().Areas().Require("naglowek");
  headers.GoTo(3);
  rt().Areas().Require("pozycje").GoTo(10);
  rt().Areas().Select("naglowek");
  const int area = rt().Areas().CurrentNumber();

  EXPECT_EQ(Summary(), 0);
  // Handed out 1.00 + 0.25, taken back 0.50 + 3 x 0.19 (0.57, which a
  // binary integer part would make 56 grosze).
  EXPECT_EQ(DepositFile(), Expected("107", "125"));
  EXPECT_NE(Calls().find("GOPROGRES(1, 4); GOPROGRES(2, 4); GOPROGRES(3, 4); GOPROGRES(4, 4); ZWIN"), std::string::npos);
  EXPECT_EQ(rt().Areas().CurrentNumber(), area);
  EXPECT_EQ(headers.RecNo(), 3);
  EXPECT_EQ(headers.Order(), 1);
  EXPECT_TRUE(headers.Scope(0).IsNil());
  EXPECT_TRUE(headers.Scope(1).IsNil());
  headers.SetOrder(11);  // the order the device's scopes were set on
  EXPECT_TRUE(headers.Scope(0).IsNil());
  EXPECT_TRUE(headers.Scope(1).IsNil());
  EXPECT_EQ(rt().Areas().Require("pozycje").RecNo(), 10);
}

TEST_F(DepositTest, ADeviceWithoutDocumentsHasBothTotals0) {
  if (Elzab()) GTEST_SKIP() << "only the POSNET library serves it";
  Open({{}}, {Packaging("PA00000001", 2, 0.50)}, {});
  host_.Write("DEBUGWIN", "");
  EXPECT_EQ(Summary("  3  3"), 0);
  EXPECT_EQ(DepositFile(), Expected("0", "0"));
  EXPECT_EQ(Calls().find("KOM4"), std::string::npos) << "no notice, no progress display";
}

TEST_F(DepositTest, TheSummaryIsPrintedByTheLinkProgramAndItsFileDeleted) {
  if (Elzab()) GTEST_SKIP() << "only the POSNET library serves it";
  Open({{}}, {Packaging("PA00000001", 2, 0.50), Packaging("PA00000001", -1, 0.50)}, {});
  SetWorkMode(2);
  fs::copy_file(ZUVLINK_BIN, host_.File("FISK/POSNETDR.EXE"));
  EXPECT_EQ(Summary(), 0);
  EXPECT_EQ(ReadBytes(host_.File("FISK/SYMULATOR.LOG")), "POSNETDR.EXE 13 1 9600 1 KASA1k.df3\r\n");
  std::string roll = ReadBytes(host_.File("FISK/ROLKA.TXT"));
  EXPECT_NE(roll.find("Anna"), std::string::npos) << roll;
  EXPECT_NE(roll.find("0,50"), std::string::npos) << roll;
  EXPECT_NE(roll.find("1,00"), std::string::npos) << roll;
  EXPECT_FALSE(fs::exists(host_.File("FISK/KASA1k.df3")));

  // A failed print: -2, and the file deleted all the same.
  host_.Write("FISK/SYMULATOR.INI", "blad=Brak papieru\n");
  EXPECT_EQ(Summary(), -2);
  EXPECT_FALSE(fs::exists(host_.File("FISK/KASA1k.df3")));
}

TEST_F(DepositTest, ADepositFileThatCannotBeWrittenWholeIsError1002AndIsNotPrinted) {
  if (!FileSizeLimit::Supported()) GTEST_SKIP() << "no file-size limit on this system";
  if (Elzab()) GTEST_SKIP() << "only the POSNET library serves it";
  Open({{}}, {Packaging("PA00000001", 2, 0.50)}, {});
  SetWorkMode(2);
  fs::copy_file(ZUVLINK_BIN, host_.File("FISK/POSNETDR.EXE"));
  double result;
  {
    FileSizeLimit full(120);  // the error log's entry fits, the file does not
    result = CallExport("WD_DRKAUCJE", {T("  1  1"), T("2"), T(std::string(60, 'K')),
                                         Value::OfDate(runtime::MakeDate(2026, 12, 9))})
                 .AsNumber();
  }
  EXPECT_EQ(result, -2);
  EXPECT_NE(ErrorLog().find(Utf8ToCp852("\t#1002:Błąd zapisu wejściowego pliku pomocniczego;Nieudany zapis")),
            std::string::npos)
      << ErrorLog();
  EXPECT_FALSE(fs::exists(host_.File("FISK/SYMULATOR.LOG"))) << "the link program is not started";
  EXPECT_LE(DepositFile().size(), 120u) << "the partly written file stays";
}

}  // namespace
}  // namespace zuvtill::testing
