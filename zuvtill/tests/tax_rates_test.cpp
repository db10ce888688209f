// GETNRURZFISK, STAWKA_FIS, WD_STAWKA and CHANGELAT of libzuvtill.so for the
// family under test, with the host's FISKI over a fiski table and its
// letter codings.
#include <gtest/gtest.h>

#include "runtime/code_page.h"
#include "runtime/text.h"
#include "till_fixture.h"

namespace zuvtill::testing {
namespace {

using runtime::Params;
using runtime::Utf8ToCp852;

class TaxRatesTest : public TillTest {
 protected:
  void SetUp() override {
    TillTest::SetUp();
    MakeTable(data_.File("fiski.dbf"), {{"NR_URZ", 'N', 3, 0, 0}, {"SYMBOL", 'C', 4, 0, 0}, {"OZNACZ", 'C', 3, 0, 0}},
              {{N(1), T("23"), T("A")}, {N(6), T("23"), T("F  ")}, {N(1), T("NP"), T("   ")}});
    rt().Data().SetPath(data_.path());
  }

  // STAWKA_FIS with the symbol in a variable passed by reference.
  bool Rate(Value key, Value& symbol, Value trim = Value()) {
    auto variable = std::make_shared<Value>(symbol);
    Params p;
    p.Add(key);
    p.AddReference(variable);
    p.Add(trim);
    bool found = Run("STAWKA_FIS", p).Result().AsLogical();
    symbol = *variable;
    return found;
  }

  TempDirectory data_;
};

const char kBadKey[] = "KOM3(\"Niepoprawna wartos`c` parametru \"cKodslo\" !\")";

TEST_F(TaxRatesTest, EachDeviceKindHasItsFiscalDeviceNumber) {
  struct Row {
    Value key;
    double number;
  };
  const Row rows[] = {
      {T("  1  1"), 1}, {T("  1  7"), 1}, {T("  2  1"), 2}, {T("  2  2"), 3}, {T("  2  3"), 4},
      {T("  2  4"), 5}, {T("  2  5"), 6}, {T("  2  6"), 6}, {T("  2  7"), 7}, {T("  2  8"), 8},
      {T("  2  9"), 9},
      // A dictionary key that begins with the symbol.
      {T("  2  5POS"), 6}, {T("  2  7   "), 7}, {T("  1  1FP6"), 1},
      // Invalid keys: a message and 0.
      {T("  2  0"), 0}, {T("  2 -1"), 0}, {T("  3  1"), 0}, {T(" 10  1"), 0}, {T("abc"), 0}, {T(""), 0}, {Value(), 0},
  };
  for (const Row& row : rows) {
    std::string shown = runtime::Display(row.key, true);
    EXPECT_EQ(CallExport("GETNRURZFISK", {row.key}).AsNumber(), row.number) << shown;
    EXPECT_EQ(Calls(), row.number == 0 ? kBadKey : "") << shown;
  }
}

TEST_F(TaxRatesTest, AVatSymbolBecomesTheDevicesDesignation) {
  Value symbol = T("23");
  EXPECT_TRUE(Rate(T("  1  1"), symbol));
  EXPECT_EQ(symbol.AsText(), "A");

  // Trailing blanks of the designation: gone unless the trim flag is false.
  symbol = T("23");
  EXPECT_TRUE(Rate(T("  2  5"), symbol));
  EXPECT_EQ(symbol.AsText(), "F");
  symbol = T("23");
  EXPECT_TRUE(Rate(T("  2  6"), symbol, Value::Logical(false)));
  EXPECT_EQ(symbol.AsText(), "F  ");
  symbol = T("23");
  EXPECT_TRUE(Rate(T("  2  6"), symbol, N(1))) << "a trim flag that is no logical is true";
  EXPECT_EQ(symbol.AsText(), "F");

  // No designation: false, and the caller's variable holds the empty one.
  for (const char* vat : {"NP", "8"}) {
    symbol = T(vat);
    EXPECT_FALSE(Rate(T("  1  1"), symbol)) << vat;
    EXPECT_TRUE(runtime::IsBlank(symbol.AsText())) << vat;
  }
  EXPECT_EQ(Calls(), "");

  // A key that names no device: the message, and the symbol untouched.
  symbol = T("23");
  EXPECT_FALSE(Rate(T("  3  1"), symbol));
  EXPECT_EQ(symbol.AsText(), "23");
  EXPECT_EQ(Calls(), kBadKey);
}

TEST_F(TaxRatesTest, APrintersRateIsShownInPercentWithTwoDecimals) {
  const std::pair<Value, const char*> rows[] = {
      {T("2300"), "23.00"}, {T("800"), "8.00"},  {T("850"), "8.50"},  {T("0"), "0.00"},  {T("5"), "0.05"},
      {T("99999"), "ZW"},   {T("-1"), "NZ"},     {T(" -1"), "NZ"},    {T(""), "0.00"},   {T("abc"), "0.00"},
      {T("2300xyz"), "23.00"}, {Value(), "0.00"}, {T("-250"), "-2.50"},
      // A rate of 100 % or more does not fit the host's five characters.
      {T("10000"), "*****"},
  };
  for (const auto& [value, text] : rows) {
    EXPECT_EQ(CallExport("WD_STAWKA", {value}).AsText(), text) << runtime::Display(value, true);
  }
}

TEST_F(TaxRatesTest, PolishLettersGoBetweenTheHostCodingAndTheFileCoding) {
  const std::string file = Utf8ToCp852("Żółć gęślą");  // code page 852, the file coding
  const std::string mazovia = "\xA1\xA2\x92\x8D g\x91\x9El\x86";  // the same in coding 1
  const std::string windows1250 = "\xAF\xF3\xB3\xE6 g\xEA\x9Cl\xB9";  // and in coding 3
  struct Row {
    Value p_pol;
    bool toHost;
    std::string before, after;
  };
  const Row rows[] = {
      {N(1), true, file, mazovia},
      {N(1), false, mazovia, file},
      {N(3), true, file, windows1250},
      {N(3), false, windows1250, file},
      // Coding 4 has no diacritics: toward it yes, back from it never.
      {N(4), true, file, "Zolc gesla"},
      {N(4), false, "Zolc gesla", "Zolc gesla"},
      // The file coding itself, or no numeric coding: nothing changes.
      {N(2), true, file, file},
      {N(2), false, file, file},
      {T("1"), true, file, file},
      {Value(), true, file, file},
  };
  for (const Row& row : rows) {
    rt().Variables().Clear();
    if (!row.p_pol.IsNil()) rt().Variables().Assign("p_pol", row.p_pol);
    auto text = std::make_shared<Value>(T(row.before));
    Params p;
    p.AddReference(text);
    p.Add(Value::Logical(row.toHost));
    EXPECT_TRUE(Run("CHANGELAT", p).Result().AsLogical());
    EXPECT_EQ(text->AsText(), row.after) << runtime::Display(row.p_pol) << " " << row.toHost;
  }
  // The direction defaults to toward the host; only a NIL text fails.
  rt().Variables().Assign("p_pol", N(1));
  auto text = std::make_shared<Value>(T(file));
  Params p;
  p.AddReference(text);
  EXPECT_TRUE(Run("CHANGELAT", p).Result().AsLogical());
  EXPECT_EQ(text->AsText(), mazovia);
  EXPECT_FALSE(CallExport("CHANGELAT", {Value()}).AsLogical());
  EXPECT_TRUE(CallExport("CHANGELAT", {N(5)}).AsLogical());
}

}  // namespace
}  // namespace zuvtill::testing
