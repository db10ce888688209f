// WD_DRPARAM of libzuvtill.so for the family under test: information files
// prepared under the dry-run switch, good and damaged, parsed into the 23
// outputs and max_zmina, each failure recorded once as error 1003.
#include <gtest/gtest.h>

#include <regex>

#include "injected_faults.h"
#include "runtime/code_page.h"
#include "till_fixture.h"

namespace zuvtill::testing {
namespace {

namespace fs = std::filesystem;
using runtime::Params;
using runtime::Utf8ToCp852;

std::vector<std::string> GoodFields() {
  return {"09.12.2026", "14:05", " ABC12345678 ", "  Omega  ", "2300", "150", " X7 ", "Y8", "2300", "800", "500",
          "0",          "99999", "-1",           "850",       "1",    "f17", "5",  "f19", "f20", "",    "f22", "f23", "f24"};
}

std::string InformationFile(const std::vector<std::string>& fields) {
  std::string file = "#Informacja z drukarki#\r\n\"";
  for (std::size_t i = 0; i < fields.size(); ++i) file += (i ? "\",\"" : "") + fields[i];
  return file + "\"\r\n";
}

struct Read {
  double result = 0;
  std::vector<std::string> outputs;  // 1 to 23 as displayed
  std::string maxZmina;
};

class PrinterInformationTest : public TillTest {
 protected:
  void SetUp() override {
    TillTest::SetUp();
    fs::create_directories(host_.File("FISK/MERA30"));
    host_.Write("DEBUGWIN", "");
    runtime::Array months;
    for (const char* m : {"stycznia", "lutego", "marca", "kwietnia", "maja", "czerwca", "lipca", "sierpnia", "września",
                          "października", "listopada", "grudnia"}) {
      months.push_back(T(Utf8ToCp852(m)));
    }
    rt().Variables().Assign("tab_mies", Value::OfArray(std::move(months)));
    rt().Recorder().SetAnswer(Elzab() ? "CW_CHAR" : "DW_CHAR", T("Z"));
  }

  Read DrParam(Value variant = Value()) {
    std::vector<runtime::Cell> outputs;
    Params p;
    for (int i = 0; i < 23; ++i) {
      outputs.push_back(std::make_shared<Value>(T("untouched")));
      p.AddReference(outputs.back());
    }
    p.Add(variant);
    Read read;
    read.result = Run("WD_DRPARAM", p).Result().AsNumber();
    for (const runtime::Cell& o : outputs) read.outputs.push_back(runtime::Display(*o));
    runtime::Cell maxZmina = rt().Variables().Find("max_zmina");
    read.maxZmina = maxZmina ? runtime::Display(*maxZmina) : "(none)";
    return read;
  }

  // The entries of the fiscal printer's error log, without their stamps.
  std::vector<std::string> LoggedErrors() {
    std::string log = ReadBytes(host_.File(std::string("FISK/") + (Elzab() ? "ERRORZUV.FP6" : "ERRORZUV.DF3")));
    std::vector<std::string> entries;
    std::regex entry("\r\n==> [^\r]*\r\n\t([^\r]*(\r\n {12}[^\r]*)?)");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), entry); it != std::sregex_iterator(); ++it) {
      entries.push_back((*it)[1]);
    }
    return entries;
  }

  TempDirectory host_;
  WorkingIn here_{host_.path()};
};

const std::vector<std::string> kMarks = {"___NIM___", "___NIM___", "___NIM___", "___NIM___", "___NIM___", "___NIM___",
                                         "___NIM___", "NIM",       "NIM",       "NIM",       "NIM",       "NIM",
                                         "NIM",       "NIM",       "NIM",       "___NIM___", "NIM",       "NIM",
                                         "NIM",       "___NIM___", "NIM",       "NIM",       "NIM"};

TEST_F(PrinterInformationTest, AGoodFileFillsEveryOutputAndStaysUnderTheDryRunSwitch) {
  const std::string file = InformationFile(GoodFields());
  host_.Write("FISK/DW_PARDR.df3", file);
  Read read = DrParam();
  EXPECT_EQ(read.result, 0);
  const std::vector<std::string> expected = {
      "14:05   9 grudnia 2026", "ABC12345678", "Omega", " 23.00", "  1.50", " X7 ", "Y8", "23.00", "8.00", "5.00",
      "0.00", "ZW", "NZ", "8.50", "otwarty", "f17", "NIM", "f19", "f20", "Z", "f22", "f23", "f24"};
  EXPECT_EQ(read.outputs, expected);
  EXPECT_EQ(read.maxZmina, "5");
  EXPECT_EQ(ReadBytes(host_.File("FISK/DW_PARDR.df3")), file) << "kept, to be read again";
  EXPECT_EQ(Calls(), "KOM3({\"Wersja testowa bez uruchamiania drukarki fiskalnej\", \"Odczyt parametro`w drukarki\", "
                     "\"Plik z danymi: DW_PARDR.df3\"}, 0, 0, 5); " +
                         std::string(Elzab() ? "CW_CHAR()" : "DW_CHAR()"));
  EXPECT_TRUE(LoggedErrors().empty());

  // The variant reads from its own directory.
  fs::rename(host_.File("FISK/DW_PARDR.df3"), host_.File("FISK/MERA30/DW_PARDR.df3"));
  EXPECT_EQ(DrParam(T("MER30")).result, 0);
  EXPECT_EQ(DrParam(T("mer30")).result, -2);
}

TEST_F(PrinterInformationTest, EachFieldIsConvertedOrMarkedAsTheHostReadsIt) {
  struct Row {
    int field;  // 1-based
    std::string value;
    int output;
    std::string expected;
  };
  const Row rows[] = {
      {1, "00.00.0000", 1, "___NIM___"},
      {1, "9.12.2026", 1, "___NIM___"},  // nine characters
      {1, "01-02/1999", 1, "14:05   1 lutego 1999"},
      {2, "9:05", 1, "___NIM___"},
      {2, "24:60", 1, "24:60   9 grudnia 2026"},
      {2, "00:00", 1, "00:00   9 grudnia 2026"},
      {3, "   ", 2, "___NIM___"},
      {4, "", 3, "___NIM___"},
      {5, "", 4, "___NIM___"},
      {5, "2300", 4, " 23.00"},
      {5, "abc", 4, "  0.00"},
      {7, "", 6, "___NIM___"},
      {7, "  ", 6, "  "},  // only fields 3 and 4 count blanks as empty
      {9, "", 8, "NIM"},
      {15, "99999", 14, "ZW"},
      {16, "0", 15, "zamknie`ty"},
      {16, "2", 15, "2"},
      {16, "", 15, "___NIM___"},
      {17, "", 16, "___NIM___"},
      {21, "x", 20, "x"},
      {22, "", 21, "NIM"},
      {24, "", 23, "NIM"},
      {6, std::string("\x00\xFF\x01", 3), 5, "  0.00"},  // bytes of any value
  };
  for (const Row& row : rows) {
    std::vector<std::string> fields = GoodFields();
    fields[row.field - 1] = row.value;
    host_.Write("FISK/DW_PARDR.df3", InformationFile(fields));
    Read read = DrParam();
    EXPECT_EQ(read.result, 0) << row.field << " " << row.value;
    EXPECT_EQ(read.outputs[row.output - 1], row.expected) << row.field << " \"" << row.value << "\"";
  }
  // Field 18 goes to max_zmina, whatever it holds; output 17 keeps its mark.
  std::vector<std::string> fields = GoodFields();
  fields[17] = "";
  host_.Write("FISK/DW_PARDR.df3", InformationFile(fields));
  Read read = DrParam();
  EXPECT_EQ(read.maxZmina, "");
  EXPECT_EQ(read.outputs[16], "NIM");
}

TEST_F(PrinterInformationTest, ADamagedFileIsError1003WithWhatWentWrongAndKeepsWhatWasReadSoFar) {
  const std::string good = InformationFile(GoodFields());
  std::vector<std::string> withWrongTime = GoodFields(), withWrongDate = GoodFields(), longField = GoodFields();
  withWrongTime[1] = "25:00";
  withWrongDate[0] = "31.13.2024";
  longField[6] = std::string(480, 'x');
  struct Row {
    const char* what;
    std::string file;
    std::string detail;
    int readUpTo;  // outputs 1 .. readUpTo hold what was read
  };
  const std::string format = Utf8ToCp852("Błędny format danych");
  const Row rows[] = {
      {"no header", good.substr(1), format, 0},
      {"an empty file", "", format, 0},
      {"the header alone", "#Informacja z drukarki#\r\n", format, 0},
      {"no separator after the date", "#Informacja z drukarki#\r\n\"09.12.2026", format, 0},
      {"a wrong time", InformationFile(withWrongTime), Utf8ToCp852("Błędna wartość czasu"), 0},
      {"a wrong date", InformationFile(withWrongDate), Utf8ToCp852("Błędna wartość daty"), 0},
      {"cut inside field 11", good.substr(0, good.find("\"99999\"") - 4), format, 9},
      {"no closing quote after field 24", good.substr(0, good.size() - 3), format, 22},
      {"fields that do not end within 500 bytes", InformationFile(longField), format, 5},
  };
  for (const Row& row : rows) {
    fs::remove(host_.File(std::string("FISK/") + (Elzab() ? "ERRORZUV.FP6" : "ERRORZUV.DF3")));
    host_.Write("FISK/DW_PARDR.df3", row.file);
    Read read = DrParam();
    EXPECT_EQ(read.result, -2) << row.what;
    EXPECT_EQ(LoggedErrors(),
              std::vector<std::string>{Utf8ToCp852("#1003:Błąd odczytu wyjściowego pliku pomocniczego;DW_PARDR.df3 - ") +
                                       row.detail})
        << row.what;
    for (int output = 1; output <= 23; ++output) {
      if (output > row.readUpTo) {
        EXPECT_EQ(read.outputs[output - 1], kMarks[output - 1]) << row.what << " " << output;
      }
    }
    if (row.readUpTo >= 9) {
      EXPECT_EQ(read.outputs[8], "8.00") << row.what;
    }
    EXPECT_TRUE(fs::exists(host_.File("FISK/DW_PARDR.df3"))) << "the dry run keeps the file: " << row.what;
  }
}

// Without the dry-run switch: the simulator writes the information file,
// which is read and deleted.
TEST_F(PrinterInformationTest, TheLinkProgramsInformationIsReadAndItsFileDeleted) {
  fs::remove(host_.File("DEBUGWIN"));
  SetWorkMode(2);
  rt().Recorder().SetAnswer("NAZWA_PROCESU", T("ZUVHOST"));
  const std::string program = Elzab() ? "ELZABDR.EXE" : "POSNETDR.EXE";
  fs::copy_file(ZUVLINK_BIN, host_.File("FISK/" + program));
  std::string settings;
  std::vector<std::string> fields = GoodFields();
  for (std::size_t i = 0; i < fields.size(); ++i) settings += "pole" + std::to_string(i + 1) + "=" + fields[i] + "\n";
  host_.Write("FISK/SYMULATOR.INI", settings);

  Read read = DrParam();
  EXPECT_EQ(read.result, 0);
  EXPECT_EQ(read.outputs[0], "14:05   9 grudnia 2026");
  EXPECT_EQ(read.outputs[7], "23.00");
  EXPECT_EQ(read.outputs[14], "otwarty");
  EXPECT_EQ(ReadBytes(host_.File("FISK/SYMULATOR.LOG")).substr(0, program.size() + 3), program + " 3 ");
  EXPECT_NE(ReadBytes(host_.File("FISK/SYMULATOR.LOG")).find(" VHOSTi.df3\r\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(host_.File("FISK/VHOSTi.df3")));
  EXPECT_TRUE(LoggedErrors().empty());

  // A damaged answer: error 1003, and the file deleted all the same.
  host_.Write("damaged.df3", "#Informacja z drukarki#\r\n\"09.12.2026");
  host_.Write("FISK/SYMULATOR.INI", "informacja=" + host_.File("damaged.df3") + "\n");
  EXPECT_EQ(DrParam().result, -2);
  EXPECT_EQ(LoggedErrors(), std::vector<std::string>{Utf8ToCp852("#1003:Błąd odczytu wyjściowego pliku pomocniczego;"
                                                                   "VHOSTi.df3 - Błędny format danych")});
  EXPECT_FALSE(fs::exists(host_.File("FISK/VHOSTi.df3")));

  // A failed run: the runner has recorded it; nothing is parsed.
  host_.Write("FISK/SYMULATOR.INI", "blad=Drukarka nie odpowiada\n");
  read = DrParam();
  EXPECT_EQ(read.result, -2);
  EXPECT_EQ(read.outputs, kMarks);
  EXPECT_EQ(LoggedErrors().back(), "Drukarka nie odpowiada");
}

TEST_F(PrinterInformationTest, AFileThatDoesNotOpenIsError1003WithTheFileErrorText) {
  Read read = DrParam();
  EXPECT_EQ(read.result, -2);
  EXPECT_EQ(read.outputs, kMarks);
  EXPECT_EQ(LoggedErrors(),
            std::vector<std::string>{Utf8ToCp852("#1003:Błąd odczytu wyjściowego pliku pomocniczego;Nie znaleziono zbioru")});
  // A FIFO in its place (where the system has them) is refused at once,
  // not waited for.
  if (MakeFifo(host_.File("FISK/DW_PARDR.df3"))) {
    EXPECT_EQ(DrParam().result, -2);
    EXPECT_EQ(LoggedErrors().back(), Utf8ToCp852("#1003:Błąd odczytu wyjściowego pliku pomocniczego;Brak praw dostępu"));
  }
}

TEST_F(PrinterInformationTest, AnUnavailableTimeIsToldBeforeAWrongDate) {
  std::vector<std::string> fields = GoodFields();
  fields[0] = "31.13.2024";
  fields[1] = "9:05";
  host_.Write("FISK/DW_PARDR.df3", InformationFile(fields));
  Read read = DrParam();
  EXPECT_EQ(read.result, 0);
  EXPECT_EQ(read.outputs[0], "___NIM___");
}

}  // namespace
}  // namespace zuvtill::testing
