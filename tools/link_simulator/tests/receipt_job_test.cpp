// Job 4: a receipt file that holds up field by field is printed onto the
// paper roll with its sums; the first fault fails the job with a text
// naming its line and field, and nothing is printed.
#include <gtest/gtest.h>

#include <regex>

#include "link_run.h"

namespace zuvlink::testing {
namespace {

const std::vector<std::string> kFp600 = {"ELZABDR.EXE", "4", "1", "9600", "25", "ZUVHOSTi.fp6"};
const std::vector<std::string> kDf301 = {"POSNETDR.EXE", "4", "1", "9600", "1", "ZUVHOSTi.df3"};

LinkResult PrintReceipt(const LinkWorkDirectory& dir, bool fp600, const std::string& bytes) {
  const std::vector<std::string>& command = fp600 ? kFp600 : kDf301;
  dir.Write(command.back(), bytes);
  return dir.Run(command[0], std::vector<std::string>(command.begin() + 1, command.end()));
}

// An item line of the family: "1", position 1, PLU 15, CHLEB, A, 3.49 × 2
// = 6.98; one field replaced when field is given.
std::string Item(bool fp600, std::size_t field = 0, const std::string& value = "") {
  std::vector<std::string> fields = {"1", "    1", "15", "CHLEB", "A", "349", "2", "0", "szt", "698", "0", "", "", "", ""};
  if (!fp600) fields = {"1", "    1", "15", "CHLEB", "A", "349", "2", "0", "", "698", "", "0", "0", "0", "0"};
  if (field) fields[field - 1] = value;
  return Quoted(fields);
}

// The row with the receipt number and the time of printing.
void ExpectNumberRow(const std::string& row, int number) {
  EXPECT_EQ(row.size(), 40u) << row;
  EXPECT_TRUE(std::regex_match(row, std::regex("PARAGON NR " + std::to_string(number) +
                                               " +[0-3][0-9]\\.[01][0-9]\\.[0-9]{4} [0-2][0-9]:[0-5][0-9]")))
      << row;
}

TEST(LinkReceipt, AnFp600ReceiptIsPrintedWithItsSumsDepositsBuyerAndFooter) {
  LinkWorkDirectory dir;
  std::string receipt = Lines(
      {"#Paragon#", Item(true),
       Quoted({"1", "    2", "27", Cp852("MASŁO EKSTRA"), "B", "699", "25", "1", "kg", "1748", "0", "", "", "", ""}),
       Quoted({"1", "    3", "3", "WODA MINERALNA NIEGAZOWANA 1,5L PET", "A", "199", "6", "0", "szt.", "1194", "0", "",
               "", "", ""}),
       Quoted({"3", "    1", "90", "BUTELKA", "A", "50", "2", "0", "szt", "100", "0", "", "", "", ""}),
       // A deposit line keeps the host's VAT symbol in this family.
       Quoted({"2", "    2", "91", "SKRZYNKA", "ZW  ", "1000", "1", "0", "szt", "1000", "0", "", "", "", ""}),
       Quoted({"5", "123-456-32-18"}), Quoted({"4", "1", Cp852("Dziękujemy")}),
       Quoted({"4", "12", "Zapraszamy ponownie"})},
      false);
  LinkResult result = PrintReceipt(dir, true, receipt);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(dir.Has("ERROR.FP6"));

  std::vector<std::string> roll = dir.Roll();
  ASSERT_EQ(roll.size(), 23u);
  ExpectNumberRow(roll[21], 1);
  roll.erase(roll.begin() + 21);
  EXPECT_EQ(roll, (std::vector<std::string>{
                      "            PARAGON FISKALNY",
                      "----------------------------------------",
                      "CHLEB                 2 szt x3,49 6,98 A",
                      "MASŁO EKSTRA        2,5 kg x6,99 17,48 B",
                      "WODA MINERALNA NIEGAZOWANA 1,5L PET",
                      "                    6 szt. x1,99 11,94 A",
                      "Kaucja wydana: BUTELKA  2 szt x0,50 1,00",
                      "Kaucja przyjęta: SKRZYNKA",
                      "                     1 szt x10,00 -10,00",
                      "----------------------------------------",
                      "SPRZEDAŻ OPODATK. A                18,92",
                      "SPRZEDAŻ OPODATK. B                17,48",
                      "SUMA PLN                           36,40",
                      "Kaucje wydane                       1,00",
                      "Kaucje przyjęte                   -10,00",
                      "DO ZAPŁATY PLN                     27,40",
                      "NIP nabywcy:               123-456-32-18",
                      "----------------------------------------",
                      "Dziękujemy",
                      "Zapraszamy ponownie",
                      "----------------------------------------",
                      "=========== KONIEC PARAGONU ============",
                  }));
}

TEST(LinkReceipt, ADf301ReceiptTakesEveryBuyerTypeAndOneFieldFooters) {
  LinkWorkDirectory dir;
  std::string receipt = Lines({"#Paragon#", Item(false), Quoted({"7", "1234563218"}), Quoted({"4", "Kasa 2"})}, false);
  LinkResult result = PrintReceipt(dir, false, receipt);
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> roll = dir.Roll();
  ASSERT_EQ(roll.size(), 12u);
  EXPECT_EQ(roll[2], "CHLEB                     2 x3,49 6,98 A");
  EXPECT_EQ(roll[5], "SUMA PLN                            6,98");
  EXPECT_EQ(roll[6], "NIP nabywcy:                  1234563218");
  EXPECT_EQ(roll[8], "Kasa 2");
}

// The last line of a receipt of items only is an item line, with its CR LF.
TEST(LinkReceipt, ReceiptNumbersCountUpOnTheRoll) {
  LinkWorkDirectory dir;
  std::string receipt = Lines({"#Paragon#", Item(true)}, true);
  ASSERT_EQ(PrintReceipt(dir, true, receipt).status, 0);
  ASSERT_EQ(PrintReceipt(dir, true, receipt).status, 0);
  std::vector<std::string> roll = dir.Roll();
  ASSERT_EQ(roll.size(), 18u);
  ExpectNumberRow(roll[7], 1);
  ExpectNumberRow(roll[16], 2);
}

TEST(LinkReceipt, TheFirstFaultFailsTheJobNamingLineAndField) {
  struct Case {
    bool fp600;
    std::string file;
    std::string error;  // the error file's first line starts so
    std::string what;   // and holds this
  };
  auto items = [](const std::string& line) { return Lines({"#Paragon#", line}, true); };
  std::string spaced = Item(true);
  spaced.replace(spaced.find("\",\""), 3, "\", \"");
  const Case cases[] = {
      {true, Lines({"#Paragon", Item(true)}, true), "Wiersz 1: ", "#Paragon#"},
      {true, "#Paragon#\r\n", "Wiersz 2: ", "bez żadnej pozycji"},
      {true, items(Item(true, 2, "1")), "Wiersz 2, pole 2: ", "pięciu znakach"},
      {true, items(Item(true, 2, "1    ")), "Wiersz 2, pole 2: ", "wyrównana do prawej"},
      {true, items(Item(true, 3, "1a")), "Wiersz 2, pole 3: ", "PLU"},
      {true, items(Item(true, 4, "")), "Wiersz 2, pole 4: ", "pusta nazwa"},
      {true, items(Item(true, 4, std::string(41, 'X'))), "Wiersz 2, pole 4: ", "40 znaków"},
      {true, items(Item(true, 4, "CHL\033EB")), "Wiersz 2, pole 4: ", "znak sterujący"},
      {true, items(Item(true, 5, "H")), "Wiersz 2, pole 5: ", "od A do G"},
      {true, items(Item(true, 6, "3.49")), "Wiersz 2, pole 6: ", "cena"},
      {true, items(Item(true, 7, "")), "Wiersz 2, pole 7: ", "ilość"},
      {true, items(Item(true, 8, "10")), "Wiersz 2, pole 8: ", "jedna cyfra"},
      {true, items(Item(true, 9, "sztuk")), "Wiersz 2, pole 9: ", "4 znaki"},
      {false, items(Item(false, 9, "szt")), "Wiersz 2, pole 9: ", "pustego pola w drukarce DF301"},
      {true, items(Item(true, 10, "699")), "Wiersz 2, pole 10: ", "(698)"},
      // 2.5 × 2.99 = 7.475: half a grosz rounds up
      {true, items(Quoted({"1", "    1", "15", "MLEKO", "A", "299", "25", "1", "l", "747", "0", "", "", "", ""})),
       "Wiersz 2, pole 10: ", "(748)"},
      // Products beyond 64 bits: the value is still exact, or out of range.
      {true,
       items(Quoted({"1", "    1", "15", "ZLOTO", "A", "9999999999", "999999999999", "9", "g", "9999999998989", "0",
                     "", "", "", ""})),
       "Wiersz 2, pole 10: ", "(9999999998990)"},
      {true,
       items(Quoted({"1", "    1", "15", "ZLOTO", "A", "9999999999", "999999999999", "0", "g", "1", "0", "", "", "",
                     ""})),
       "Wiersz 2, pole 10: ", "(poza zakresem)"},
      {true, items(Item(true, 11, "")), "Wiersz 2, pole 11: ", "\"0\" w drukarce FP600"},
      {false, items(Item(false, 11, "0")), "Wiersz 2, pole 11: ", "pustego pola w drukarce DF301"},
      {false, items(Item(false, 15, "")), "Wiersz 2, pole 15: ", "\"0\" w drukarce DF301"},
      {true, items(Quoted({"1", "    1", "15", "CHLEB", "A", "349", "2", "0", "szt", "698", "0", "", "", ""})),
       "Wiersz 2, pole 15: ", "brak pola"},
      {true, items(Item(true) + ",\"\""), "Wiersz 2, pole 16: ", "nadmiarowe pole"},
      {true, items(spaced), "Wiersz 2, pole 1: ", "bez odstępów"},
      {true, items(Item(true, 4, "CHL\nEB")), "Wiersz 2: ", "CR lub LF"},
      {true, Lines({"#Paragon#", Item(true), "", Item(true)}, true), "Wiersz 3: ", "pusty wiersz"},
      {true, Lines({"#Paragon#", Item(true)}, false), "Wiersz 2: ", "CR LF"},
      {true, Lines({"#Paragon#", Item(true), Quoted({"4", "1", "Dziękujemy"})}, true), "Wiersz 3: ", "CR LF"},
      {true, Lines({"#Paragon#", Item(true, 1, "3"), Item(true)}, true), "Wiersz 3, pole 1: ", "(typ 1) po pozycji"},
      {true, Lines({"#Paragon#", Quoted({"5", "1234563218"}), Item(true)}, true), "Wiersz 2, pole 1: ", "od pozycji"},
      {true, Lines({"#Paragon#", Item(true), Quoted({"8", "x"})}, false), "Wiersz 3, pole 1: ", "nieznany typ"},
      {true, Lines({"#Paragon#", Item(true), Quoted({"6", "1234563218"})}, false), "Wiersz 3, pole 1: ", "typu 5"},
      {true, Lines({"#Paragon#", Item(true), Quoted({"5", "123456789"})}, false), "Wiersz 3, pole 2: ", "NIP"},
      {false, Lines({"#Paragon#", Item(false), Quoted({"6", "-123456321"})}, false), "Wiersz 3, pole 2: ", "NIP"},
      {true, Lines({"#Paragon#", Item(true), Quoted({"4", "1", "A"}), Quoted({"5", "1234563218"})}, false),
       "Wiersz 4, pole 1: ", "po wierszu stopki"},
      {true, Lines({"#Paragon#", Item(true), Quoted({"4", "1", "A"}), Item(true)}, true),
       "Wiersz 4, pole 1: ", "po wierszu nabywcy lub stopki"},
      {true, Lines({"#Paragon#", Item(true), Quoted({"4", "123", "A"})}, false), "Wiersz 3, pole 2: ", "numer stopki"},
      {false, Lines({"#Paragon#", Item(false), Quoted({"4", "1", "A"})}, false), "Wiersz 3, pole 3: ", "nadmiarowe"},
  };
  for (const Case& c : cases) {
    LinkWorkDirectory dir;
    EXPECT_EQ(PrintReceipt(dir, c.fp600, c.file).status, 1) << c.error << c.what;
    std::string line = dir.FirstLine(c.fp600 ? "ERROR.FP6" : "ERROR.DF3");
    EXPECT_EQ(line.substr(0, c.error.size()), c.error) << line;
    EXPECT_NE(line.find(c.what), std::string::npos) << line;
    EXPECT_FALSE(dir.Has("ROLKA.TXT")) << line;
  }
}

// Whatever the bytes, the job fails with an error file: no crash, no
// file read beyond its limit.
TEST(LinkReceipt, HostileFilesFailTheJobCleanly) {
  const std::string cases[] = {
      std::string("#Paragon#\r\n\"1\0\",\"", 17),
      "#Paragon#\r\n\"",
      "#Paragon#\r\n\",\",\",\"\r\n",
      std::string(3 << 20, '"'),
      "#Paragon#\r\n" + std::string(100000, '\n'),
      "\xff\xfe#Paragon#",
  };
  for (const std::string& bytes : cases) {
    LinkWorkDirectory dir;
    LinkResult result = PrintReceipt(dir, true, bytes);
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_FALSE(dir.FirstLine("ERROR.FP6").empty());
    EXPECT_FALSE(dir.Has("ROLKA.TXT"));
  }
}

// A directory or a pipe in the receipt's place is refused before reading.
TEST(LinkReceipt, AReceiptThatIsNoRegularFileFailsTheJob) {
  LinkWorkDirectory dir;
  std::filesystem::create_directory(dir.Work() / kFp600.back());
  EXPECT_EQ(dir.Run(kFp600[0], std::vector<std::string>(kFp600.begin() + 1, kFp600.end())).status, 1);
  EXPECT_EQ(dir.FirstLine("ERROR.FP6"), "Plik paragonu \"ZUVHOSTi.fp6\": to nie jest zwykły plik");
}

// Paper for n item lines: those are printed and the job fails, leaving
// the print-end marker for the host; a receipt of fewer lines fits.
TEST(LinkReceipt, ThePaperEndsAfterTheGivenNumberOfItemLines) {
  std::string receipt =
      Lines({"#Paragon#", Item(true), Item(true, 2, "    2"),
             Quoted({"3", "    1", "90", "BUTELKA", "A", "50", "2", "0", "szt", "100", "0", "", "", "", ""})},
            true);
  struct Case {
    int paperFor;
    std::size_t rows;  // on the roll
    bool fails;
  };
  const Case cases[] = {{0, 2, true}, {2, 4, true}, {3, 5, true}, {4, 14, false}};
  for (const Case& c : cases) {
    LinkWorkDirectory dir;
    dir.Settings({"brak_papieru_po=" + std::to_string(c.paperFor)});
    EXPECT_EQ(PrintReceipt(dir, true, receipt).status, c.fails ? 1 : 0) << c.paperFor;
    std::vector<std::string> roll = dir.Roll();
    EXPECT_EQ(roll.size(), c.rows) << c.paperFor;
    EXPECT_EQ(std::filesystem::exists(dir.Host() / "END_TASM"), c.fails) << c.paperFor;
    if (c.fails) {
      EXPECT_EQ(dir.FirstLine("ERROR.FP6").substr(0, 12), "Brak papieru");
      for (const std::string& row : roll) EXPECT_EQ(row.find("SUMA PLN"), std::string::npos) << c.paperFor;
    }
  }
}

}  // namespace
}  // namespace zuvlink::testing
