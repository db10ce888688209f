// The runtime's services besides the tables: references through parameter
// lists, private variables, number and date formatting, the shell runner
// and byte files with their DOS error codes, as every system gives them.
// What only one system does is in posix/ and windows/.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iomanip>
#include <limits>
#include <optional>
#include <set>

#include "fixtures.h"
#include "runtime/byte_files.h"
#include "runtime/code_page.h"
#include "runtime/data_directory.h"
#include "runtime/dates.h"
#include "runtime/evaluator.h"
#include "runtime/expression.h"
#include "runtime/numbers.h"
#include "runtime/shell.h"
#include "runtime/text.h"

namespace zuvtill::testing {
namespace {

using runtime::Params;

Value Eval(const std::string& expression) {
  return runtime::EvaluateExpression(runtime::ParseExpression(expression));
}

// Writes its first argument and hands its second on to another function.
void WritesAndForwards(Params& p) {
  p.Store(1, T("written"));
  Params next;
  next.Forward(p, 2);
  next.Forward(p, 3);  // missing: handed on as NIL
  next.Store(1, N(42));
  p.SetResult(Value::Logical(next.IsNil(2) && next.Count() == 2));
}

TEST_F(RuntimeTest, ReferencesReachTheCallersVariablesAndValuesDoNot) {
  rt().Functions().SetLookup([](std::string_view name) -> runtime::HostFunction {
    return name == "WRITES" ? WritesAndForwards : nullptr;
  });
  rt().Variables().Assign("a", T("old"));
  rt().Variables().Assign("b", N(1));
  EXPECT_TRUE(Eval("WRITES(@a, @b)").AsLogical());
  EXPECT_EQ(rt().Variables().Get("a").AsText(), "written");
  EXPECT_EQ(rt().Variables().Get("b").AsNumber(), 42);  // through the second callee

  Eval("WRITES(a, b := 7)");
  EXPECT_EQ(rt().Variables().Get("a").AsText(), "written");
  EXPECT_EQ(rt().Variables().Get("b").AsNumber(), 7);

  Eval("WRITES(@fresh, 0)");  // a reference to a name that did not exist makes it
  EXPECT_EQ(rt().Variables().Get("fresh").AsText(), "written");
  EXPECT_THROW(Eval("@a"), runtime::HostError);
}

TEST_F(RuntimeTest, ArraysAreSharedAndPrivatesEndWithTheirFrame) {
  Eval("x := {1, {2, 3}}");
  Eval("y := x");
  Eval("y[2][1] := 9");
  EXPECT_EQ(runtime::Display(Eval("x")), "{1, {9, 3}}");
  EXPECT_THROW(Eval("x[3]"), runtime::HostError);

  runtime::Memvars& m = rt().Variables();
  m.Assign("v", T("outer"));
  {
    runtime::PrivateFrame frame(m);
    m.DeclarePrivate("v");
    m.Assign("v", T("inner"));
    m.Assign("created", N(1));
    EXPECT_EQ(Eval("v").AsText(), "inner");
  }
  EXPECT_EQ(Eval("v").AsText(), "outer");
  EXPECT_FALSE(m.Exists("created"));
}

// Nesting of any depth reaches the parser from scripts, TYPE() texts and
// key expressions: too deep is an error naming the place, never a crash.
TEST(Expressions, NestingBeyondTheLimitIsAnErrorNotACrash) {
  auto repeated = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  // The whole expression is one level; each parenthesis one more.
  EXPECT_EQ(Eval(repeated("(", 255) + "1" + repeated(")", 255)).AsNumber(), 1);
  EXPECT_EQ(Eval(repeated("-", 255) + "1").AsNumber(), -1);
  // A chain of n operators is a tree n + 1 deep.
  EXPECT_EQ(Eval("1" + repeated("+1", 255)).AsNumber(), 256);
  for (const std::string& deep : {repeated("(", 256) + "1" + repeated(")", 256), repeated("-", 256) + "1",
                                  "1" + repeated("+1", 256), repeated("(", 100000) + "1" + repeated(")", 100000),
                                  repeated("-", 100000) + "1", "1" + repeated("+1", 100000), repeated("{", 100000),
                                  repeated("!", 100000) + ".T.", repeated("a[", 100000) + "1"}) {
    try {
      runtime::ParseExpression(deep);
      ADD_FAILURE() << deep.substr(0, 10) << "... (" << deep.size() << " characters): parsed";
    } catch (const runtime::HostError& e) {
      EXPECT_NE(std::string(e.what()).find("nested too deeply"), std::string::npos) << e.what();
    }
  }
}

// Numbers beyond every index, count or date: the host's error or a value
// held at the end of the range, never undefined behaviour.
TEST(Expressions, HugeNumbersAreErrorsOrHeldAtTheEnds) {
  for (const char* wrong : {"{1, {2, \"x\"}}[37777777777777777777777777777777777777777777][1]", "{1}[-(10 ** 300)]",
                            "{1}[0.5]", "STOD(\"20261209\") + 10 ** 300", "STOD(\"20261209\") - 10 ** 300",
                            "10 ** 300 + STOD(\"20261209\")"}) {
    EXPECT_THROW(Eval(wrong), runtime::HostError) << wrong;
  }
  EXPECT_EQ(Eval("{7, 8}[2.9]").AsNumber(), 8);
  EXPECT_EQ(Eval("SUBSTR(\"abc\", 2, 10 ** 300)").AsText(), "bc");
  EXPECT_EQ(Eval("SUBSTR(\"abc\", -(10 ** 300))").AsText(), "abc");
  EXPECT_EQ(Eval("LEFT(\"abc\", 10 ** 300)").AsText(), "abc");
  EXPECT_EQ(runtime::SaturatedInt(std::nan("")), 0);
  EXPECT_EQ(runtime::SaturatedLong(-1e300), std::numeric_limits<long>::min());
}

// Rounding and integer parts work on the decimal value a number stands
// for: a grosz is never lost to the binary approximation of a price.
TEST(Money, RoundsAndCutsTheDecimalValueNotItsBinaryApproximation) {
  struct Case {
    double number;
    int decimals;
    double rounded;
  };
  const Case rounding[] = {
      {1.005, 2, 1.01},      {2.675, 2, 2.68},    {1.015, 2, 1.02},        {12.345, 2, 12.35},
      {0.1 * 3, 2, 0.3},     {0.1 + 0.2, 2, 0.3}, {0.1 * 3 * 100, 0, 30},  {10 * 1.23 * 100, 0, 1230},
      {2.5, 0, 3},           {-2.5, 0, -3},       {-1.005, 2, -1.01},      {0.5, 0, 1},
      {0.49999999, 0, 0},    {1234.5, -2, 1200},  {1250, -2, 1300},        {1e20, 2, 1e20},
      {1e-20, 2, 0},         {0.004, 2, 0},       {0.005, 2, 0.01},        {123456789.125, 2, 123456789.13},
      {12.5, -2147483647 - 1, 0}, {12.5, 2147483647, 12.5}, {-1234.5, -2, -1200},
      // Sixteen digits and more: the number itself, cut exactly.
      {1234567890123456, 0, 1234567890123456}, {9007199254740992, 0, 9007199254740992},
      {999999999999998.5, 0, 999999999999999}, {123456789012345.5, -1, 123456789012350},
      {1.7976931348623157e308, 0, 1.7976931348623157e308},
  };
  for (const Case& c : rounding) {
    EXPECT_EQ(runtime::Round(c.number, c.decimals), c.rounded) << std::setprecision(17) << c.number << " " << c.decimals;
  }
  // A result of zero has no sign (it would show as "-0").
  EXPECT_FALSE(std::signbit(runtime::Round(-0.0049, 2)));
  EXPECT_FALSE(std::signbit(runtime::IntegerPart(-0.5)));
  const std::pair<double, double> integerParts[] = {
      {12.3 * 100, 1230}, {0.57 * 100, 57}, {1229.9999, 1229}, {-12.99, -12}, {0.1 * 3 * 10, 3}, {0.999, 0}, {1e15, 1e15},
      {123456789012345.7, 123456789012345}, {999999999999997.5, 999999999999997}, {99999999999999.99, 99999999999999}};
  for (const auto& [number, whole] : integerParts) EXPECT_EQ(runtime::IntegerPart(number), whole) << number;
}

TEST(Formatting, NumbersAsTheHostWritesAndReadsThem) {
  struct Case {
    double n;
    int width, decimals;
    const char* text;
  } cases[] = {
      {7, 5, 0, "    7"},   {12, 1, 0, "*"},       {115200, 5, 0, "*****"}, {9600, 5, 0, " 9600"},
      {23, 5, 2, "23.00"},   {8.5, 6, 2, "  8.50"}, {2.5, 3, 0, "  3"},     {-2.5, 3, 0, " -3"},
      {1.005, 5, 2, " 1.01"}, {-0.001, 5, 2, " 0.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(runtime::Str(c.n, c.width, c.decimals), c.text) << c.n;
  EXPECT_EQ(runtime::Str(42), "        42");

  struct Read {
    const char* text;
    double value;
  } reads[] = {{"  12.5x", 12.5}, {"-1", -1}, {"", 0}, {"abc", 0}, {"99999", 99999}, {"+3", 3}, {" 1 2", 1}};
  for (const Read& r : reads) EXPECT_EQ(runtime::Val(r.text), r.value) << r.text;
  EXPECT_EQ(runtime::ShortestNumber(0.1 + 0.2 - 0.3 + 0.5 - 1e-17), "0.5");
  EXPECT_EQ(runtime::ShortestNumber(-0.0), "0");
  EXPECT_EQ(runtime::ShortestNumber(1e21), "1000000000000000000000");
}

TEST(Formatting, DatesAndMonthNames) {
  runtime::Date d = runtime::MakeDate(2024, 2, 29);
  EXPECT_EQ(runtime::Dtoc(d), "29.02.2024");
  EXPECT_EQ(runtime::Dtos(d), "20240229");
  EXPECT_EQ(runtime::Ctod("29.02.2024"), d);
  EXPECT_EQ(runtime::Stod("20240229"), d);
  EXPECT_EQ(runtime::Split(runtime::Date{d.julian + 1}).month, 3);
  EXPECT_TRUE(runtime::MakeDate(2023, 2, 29).IsEmpty());
  EXPECT_TRUE(runtime::Stod("2024021").IsEmpty());
  EXPECT_EQ(runtime::Dtoc({}), "  .  .    ");
  EXPECT_EQ(runtime::Cp852ToUtf8(runtime::MonthName(10)), "Październik");
  EXPECT_EQ(runtime::MonthName(13), "");
}

TEST(CodePage, ConvertsBothWays) {
  std::string letters = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
  std::string cp852 = runtime::Utf8ToCp852(letters);
  EXPECT_EQ(cp852, "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE");
  EXPECT_EQ(runtime::Cp852ToUtf8(cp852), letters);
  EXPECT_EQ(runtime::Utf8ToCp852("€"), "?");       // not in the code page
  EXPECT_EQ(runtime::Utf8ToCp852("\xA5x"), "\xA5x");  // not UTF-8: taken as host bytes
  EXPECT_EQ(runtime::Upper("\xA5\x86z"), "\xA4\x8FZ");
}

TEST_F(RuntimeTest, TheConsoleIsRecordedAndASavedScreenComesBack) {
  Eval("old := SETCURSOR(1)");
  Eval("screen := SAVESCREEN(0, 0, MAXROW(), MAXCOL())");
  Eval("DEVPOS(24, 0)");
  Eval("DEVOUT('Uruchamianie')");
  EXPECT_EQ(rt().Terminal().ScreenRow(24).substr(0, 13), "Uruchamianie ");
  EXPECT_EQ(Eval("COL()").AsNumber(), 12);
  Eval("RESTSCREEN(0, 0, MAXROW(), MAXCOL(), screen)");
  Eval("SETCURSOR(old)");
  EXPECT_EQ(rt().Terminal().ScreenRow(24), std::string(80, ' '));
  EXPECT_EQ(rt().Terminal().Log(),
            (std::vector<std::string>{"SETCURSOR 1", "SAVESCREEN 0 0 24 79", "SETPOS 24 0", "DEVOUT \"Uruchamianie\"",
                                      "RESTSCREEN 0 0 24 79", "SETCURSOR 1"}));
}

// A table's file in the data directory: the lower-case name whenever it is
// there, never a file outside, whichever separator leads there. (Other
// spellings of a name are the POSIX tests': a Windows file system holds
// only one of them.)
TEST_F(RuntimeTest, ATableIsItsLowerCaseFileAndNeverOneOutside) {
  struct Case {
    std::vector<std::string> files;
    std::string alias, found;  // found: the file's name, "" for none
  };
  const Case cases[] = {
      {{"vat.dbf"}, "vat", "vat.dbf"},
      {{"vat.dbf"}, "VAT", "vat.dbf"},
      {{"jm.dbf"}, "vat", ""},
      {{"inner/vat.dbf"}, "inner/vat", ""},
      {{"inner/vat.dbf"}, "inner\\vat", ""},
      {{}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alias);
    TempDirectory outer;
    std::filesystem::create_directory(outer.File("dane"));
    std::filesystem::create_directory(outer.File("dane/inner"));
    outer.Write("vat.dbf", "");  // beside the data directory, not in it
    for (const std::string& f : c.files) outer.Write("dane/" + f, "");
    rt().Data().SetPath(outer.File("dane"));
    EXPECT_EQ(rt().Data().TableFile(c.alias), c.found.empty() ? "" : outer.File("dane/" + c.found));
    EXPECT_EQ(rt().Data().TableFile("../" + c.alias), "");
    EXPECT_EQ(rt().Data().TableFile("..\\" + c.alias), "");
  }
}

TEST_F(RuntimeTest, TheDataDirectoryListsItsTablesByAlias) {
  TempDirectory dir;
  for (const char* name : {"vat.dbf", "POZYCJE.DBF", "notes.txt", "dbf", "stan_mag.dbf"}) dir.Write(name, "");
  std::filesystem::create_directory(dir.File("inner.dbf"));  // a directory is listed like a file
  rt().Data().SetPath(dir.path());
  EXPECT_EQ(rt().Data().Aliases(), (std::vector<std::string>{"INNER", "POZYCJE", "STAN_MAG", "VAT"}));
  rt().Data().SetPath(dir.File("missing"));
  EXPECT_EQ(rt().Data().Aliases(), std::vector<std::string>{});
}

// The shell's answers that are the same on every system: the status of a
// command that ran, nothing for a program that is nowhere.
TEST_F(RuntimeTest, RunShellAnswersTheStatusOrNothingWhenTheProgramIsNowhere) {
  TempDirectory dir;
  WorkingIn here(dir.path());
  struct Row {
    const char* command;
    std::optional<int> status;  // nothing: it could not start
  };
  const Row rows[] = {
      {"/C exit 7", 7},
      {"/c exit 0", 0},
      {"/C NOSUCHPROGRAM.EXE 4 1 9600 25 Ai.fp6", std::nullopt},
      {"/C nosuchprogram", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(runtime::RunShell(row.command), row.status) << row.command;
}

TEST_F(RuntimeTest, ByteFilesReportDosErrorCodes) {
  TempDirectory dir_;
  WorkingIn here(dir_.path());
  runtime::ByteFiles& files = rt().Files();
  std::filesystem::create_directory(dir_.File("FISK"));
  int h = files.Create("fisk\\ERROR.FP6");  // the directory in another case
  ASSERT_GE(h, 0);
  EXPECT_EQ(files.Write(h, std::string("ab\0cd", 5)), 5);
  EXPECT_EQ(files.Seek(h, 0, 0), 0);
  EXPECT_EQ(files.ReadString(h, 200), "ab");
  EXPECT_EQ(files.Read(h, 10), "cd");  // past the zero byte
  EXPECT_EQ(files.Read(h, 10), "");
  EXPECT_EQ(files.LastError(), 0);
  EXPECT_TRUE(files.Close(h));
  EXPECT_TRUE(files.Exists("FISK\\error.fp6"));

  struct Case {
    const char* path;
    int code;
  } cases[] = {{"NOFILE.TXT", 2}, {"NODIR\\FILE.TXT", 3}, {"FISK", 5}};
  for (const Case& c : cases) {
    EXPECT_EQ(files.Open(c.path, runtime::ByteFiles::kRead), -1) << c.path;
    EXPECT_EQ(files.LastError(), c.code) << c.path;
  }
  EXPECT_FALSE(files.Close(12345));
  EXPECT_EQ(files.LastError(), 6);
  int readOnly = files.Open("FISK\\ERROR.FP6", runtime::ByteFiles::kRead);
  EXPECT_EQ(files.Write(readOnly, "x"), 0);
  EXPECT_EQ(files.LastError(), 5);
  EXPECT_TRUE(files.Close(readOnly));
  EXPECT_EQ(files.Erase("FISK\\ERROR.FP6"), 0);
  EXPECT_EQ(files.Erase("FISK\\ERROR.FP6"), -1);
  EXPECT_EQ(files.LastError(), 2);
  EXPECT_EQ(files.Erase("FISK"), -1);
  EXPECT_EQ(files.LastError(), 5);
  EXPECT_EQ(files.Erase("NODIR\\FILE.TXT"), -1);
  EXPECT_EQ(files.LastError(), 3);
  EXPECT_EQ(files.Create("NODIR\\FILE.TXT"), -1);
  EXPECT_EQ(files.LastError(), 3);
  EXPECT_EQ(files.Create("FISK"), -1);
  EXPECT_EQ(files.LastError(), 5);
}

// The host keeps the number FOPEN answers: small numbers after the five of
// DOS's standard devices, each open file its own, a closed one given out
// again; a number never given out is no file.
TEST_F(RuntimeTest, ByteFileHandlesAreSmallNumbersOfTheirOwn) {
  TempDirectory dir;
  WorkingIn here(dir.path());
  runtime::ByteFiles& files = rt().Files();
  std::set<int> handles;
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) {
    int h = files.Create(name);
    ASSERT_GE(h, 5) << name;
    EXPECT_LT(h, 5 + 3) << name;
    EXPECT_EQ(files.Write(h, name), 5);
    handles.insert(h);
  }
  EXPECT_EQ(handles.size(), 3u);
  const int middle = *std::next(handles.begin());
  EXPECT_TRUE(files.Close(middle));
  EXPECT_EQ(files.Read(middle, 1), "");
  EXPECT_EQ(files.LastError(), 6);
  int again = files.Open("B.TXT", runtime::ByteFiles::kReadWrite);
  EXPECT_EQ(again, middle);
  EXPECT_EQ(files.Read(again, 10), "B.TXT");
  EXPECT_EQ(files.Seek(again, -2, 2), 3);
  EXPECT_EQ(files.Read(again, 10), "XT");
  EXPECT_EQ(files.Seek(again, -10, 0), 5) << "a failed seek keeps the position";
  EXPECT_EQ(files.LastError(), 25);
  for (int h : handles) EXPECT_TRUE(files.Close(h));
  EXPECT_FALSE(files.Close(4));
  EXPECT_EQ(files.LastError(), 6);
}

}  // namespace
}  // namespace zuvtill::testing
