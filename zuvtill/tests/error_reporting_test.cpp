// Error files, error logs and error texts of libzuvtill.so, for the family
// under test: the names and the failure rule of every device, the SYS600
// report file, the log's entries byte for byte with its size limit, the
// copy of an error file's first line, the texts, and logs that cannot be
// opened or written.
#include <gtest/gtest.h>

#include <cerrno>
#include <regex>

#include "injected_faults.h"
#include "runtime/code_page.h"
#include "runtime/dates.h"
#include "runtime/numbers.h"
#include "till_fixture.h"

namespace zuvtill::testing {
namespace {

using runtime::Params;
using runtime::Utf8ToCp852;

class ErrorReportingTest : public TillTest {
 protected:
  void SetUp() override {
    TillTest::SetUp();
    std::filesystem::create_directories(dir_.File("FISK"));
  }

  std::string Fiscal(const std::string& elzab, const std::string& posnet) const { return Elzab() ? elzab : posnet; }

  bool JobFailed(const std::string& symbol, const std::string& path) {
    return CallExport("BYL_ERROR", {T(symbol), T(path)}).AsLogical();
  }

  // WD_ERR2PLIK; the calls it made are left for Calls().
  bool Append(const std::string& source, const std::string& log, bool fromFile, bool stamped,
              Value device = Value()) {
    return CallExport("WD_ERR2PLIK", {T(source), T(log), Value::Logical(fromFile), Value::Logical(stamped), device})
        .AsLogical();
  }

  TempDirectory dir_;
  WorkingIn here_{dir_.path()};
};

TEST_F(ErrorReportingTest, EveryDeviceHasItsErrorFileAndErrorLog) {
  struct Row {
    Value symbol;
    std::string errorFile, errorLog;
  };
  const Row rows[] = {
      {T("  1  1"), Fiscal("ERROR.FP6", "ERROR.DF3"), Fiscal("ERRORZUV.FP6", "ERRORZUV.DF3")},
      {Value(), Fiscal("ERROR.FP6", "ERROR.DF3"), Fiscal("ERRORZUV.FP6", "ERRORZUV.DF3")},
      {T(" 10  1"), "ERROR.CPT", "ERRORZUV.CPT"}, {T(" 10  2"), "ERROR.SP2", "ERRORZUV.SP2"},
      {T(" 10  3"), "ERROR.CP8", "ERRORZUV.CP8"}, {T(" 10  4"), "", ""},
      {T("  2  1"), "ERROR.BMC", "ERRORZUV.BMC"}, {T("  2  3"), "ERROR.BMC", "ERRORZUV.BMC"},
      {T("  2  2"), "ERROR.IBM", "ERRORZUV.IBM"}, {T("  2  4"), "RAPORT.TXT", "ERRORZUV.S60"},
      {T("  2  5"), "ERROR.SHR", "ERRORZUV.SHR"}, {T("  2  6"), "ERROR.DTS", "ERRORZUV.DTS"},
      {T("  2  7"), "ERROR.PSN", "ERRORZUV.PSN"}, {T("  2  8"), "ERROR.NVS", "ERRORZUV.NVS"},
      {T("  3  1"), "ERROR.AXS", "ERRORZUV.AXS"}, {T("  2  9"), "", ""},
      {T("  1  1 "), "", ""},  // a trailing blank: another symbol
  };
  for (const Row& row : rows) {
    std::string shown = runtime::Display(row.symbol, true);
    EXPECT_EQ(CallExport("GETERRNAME", {row.symbol}).AsText(), row.errorFile) << shown;
    EXPECT_EQ(CallExport("GETZUVERR", {row.symbol}).AsText(), row.errorLog) << shown;
  }
}

TEST_F(ErrorReportingTest, AJobFailsByItsDevicesRule) {
  dir_.Write("FISK/ERROR.X", "blad\r\n");
  std::filesystem::create_directories(dir_.File("KOLEKTOR"));
  struct Row {
    const char* symbol;
    double workMode;
    const char* path;
    bool failed;
  };
  const Row rows[] = {
      // The fiscal printer: only an operated device can succeed.
      {"  1  1", 2, "FISK\\ERROR.X", true},
      {"  1  1", 2, "FISK\\NONE", false},
      {"  1  1", 1, "FISK\\NONE", true},
      {"  1  1", 1, "FISK\\ERROR.X", true},
      {"  1  1", 0, "FISK\\NONE", true},
      // The others: the error file alone, whatever the work mode.
      {" 10  1", 1, "FISK\\NONE", false},
      {" 10  1", 2, "FISK\\ERROR.X", true},
      {"  2  7", 1, "FISK\\error.x", true},  // found as a Windows file system finds it
      {"  3  1", 1, "FISK\\NONE", false},
      // A collector without an error file name: its work directory is no
      // error file.
      {" 10  9", 1, "KOLEKTOR\\", false},
      // A device the library does not know, and the fiscal printer under
      // a symbol with a blank too many.
      {"  9  9", 2, "FISK\\NONE", true},
      {"  1  1 ", 2, "FISK\\NONE", true},
  };
  for (const Row& row : rows) {
    SetWorkMode(row.workMode);
    EXPECT_EQ(JobFailed(row.symbol, row.path), row.failed) << '"' << row.symbol << "\" " << row.workMode << " " << row.path;
  }
}

TEST_F(ErrorReportingTest, TheSys600ReportFileCarriesTheErrorNumberAfterALineEndAndAHash) {
  const std::string filler195(195, 'a');
  struct Row {
    const char* what;
    std::string report;
    bool failed;
  };
  const Row rows[] = {
      {"number 0 ending at a TAB", "Raport\r\n#0\tOK\r\n", false},
      {"number 17 ending at a line end", "Raport\r\n#17\r\ndalej", true},
      {"number 0 ending at a line end", "Raport\r\n#0\r\n", false},
      {"no hash after a line end", "Raport\r\nBlad 17\r\n", true},
      {"a hash at the very start", "#0\tOK\r\n", true},
      {"an empty file", "", true},
      {"not a number counts as 0", "x\r\n#brak\t", false},
      {"the first TAB after the hash, beyond a line end", "x\r\n#5\r\nx\t", true},
      // The piece of 200 ends inside the number: five more bytes are read.
      {"number completed from the file", filler195 + "\r\n#12" + "3\tx", true},
      {"zero completed from the file", filler195 + "\r\n#00" + "0\tx", false},
      {"five more bytes without an end", filler195 + "\r\n#77" + "777777\t", false},
      // The line end and the hash straddle two pieces: not found.
      {"marker across two pieces", std::string(199, 'a') + "\r\n#0\t", true},
      // A zero byte ends a piece; an empty piece ends the search.
      {"zero byte before the marker", "abc" + std::string(1, '\0') + "\r\n#0\t", false},
      {"zero byte first", std::string(1, '\0') + "\r\n#0\t", true},
  };
  SetWorkMode(2);
  for (const Row& row : rows) {
    dir_.Write("FISK/RAPORT.TXT", row.report);
    EXPECT_EQ(JobFailed("  2  4", "FISK\\RAPORT.TXT"), row.failed) << row.what;
  }
  EXPECT_TRUE(JobFailed("  2  4", "FISK\\MISSING.TXT")) << "a report file that does not open";
  EXPECT_TRUE(JobFailed("  2  4", "FISK")) << "a directory";
}

TEST_F(ErrorReportingTest, StringSeekAnswersThePieceWithItsPlaceAndThePiecesBefore) {
  std::string file = std::string(420, '.') + "XYZ" + std::string(27, '.');
  dir_.Write("f.txt", file);
  runtime::HostFunction fopen = rt().Functions().Find("FOPEN");
  struct Row {
    std::string sought;
    std::string piece;
    double pieces, position;
  };
  const Row rows[] = {
      {"XYZ", file.substr(400, 50), 2, 21},
      {"nowhere", "", 3, -7},  // not found: the position stays as it was
      {"..X", file.substr(400, 50), 2, 19},
  };
  for (const Row& row : rows) {
    Value handle = runtime::Call(fopen, {T("f.txt")});
    auto pieces = std::make_shared<Value>(N(99));
    auto position = std::make_shared<Value>(N(-7));
    Params p;
    p.Add(handle);
    p.Add(T(row.sought));
    p.AddReference(pieces);
    p.AddReference(position);
    EXPECT_EQ(Run("STRINGSEEK", p).Result().AsText(), row.piece) << row.sought;
    EXPECT_EQ(pieces->AsNumber(), row.pieces) << row.sought;
    EXPECT_EQ(position->AsNumber(), row.position) << row.sought;
    rt().Files().Close(static_cast<int>(handle.AsNumber()));
  }
}

// The stamp as the host writes it today, its time as a pattern.
std::string StampPattern(const std::string& operatorName) {
  runtime::YearMonthDay today = runtime::Split(runtime::Today());
  auto quoted = [](const std::string& s) { return std::regex_replace(s, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)"); };
  return quoted("\r\n==> " + runtime::Str(today.day, 3, 0) + " " + runtime::MonthName(today.month) + " " +
                std::to_string(today.year) + ", ") +
         "[0-9]{2}:[0-9]{2}:[0-9]{2}" + quoted(", " + operatorName + "\r\n\t");
}

TEST_F(ErrorReportingTest, LogEntriesAreStampedWithDateTimeAndOperatorAndEndWithoutALineEnd) {
  rt().Variables().Assign("pikoperator", T("  Kowalska  "));
  ASSERT_TRUE(Append("#1005:Brak;abc", "FISK\\ERRORZUV.X", false, true));
  ASSERT_TRUE(Append("drugi", "FISK\\ERRORZUV.X", false, true));
  ASSERT_TRUE(Append("+bez stempla", "FISK\\ERRORZUV.X", false, false));
  std::regex expected(StampPattern("Kowalska") + "#1005:Brak;abc" + StampPattern("Kowalska") + R"(drugi\+bez stempla)");
  std::string log = ReadBytes(dir_.File("FISK/ERRORZUV.X"));
  EXPECT_TRUE(std::regex_match(log, expected)) << log;
  // The text is shown the device's way as well.
  EXPECT_EQ(Calls(), Fiscal("CW_PISZERR(\"#1005:Brak;abc\"); CW_PISZERR(\"drugi\"); CW_PISZERR(\"+bez stempla\")",
                            "DW_PISZERR(\"#1005:Brak;abc\"); DW_PISZERR(\"drugi\"); DW_PISZERR(\"+bez stempla\")"));

  // No operator variable: an empty name.
  rt().Variables().Clear();
  ASSERT_TRUE(Append("x", "FISK\\NOWY.X", false, true));
  EXPECT_TRUE(std::regex_match(ReadBytes(dir_.File("FISK/NOWY.X")), std::regex(StampPattern("") + "x")));
}

TEST_F(ErrorReportingTest, ALogIsEmptiedOnlyOnceItHasGrownBeyond500000Bytes) {
  for (std::size_t size : {500000u, 500001u}) {
    std::string before(size, 'h');
    dir_.Write("FISK/ERRORZUV.X", before);
    ASSERT_TRUE(Append("nowy", "FISK\\ERRORZUV.X", false, false)) << size;
    EXPECT_EQ(ReadBytes(dir_.File("FISK/ERRORZUV.X")), size == 500000 ? before + "nowy" : "nowy") << size;
  }
}

TEST_F(ErrorReportingTest, TheFirstLineOfAnErrorFileIsCopiedUpToItsLineEnd) {
  const std::string line120 = std::string(60, 'x') + std::string(60, 'y');
  const std::string line49 = std::string(49, 'z');
  struct Row {
    const char* what;
    std::string errorFile;
    std::string copied;
  };
  const Row rows[] = {
      {"a line of 120 bytes, in three pieces", line120 + "\r\ndruga linia\r\n", line120},
      {"no line end: the whole file", line120 + "koniec", line120 + "koniec"},
      {"an empty first line", "\r\nx", ""},
      {"a line end at the very end", "abc\r\n", "abc"},
      // The CR ends the first piece of 50 bytes, the LF begins the next.
      {"a line end between two pieces", line49 + "\r\ndruga linia", line49},
      {"a lone CR stays", line49 + "\r" + "x\r\n", line49 + "\rx"},
      {"a CR that ends the file", line49 + "\r", line49 + "\r"},
      {"exactly one piece, no line end", std::string(50, 'a'), std::string(50, 'a')},
      {"exactly two pieces, no line end", std::string(100, 'b'), std::string(100, 'b')},
      {"Polish letters as they are", Utf8ToCp852("Błąd drukarki\r\n"), Utf8ToCp852("Błąd drukarki")},
  };
  for (const Row& row : rows) {
    dir_.Write("FISK/ERROR.X", row.errorFile);
    std::filesystem::remove(dir_.File("FISK/ERRORZUV.X"));
    ASSERT_TRUE(Append("FISK\\ERROR.X", "FISK\\ERRORZUV.X", true, false)) << row.what;
    EXPECT_EQ(ReadBytes(dir_.File("FISK/ERRORZUV.X")), row.copied) << row.what;
    EXPECT_EQ(Calls(), Fiscal("CW", "DW") + "_PISZERR(" + runtime::Display(T(row.copied), true) + ")") << row.what;
  }
  // An error file that is not there copies nothing and is no failure; the
  // stamp is written all the same.
  std::filesystem::remove(dir_.File("FISK/ERRORZUV.X"));
  EXPECT_TRUE(Append("FISK\\MISSING", "FISK\\ERRORZUV.X", true, true));
  EXPECT_TRUE(std::regex_match(ReadBytes(dir_.File("FISK/ERRORZUV.X")), std::regex(StampPattern(""))));
  EXPECT_EQ(Calls(), "") << "nothing to show";
  // A collector's entry is shown by the collector module.
  dir_.Write("FISK/ERROR.X", "kolektor\r\n");
  EXPECT_TRUE(Append("FISK\\ERROR.X", "FISK\\ERRORZUV.X", true, false, T(" 10  2")));
  EXPECT_EQ(Calls(), "KL_PISZERR(\"kolektor\")");
}

// The file error box: two lines, the second the cause.
std::string FileErrorBox(const std::string& cause) {
  return "KOM3({\"Bl`a`d: #1001:" + Utf8ToCp852("Błąd odczytu/zapisu pliku z opisem błędu") + ",\", \"" +
         Utf8ToCp852(cause) + "\"}, 0, 0, 3)";
}

// What lies where a file should be may be no file at all: a FIFO would
// block every read and write, a device never end. Neither is taken for one.
TEST_F(ErrorReportingTest, AFifoOrADeviceIsNoErrorFileReportFileOrLog) {
  const std::vector<std::string> noFiles = NoRegularFiles("FISK");
  ASSERT_FALSE(noFiles.empty());
  for (const std::string& source : noFiles) {
    EXPECT_TRUE(Append(source, "FISK\\ERRORZUV.X", true, false)) << source << ": nothing to copy";
    EXPECT_EQ(ReadBytes(dir_.File("FISK/ERRORZUV.X")), "") << source;
    SetWorkMode(2);
    EXPECT_TRUE(JobFailed("  2  4", source)) << source << ": no report to read";
  }
  Calls();
  for (const std::string& log : noFiles) {
    EXPECT_FALSE(Append("tekst", log, false, true)) << log;
    EXPECT_EQ(Calls(), FileErrorBox("Brak praw dostępu")) << log;
  }
}

TEST_F(ErrorReportingTest, ExchangeAndFileErrorsHaveTheirTexts) {
  const std::pair<double, const char*> exchange[] = {
      {1000, "Błędny format opisów błędów"},
      {1001, "Błąd odczytu/zapisu pliku z opisem błędu"},
      {1002, "Błąd zapisu wejściowego pliku pomocniczego"},
      {1003, "Błąd odczytu wyjściowego pliku pomocniczego"},
      {1004, "Błąd zapisu pozycji paragonu do pliku pomocniczego"},
      {1005, "Brak programu komunikacyjnego"},
      {1006, "Niedozwolony znak w danej"},
      {1007, "Bl`e`dne urza`dzenie"},
      {999, "Inny Błąd"},
      {2000, "Inny Błąd"},
  };
  for (const auto& [code, text] : exchange) {
    auto variable = std::make_shared<Value>(N(code));
    Params p;
    p.AddReference(variable);
    EXPECT_EQ(Run("WDERROPIS", p).Result().AsText(), Utf8ToCp852(text)) << code;
    bool known = code >= 1000 && code <= 1007;
    EXPECT_EQ(variable->AsNumber(), known ? code : 2000) << "an unknown code becomes 2000: " << code;
  }

  const std::pair<double, const char*> file[] = {
      {0, "Pomyślnie"}, {1, "Inny błąd"}, {2, "Nie znaleziono zbioru"}, {3, "Nie znaleziono scieżki"},
      {4, "Za dużo otwartych zbiorów"}, {5, "Brak praw dostępu"}, {6, "Niewłaściwy deskryptor"},
      {8, "Brak pamięci"}, {15, "Niewłaściwy napęd dysku"},
      {19, "Próba zapisu na dysk z ochroną przed zapisem"}, {21, "Napęd nie gotowy"}, {23, "Błąd CRC"},
      {29, "Nieudany zapis"}, {30, "Nieudany odczyt"}, {32, "Naruszenie trybu dzielonego"},
      {33, "Naruszenie blokady"}, {31, "Inny błąd"},
  };
  for (const auto& [code, text] : file) {
    EXPECT_EQ(CallExport("DOSERROPIS", {T("plik.txt"), N(code)}).AsText(), Utf8ToCp852(text)) << code;
  }
}

TEST_F(ErrorReportingTest, TheFileErrorTextExtendsAFileNamePassedByReference) {
  auto name = std::make_shared<Value>(T("FISK\\a.fp6"));
  Params p;
  p.AddReference(name);
  p.Add(N(5));
  EXPECT_EQ(Run("DOSERROPIS", p).Result().AsText(), Utf8ToCp852("Brak praw dostępu"));
  EXPECT_EQ(name->AsText(), Utf8ToCp852("FISK\\a.fp6\r\nBłąd DOS 5: "));
  // Passed by value the name is the callee's own: nothing changes outside.
  Value byValue = T("b.txt");
  CallExport("DOSERROPIS", {byValue, N(29)});
  EXPECT_EQ(byValue.AsText(), "b.txt");
}

TEST_F(ErrorReportingTest, AnErrorEntryIsCodeTextAndDetail) {
  EXPECT_EQ(CallExport("WDERRTXT", {N(1005), T("abc")}).AsText(), "#1005:Brak programu komunikacyjnego;abc");
  EXPECT_EQ(CallExport("WDERRTXT", {N(1003), T("  plik - x  ")}).AsText(),
            Utf8ToCp852("#1003:Błąd odczytu wyjściowego pliku pomocniczego;plik - x"));
  EXPECT_EQ(CallExport("WDERRTXT", {N(7), Value()}).AsText(), Utf8ToCp852("#7:Inny Błąd;"));
}

TEST_F(ErrorReportingTest, AnExchangeErrorIsShownTheDevicesWayAndLoggedInItsWorkDirectory) {
  for (const char* d : {"KOLEKTOR", "KOLEKT_1"}) std::filesystem::create_directories(dir_.File(d));
  struct Row {
    Value device, collectorFlag;
    std::string log;
    std::string shown;
  };
  const Row rows[] = {
      {Value(), Value(), "FISK/" + Fiscal("ERRORZUV.FP6", "ERRORZUV.DF3"), Fiscal("CW", "DW") + "_ERRWPR"},
      {T(" 10  1"), Value(), "KOLEKTOR/ERRORZUV.CPT", "KL_ERRWPR"},
      {T(" 10  1"), N(1), "KOLEKT_1/ERRORZUV.CPT", "KL_ERRWPR"},
      {T(" 10  2"), N(2), "KOLEKTOR/ERRORZUV.SP2", "KL_ERRWPR"},
      {T("  2  7"), N(1), "FISK/ERRORZUV.PSN", Fiscal("CW", "DW") + "_ERRWPR"},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(CallExport("WDERRZAPIS", {N(1005), T("abc"), row.device, row.collectorFlag}).AsLogical()) << row.log;
    std::string calls = Calls();
    EXPECT_EQ(calls.substr(0, calls.find(';')), row.shown + "(1005, \"Brak programu komunikacyjnego\", \"abc\")");
    std::string log = ReadBytes(dir_.File(row.log));
    EXPECT_TRUE(std::regex_match(log, std::regex(StampPattern("") + "#1005:Brak programu komunikacyjnego;abc"))) << log;
  }
}

TEST_F(ErrorReportingTest, ALogThatExistsButDoesNotOpenKeepsItsHistory) {
  const std::string history = "\r\n==> dawny wpis\r\n\tstary";
  dir_.Write("FISK/ERRORZUV.X", history);
  {
    HeldByAnotherProgram locked("FISK/ERRORZUV.X");
    EXPECT_FALSE(Append("nowy", "FISK\\ERRORZUV.X", false, true));
  }
  EXPECT_EQ(Calls(), FileErrorBox("Naruszenie trybu dzielonego"));
  EXPECT_EQ(ReadBytes(dir_.File("FISK/ERRORZUV.X")), history);

  // A log that is not there is made; one that cannot be made is reported.
  EXPECT_TRUE(Append("nowy", "FISK\\NOWY.X", false, false));
  EXPECT_EQ(ReadBytes(dir_.File("FISK/NOWY.X")), "nowy");
  Calls();
  EXPECT_FALSE(Append("nowy", "BRAK\\NOWY.X", false, false));
  EXPECT_EQ(Calls(), FileErrorBox("Nie znaleziono scieżki"));
}

TEST_F(ErrorReportingTest, AnAppendThatCannotBeWrittenWholeIsReportedAndKeepsWhatWasThere) {
  if (!FileSizeLimit::Supported()) GTEST_SKIP() << "no file-size limit on this system";
  const std::string history(1000, 'h');
  dir_.Write("FISK/ERRORZUV.X", history);
  dir_.Write("FISK/ERROR.X", std::string(120, 'e') + "\r\n");
  struct Row {
    const char* what;
    std::uintmax_t limit;
    bool fromFile, stamped;
  };
  const Row rows[] = {
      {"the text cut", 1010, false, false},
      {"not even the stamp", 1000, false, true},
      {"the stamp cut", 1010, false, true},
      {"nothing but the stamp fits", history.size() + 20, true, true},
      {"the copy cut in its second piece", 1060, true, false},
  };
  for (const Row& row : rows) {
    dir_.Write("FISK/ERRORZUV.X", history);
    bool written;
    {
      FileSizeLimit full(row.limit);
      written = Append(row.fromFile ? "FISK\\ERROR.X" : std::string(100, 't'), "FISK\\ERRORZUV.X", row.fromFile,
                       row.stamped);
    }
    EXPECT_FALSE(written) << row.what;
    EXPECT_NE(Calls().find(FileErrorBox("Nieudany zapis")), std::string::npos) << row.what;
    std::string log = ReadBytes(dir_.File("FISK/ERRORZUV.X"));
    EXPECT_EQ(log.substr(0, history.size()), history) << row.what;
    EXPECT_EQ(log.size(), row.limit) << row.what;
  }
}

}  // namespace
}  // namespace zuvtill::testing
