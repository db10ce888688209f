// WD_DRPARAG of libzuvtill.so for the family under test: receipt files
// composed from sales documents in DBF tables, compared byte for byte in
// the dry run; every composition failure told and recorded; the print
// through the link-program simulator, the retry question after a print
// that broke off, the exchange file deleted.
#include <gtest/gtest.h>

#include <regex>

#include "injected_faults.h"
#include "sales_fixture.h"

namespace zuvtill::testing {
namespace {

namespace fs = std::filesystem;
using runtime::Utf8ToCp852;

class ReceiptTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    host_.Write("DEBUGWIN", "");
  }

  std::string FileName() const { return Elzab() ? "KASA1i.fp6" : "KASA1i.df3"; }
  std::string Receipt(const std::string& variant = "") {
    return ReadBytes(host_.File(variant.empty() ? "FISK/" + FileName() : "FISK/MERA30/" + FileName()));
  }
  void SetFooter(std::vector<std::pair<std::string, std::string>> lines) {
    runtime::Array footer;
    for (const auto& [number, text] : lines) {
      footer.push_back(Elzab() ? Value::OfArray(runtime::Array{T(number), T(Utf8ToCp852(text))}) : T(Utf8ToCp852(text)));
    }
    rt().Recorder().SetAnswer(Elzab() ? "CW_FOOTLINE" : "DW_FOOTLINE", Value::OfArray(std::move(footer)));
  }
  double Print(std::vector<Value> arguments = {}) { return CallExport("WD_DRPARAG", std::move(arguments)).AsNumber(); }

  // An item line as the family writes it: the fields that both families
  // share, then the family's unit and tail.
  std::string ItemLine(std::vector<std::string> shared, const std::string& unit, const std::string& value) const {
    std::vector<std::string> fields = std::move(shared);
    fields.push_back(Elzab() ? unit : "");
    fields.push_back(value);
    for (const char* tail : {"0", "", "", "", ""}) fields.push_back(Elzab() ? tail : (*tail ? "" : "0"));
    return Q(fields);
  }
};

const std::vector<Goods> kGoods = {
    {"CHL", "15", "Chleb żytni"},
    {"MAS", "27", "Masło ekstra osełka 82% tłuszczu 200g", "02"},
    {"SOL", "31", "Sól kamienna"},
    {"WOD", "3", "Woda mineralna"},
    {"BUT", "900", "Butelka zwrotna 0,5l", "01", "o"},
    {"SKR", "901", "Skrzynka", "03", "o"},
    {"TOR", "950", "Torba", "01", "t"},
};

// One document over the edge cases: quantities 2, 2.5, 0.001 and 3, a
// price that binary rounding would get a grosz wrong (1.005), a gap in the
// numbering (no item 5), packaging records of a main item (skipped), of no
// goods of group "o" (skipped), issued and taken back.
std::vector<Item> SampleItems() {
  return {{Nr(1), "CHL", 3.49, 2},
          {Nr(2), "MAS", 6.99, 2.5, "8"},
          {Nr(3), "SOL", 1.005, 0.001, "5"},
          {Nr(4), "WOD", 0.10, 3},
          {Nr(6), "CHL", 3.49, 1},
          {Nr(0), "BUT", 0.50, 1, "ZW", Nr(3)},
          {Nr(0), "BUT", 0.50, 2, "ZW", Nr(0), 2, true},
          {Nr(0), "TOR", 0.20, 1, "23"},
          {Nr(0), "SKR", 10.00, 1, "ZW", Nr(0), -1, true}};
}

TEST_F(ReceiptTest, TheDocumentIsWrittenLineByLineAsTheFamilyReadsIt) {
  Open({{.nip = "525-000-00-00"}}, SampleItems(), kGoods);
  SetFooter({{" 1", "Dziękujemy"}, {"12", "Zapraszamy"}});
  EXPECT_EQ(Print(), 0);
  const std::string packagingSymbol = Elzab() ? "ZW  " : "G";  // ELZAB keeps the VAT symbol
  std::string expected = "#Paragon#\r\n" +
                         ItemLine({"1", "    1", "15", Utf8ToCp852("Chleb żytni"), "A", "349", "2", "0"}, "szt.", "698") +
                         // The name is cut to the fiscal printer's 28 characters.
                         ItemLine({"1", "    2", "27", Utf8ToCp852("Masło ekstra osełka 82% tłus"), "B", "699", "25", "1"},
                                  "kg", "1748") +
                         ItemLine({"1", "    3", "31", Utf8ToCp852("Sól kamienna"), "C", "101", "1", "3"}, "szt.", "0") +
                         ItemLine({"1", "    4", "3", "Woda mineralna", "A", "10", "3", "0"}, "szt.", "30") +
                         ItemLine({"3", "    1", "900", "Butelka zwrotna 0,5l", packagingSymbol, "50", "2", "0"}, "szt.",
                                  "100") +
                         ItemLine({"2", "    2", "901", "Skrzynka", packagingSymbol, "1000", "1", "0"}, "opak", "1000");
  if (Elzab()) {
    // No buyer line without the MER30 variant.
    expected += Q({"4", "1", Utf8ToCp852("Dziękujemy")}) + Q({"4", "12", "Zapraszamy"}, false);
  } else {
    expected += Q({"5", "525-000-00-00"}) + Q({"4", Utf8ToCp852("Dziękujemy")}) + Q({"4", "Zapraszamy"}, false);
  }
  EXPECT_EQ(Receipt(), expected);
  EXPECT_EQ(rt().Variables().Get("cstawka").AsText(), " ");
  // Told as a dry run, shown in the viewer, and kept.
  std::string calls = Calls();
  EXPECT_NE(calls.find("KOM3({\"Drukarka: " + std::string(Elzab() ? "ELZAB FP600/Omega" : "DF301") +
                       "\", \"Wersja testowa bez uruchamiania drukarki fiskalnej\", \"Wydruk paragonu\"}); "
                       "MK_VIEWER(\"FISK\\" + FileName() + "\")"),
            std::string::npos)
      << calls;
}

TEST_F(ReceiptTest, NetPricesAreGrossedUpWithTheRateRoundedToTheGrosz) {
  Open({{.grossPrices = false}}, {{Nr(1), "CHL", 10.00, 1}, {Nr(2), "WOD", 2.50, 1, "7"}}, kGoods);
  EXPECT_EQ(Print(), 0);
  // 10.00 + 23 % = 12.30; 2.50 + 7 % (0.175, a half on the decimal value) = 2.68.
  EXPECT_EQ(Receipt(), "#Paragon#\r\n" +
                           ItemLine({"1", "    1", "15", Utf8ToCp852("Chleb żytni"), "A", "1230", "1", "0"}, "szt.", "1230") +
                           ItemLine({"1", "    2", "3", "Woda mineralna", "B", "268", "1", "0"}, "szt.", "268"));
}

// The ELZAB example: position 7, PLU 15, CHLEB at rate A, 3.49 gross,
// quantity 2 with three decimals of quantities, unit szt.
TEST_F(ReceiptTest, TheSeventhItemIsWrittenAsTheExampleLineSays) {
  std::vector<Item> items;
  for (int n = 1; n <= 6; ++n) items.push_back({Nr(n), "WOD", 1.99, 1});
  items.push_back({Nr(7), "CHLEB", 3.49, 2});
  std::vector<Goods> goods = kGoods;
  goods.push_back({"CHLEB", "15", "CHLEB", "04"});
  Open({{}}, items, goods);
  EXPECT_EQ(Print(), 0);
  std::string receipt = Receipt();
  std::string last = receipt.substr(receipt.rfind("\"1\",\"    7\""));
  EXPECT_EQ(last, ItemLine({"1", "    7", "15", "CHLEB", "A", "349", "2", "0"}, "szt", "698"));
  if (Elzab()) {
    EXPECT_EQ(last, "\"1\",\"    7\",\"15\",\"CHLEB\",\"A\",\"349\",\"2\",\"0\",\"szt\",\"698\",\"0\",\"\",\"\",\"\",\"\"\r\n");
  }
}

// Fields 7 and 8: the quantity in units of 10^-sp_ilosc with its trailing
// zeros dropped, and the decimals that remain, for as many places as the
// 12 digits hold. Where the quantity cannot be written so (more than 12
// digits, more decimals left than one digit counts) it is rounded to the
// most places below at which it can; without a count of places, to whole
// units. Field 10 stays the value of the exact quantity.
TEST_F(ReceiptTest, TheQuantityIsWrittenInUnitsOfTheHostsDecimalPlaces) {
  struct Row {
    Value places;  // sp_ilosc
    double quantity;
    std::string digits, decimals, value;  // fields 7, 8 and 10 at 10 grosze a unit
  };
  const Row rows[] = {
      {N(3), 2.5, "25", "1", "25"},
      {N(0), 2.5, "3", "0", "25"},
      {N(10), 2.5, "25", "1", "25"},
      {N(11), 2.5, "25", "1", "25"},
      {N(12), 0.25, "25", "2", "3"},
      {N(11), 0.001, "1", "3", "0"},
      {N(10), 99.5, "995", "1", "995"},
      {N(400), 2.5, "25", "1", "25"},
      // 13 digits: fewer places
      {N(10), 100, "100", "0", "1000"},
      {N(11), 12.25, "1225", "2", "123"},
      {N(9), 1234.5, "12345", "1", "12345"},
      // 10 and 11 decimals left: rounded to 9 places
      {N(10), 2.5000000001, "25", "1", "25"},
      {N(11), 3.00000000012, "3", "0", "30"},
      {N(10), 1.0000000006, "1000000001", "9", "10"},
      // no count of places: whole units
      {N(-1), 2.5, "3", "0", "25"},
      {N(2.5), 2.5, "3", "0", "25"},
      {T("3"), 2.5, "3", "0", "25"},
  };
  for (const Row& row : rows) {
    rt().Areas().CloseAll();
    rt().Variables().Assign("sp_ilosc", row.places);
    Open({{}}, {{Nr(1), "WOD", 0.10, row.quantity}}, kGoods);
    EXPECT_EQ(Print(), 0);
    const std::string line =
        ItemLine({"1", "    1", "3", "Woda mineralna", "A", "10", row.digits, row.decimals}, "szt.", row.value);
    EXPECT_EQ(Receipt(), "#Paragon#\r\n" + line) << runtime::Display(row.places, true) << " " << row.quantity;
  }
}

TEST_F(ReceiptTest, AShortReferenceStillFindsItsPackagingAndOddValuesKeepTheirFields) {
  // The reference is shorter than its field; a zero quantity; a PLU equal
  // to the limit.
  dictionary_ = {{T("  1  1"), N(950), N(28)}};
  Open({{.odnosnik = "PA1"}},
       {{Nr(1), "WOD", 1.99, 0, "23", Nr(0), 0, true, "PA1"},
        {Nr(2), "TOR", 0.20, 1, "23", Nr(0), -1, true, "PA1"},
        {Nr(0), "BUT", 0.50, 1, "ZW", Nr(0), 1, true, "PA1"}},
       kGoods);
  SetFooter({{" 7", "a"}, {"123", "b"}});
  EXPECT_EQ(Print(), 0);
  const std::string packagingSymbol = Elzab() ? "ZW  " : "G";
  std::string expected = "#Paragon#\r\n" + ItemLine({"1", "    1", "3", "Woda mineralna", "A", "199", "0", "3"}, "szt.", "0") +
                         ItemLine({"1", "    2", "950", "Torba", "A", "20", "1", "0"}, "szt.", "20") +
                         ItemLine({"3", "    1", "900", "Butelka zwrotna 0,5l", packagingSymbol, "50", "1", "0"}, "szt.", "50");
  // Footer numbers as the host writes them two wide: "**" for 123.
  expected += Elzab() ? Q({"4", "7", "a"}) + Q({"4", "**", "b"}, false) : Q({"4", "a"}) + Q({"4", "b"}, false);
  EXPECT_EQ(Receipt(), expected);
}

TEST_F(ReceiptTest, TheBuyerLineFollowsTheFamilyTheVariantAndTheBuyerFlags) {
  struct Row {
    std::vector<Value> arguments;
    bool footer;
    std::string elzab, posnet;  // the lines after the item line
    std::string directory = "";
  };
  const Row rows[] = {
      {{}, false, "", Q({"5", "525-000-00-00"}, false)},
      {{Value(), T("mer30")}, false, "", Q({"5", "525-000-00-00"}, false)},
      {{Value(), T("MER30")}, false, Q({"5", "525-000-00-00"}, false), Q({"5", "525-000-00-00"}, false), "MER30"},
      {{Value(), T("MER30")}, true, Q({"5", "525-000-00-00"}) + "F", Q({"5", "525-000-00-00"}) + "F", "MER30"},
      // The buyer types are POSNET's only.
      {{Value(), Value(), Value::Logical(true)}, false, "", Q({"6", "525-000-00-00"}, false)},
      {{Value(), Value(), Value(), Value::Logical(true)}, false, "", Q({"7", "525-000-00-00"}, false)},
      {{Value(), Value(), Value::Logical(true), Value::Logical(true)}, false, "", Q({"6", "525-000-00-00"}, false)},
      {{Value(), T("MER30"), Value::Logical(true)}, false, Q({"5", "525-000-00-00"}, false),
       Q({"6", "525-000-00-00"}, false), "MER30"},
  };
  for (const Row& row : rows) {
    rt().Areas().CloseAll();
    Open({{.nip = " 525-000-00-00 "}}, {{Nr(1), "WOD", 1.99, 1}}, kGoods);
    SetFooter(row.footer ? std::vector<std::pair<std::string, std::string>>{{"1", "F"}} : std::vector<std::pair<std::string, std::string>>{});
    ASSERT_EQ(Print(row.arguments), 0);
    std::string after = Receipt(row.directory);
    after = after.substr(after.find("\r\n", 12) + 2);  // past the header and the item line
    std::string expected = Elzab() ? row.elzab : row.posnet;
    if (row.footer) expected = expected.substr(0, expected.size() - 1) + Q(Elzab() ? std::vector<std::string>{"4", "1", "F"} : std::vector<std::string>{"4", "F"}, false);
    EXPECT_EQ(after, expected) << runtime::Display(Value::OfArray(row.arguments), true);
  }
}

TEST_F(ReceiptTest, DepositLinesTakeTheirTypeFromTheSignOfTheQuantity) {
  Open({{}}, {{Nr(1), "CHL", 3.49, 2, "23", Nr(0), -2, true}, {Nr(2), "WOD", 1.99, 1, "23", Nr(0), 1, true}}, kGoods);
  EXPECT_EQ(Print({Value::Logical(true)}), 0);
  EXPECT_EQ(Receipt(), "#Paragon#\r\n" +
                           ItemLine({"2", "    1", "15", Utf8ToCp852("Chleb żytni"), "A", "349", "2", "0"}, "szt.", "698") +
                           ItemLine({"3", "    2", "3", "Woda mineralna", "A", "199", "1", "0"}, "szt.", "199"));
}

TEST_F(ReceiptTest, WithoutADictionaryRecordThereIsNoLimitAndNoName) {
  dictionary_ = {{T("  2  7"), N(10), N(40)}};
  Open({{}}, {{Nr(1), "TOR", 0.20, 1}}, kGoods);
  EXPECT_EQ(Print(), 0);
  EXPECT_EQ(Receipt(), "#Paragon#\r\n" + ItemLine({"1", "    1", "950", "", "A", "20", "1", "0"}, "szt.", "20"));
}

// The first line of every entry of the fiscal printer's error log.
std::vector<std::string> Entries(const std::string& log) {
  std::vector<std::string> entries;
  std::regex entry("\r\n==> [^\r]*\r\n\t([^\r]*)");
  for (auto it = std::sregex_iterator(log.begin(), log.end(), entry); it != std::sregex_iterator(); ++it) {
    entries.push_back((*it)[1]);
  }
  return entries;
}

TEST_F(ReceiptTest, AFailedCompositionIsToldRecordedAndLeavesTheFileAsFarAsItGot) {
  const std::string header = "#Paragon#\r\n";
  const std::string firstLine = ItemLine({"1", "    1", "15", Utf8ToCp852("Chleb żytni"), "A", "349", "1", "0"}, "szt.", "349");
  struct Row {
    const char* what;
    Item second;
    std::vector<Goods> extraGoods;
    std::string told;     // a KOM3 message, when there is one
    std::string logged;   // the error log's entry, when there is one
    std::string report;   // the RAPORT line, when there is one
  };
  const std::string file = "Plik: \"" + FileName() + "\" - ";
  const Row rows[] = {
      {"no stock record", {Nr(2), "NIC", 1}, {}, "KOM3(\"Nie znaleziono towaru w bazie STAN_MAG.\", 0, 0, 3)", "", ""},
      {"no PLU", {Nr(2), "BEZ", 1}, {{"BEZ", "", "Bez numeru"}},
       "KOM3({\"Towar: \"BEZ\" nie ma wpisanego numeru PLU\", \"lub nazwy fiskalnej w bazie STAN_MAG.\"}, 0, 0, 3)", "",
       ""},
      {"no fiscal name", {Nr(2), "BEZ", 1}, {{"BEZ", "44", "   "}},
       "KOM3({\"Towar: \"BEZ\" nie ma wpisanego numeru PLU\", \"lub nazwy fiskalnej w bazie STAN_MAG.\"}, 0, 0, 3)", "",
       ""},
      {"a VAT symbol without a designation", {Nr(2), "WOD", 1, 1, "99"}, {},
       // shown with its trailing blank; the log's entry trims it
       "_ERRWPR(1004, \"" + Utf8ToCp852("Błąd zapisu pozycji paragonu do pliku pomocniczego") + "\", \"" + file +
           Utf8ToCp852("Błąd przy konwersji stawki fiskalnej ") + "\")",
       "#1004:" + Utf8ToCp852("Błąd zapisu pozycji paragonu do pliku pomocniczego;") + file +
           Utf8ToCp852("Błąd przy konwersji stawki fiskalnej"),
       "RAPORT(8510, \"Konwersja VAT - FAIL\")"},
      {"a PLU beyond the limit", {Nr(2), "BIG", 1}, {{"BIG", "4001", "Za duzy"}}, "",
       "#1004:" + Utf8ToCp852("Błąd zapisu pozycji paragonu do pliku pomocniczego;") + file + "Przekroczony zakres PLU",
       "RAPORT(8510, \"Przekroczony zakres PLU.\")"},
  };
  for (const Row& row : rows) {
    rt().Areas().CloseAll();
    fs::remove(host_.File(Elzab() ? "FISK/ERRORZUV.FP6" : "FISK/ERRORZUV.DF3"));
    std::vector<Goods> goods = kGoods;
    goods.insert(goods.end(), row.extraGoods.begin(), row.extraGoods.end());
    Open({{}}, {{Nr(1), "CHL", 3.49, 1}, row.second, {Nr(3), "WOD", 1.99, 1}}, goods);
    Calls();
    EXPECT_EQ(Print(), -2) << row.what;
    EXPECT_EQ(Receipt(), header + firstLine) << row.what;
    std::string calls = Calls();
    for (const std::string& expected : {row.told, row.report}) {
      if (!expected.empty()) {
        EXPECT_NE(calls.find(expected), std::string::npos) << row.what << "\n" << calls;
      }
    }
    EXPECT_EQ(calls.find("Wydruk paragonu"), std::string::npos) << "no dry-run notice: " << row.what;
    EXPECT_EQ(Entries(ErrorLog()), row.logged.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.logged})
        << row.what;
  }
}

// Printed by the link program: the simulator under the family's name.
class ReceiptPrintTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    fs::remove(host_.File("DEBUGWIN"));
    SetWorkMode(2);
    fs::copy_file(ZUVLINK_BIN, host_.File(Elzab() ? "FISK/ELZABDR.EXE" : "FISK/POSNETDR.EXE"));
    Open({{}}, {{Nr(1), "CHL", 3.49, 2}, {Nr(2), "WOD", 1.99, 1}}, kGoods);
    rt().Recorder().SetAnswer("DECYZJA", Value::Logical(true));
  }
  void Simulate(const std::string& settings) { host_.Write("FISK/SYMULATOR.INI", settings); }
  void SetDeviceError(double code) { rt().Recorder().SetAnswer(Elzab() ? "CWERROR" : "DWERROR", N(code)); }
};

TEST_F(ReceiptPrintTest, AReceiptIsPrintedOntoTheRollAndItsFileDeleted) {
  EXPECT_EQ(Print(), 0);
  std::string roll = ReadBytes(host_.File("FISK/ROLKA.TXT"));
  EXPECT_NE(roll.find("PARAGON FISKALNY"), std::string::npos) << roll;
  EXPECT_NE(roll.find("SUMA PLN                            8,97"), std::string::npos) << roll;
  EXPECT_EQ(ReadBytes(host_.File("FISK/SYMULATOR.LOG")),
            (Elzab() ? "ELZABDR.EXE 4 1 9600 25 " : "POSNETDR.EXE 4 1 9600 1 ") + FileName() + "\r\n");
  EXPECT_FALSE(fs::exists(host_.File("FISK/" + FileName())));
  EXPECT_EQ(Calls().find("DECYZJA"), std::string::npos);
}

TEST_F(ReceiptPrintTest, QuantitiesInTenOrElevenDecimalPlacesArePrintedAsTheyAre) {
  // The link program checks each line's value against its price and
  // quantity.
  struct Row {
    int places;
    double quantity;
    std::string printed;  // quantity, unit price, value
  };
  const Row rows[] = {
      {10, 2.5, "2,5 x3,49 8,73"},
      {11, 2.5, "2,5 x3,49 8,73"},
      {11, 12.25, "12,25 x3,49 42,75"},  // 13 digits in 11 places
  };
  for (const Row& row : rows) {
    rt().Areas().CloseAll();
    fs::remove(host_.File("FISK/ROLKA.TXT"));
    rt().Variables().Assign("sp_ilosc", N(row.places));
    Open({{}}, {{Nr(1), "CHL", 3.49, row.quantity}}, kGoods);
    EXPECT_EQ(Print(), 0) << row.places << " " << row.quantity << ": " << ErrorLog();
    std::string printed = row.printed;
    if (Elzab()) printed.insert(printed.find(' '), " szt.");
    std::string roll = ReadBytes(host_.File("FISK/ROLKA.TXT"));
    EXPECT_NE(roll.find(printed + " A"), std::string::npos) << row.places << " " << row.quantity << ": " << roll;
  }
}

TEST_F(ReceiptPrintTest, AReceiptFileThatCannotBeWrittenWholeIsError1002AndIsNotPrinted) {
  if (!FileSizeLimit::Supported()) GTEST_SKIP() << "no file-size limit on this system";
  rt().Areas().CloseAll();
  std::vector<Item> items;
  for (int n = 1; n <= 10; ++n) items.push_back({Nr(n), "WOD", 1.99, 1});
  Open({{}}, items, kGoods);
  double result;
  {
    FileSizeLimit full(300);  // a full device after a few lines
    result = Print();
  }
  EXPECT_EQ(result, -2);
  EXPECT_EQ(Entries(ErrorLog()),
            std::vector<std::string>{Utf8ToCp852("#1002:Błąd zapisu wejściowego pliku pomocniczego;Nieudany zapis")});
  EXPECT_FALSE(fs::exists(host_.File("FISK/SYMULATOR.LOG"))) << "the link program is not started";
  EXPECT_LE(Receipt().size(), 300u) << "the file stays as far as it got";
}

TEST_F(ReceiptPrintTest, AfterAnInterruptionTheUserIsAskedWhetherToContinue) {
  struct Row {
    const char* what;
    std::string settings;
    double deviceError;
    bool asked;
  };
  const double interruption = Elzab() ? 109 : 999;
  const double otherError = Elzab() ? 110 : 1000;
  const Row rows[] = {
      {"paper out: the marker and the device's interruption", "brak_papieru_po=1\n", interruption, true},
      {"a failure with the marker and the interruption", "blad=Awaria\nkoniec_wydruku=1\n", interruption, true},
      {"the marker but another device error", "brak_papieru_po=1\n", otherError, false},
      {"the interruption but no marker", "blad=Awaria\n", interruption, false},
  };
  for (const Row& row : rows) {
    fs::remove(host_.File("END_TASM"));
    rt().Variables().Assign("wynik", T("untouched"));
    Simulate(row.settings);
    SetDeviceError(row.deviceError);
    Calls();
    EXPECT_EQ(Print(), -2) << row.what;
    std::string calls = Calls();
    const std::string question =
        "DECYZJA(.F., \"Czy chcesz kontynuowac` wydruk?\", 0, 0, {\"W trakcie wydruku paragonu wysta`pil` bl`a`d.\", "
        "\"Jes`li wynikna`l` z powodu skon`czenia sie` papieru\", \"w drukarce to po zal`ox`eniu nowej rolki mox`na\", "
        "\"dokon`czyc` wystawianie paragonu.\"})";
    EXPECT_EQ(calls.find(question) != std::string::npos, row.asked) << row.what << "\n" << calls;
    EXPECT_EQ(runtime::Display(rt().Variables().Get("wynik")), row.asked ? ".T." : "untouched") << row.what;
    EXPECT_FALSE(fs::exists(host_.File("FISK/" + FileName()))) << "deleted after a failed print too: " << row.what;
  }
}

}  // namespace
}  // namespace zuvtill::testing
