// MAX_PLU, GET_PL_NVS, CZY_POSDLL and LINESEEK of libzuvtill.so for the
// family under test, over FISK_SLO and FISK_URZ tables: the limits and
// character set of every device kind, the NOVITUS models and selection
// character, the five character sets byte for byte, and the host's tables
// left as they were.
#include <gtest/gtest.h>

#include "runtime/code_page.h"
#include "till_fixture.h"

namespace zuvtill::testing {
namespace {

using runtime::Params;

const std::string kPolish = "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE";
const std::string kDigits = "0123456789";
const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kLower = "abcdefghijklmnopqrstuvwxyz";
const std::string kPrintable = "!\"#$%&()*+,-./" + kDigits + ":;<=>?@" + kUpper + "[\\]^_'`" + kLower + "{|}~";
const std::string kSetA = kPrintable + kPolish;
const std::string kSetB = " \"%()*,-./" + kDigits + kUpper + "'" + kLower + kPolish;
const std::string kSetC = " " + kPrintable + kPolish;
const std::string kSetD = ": ,./" + kDigits + kUpper + kLower + kPolish;
const std::string kSetE = ",./" + kDigits + kUpper + "\\" + kLower + kPolish.substr(0, 9) + "\x8C\x8F" + kPolish.substr(9);

struct Answer {
  Value plu, name, characters, selection, packagingName;
};

class PluLimitsTest : public TillTest {
 protected:
  void SetUp() override {
    TillTest::SetUp();
    MakeTable(data_.File("fisk_slo.dbf"), {{"KODSLO", 'C', 10, 0, 0}, {"MAXPLU", 'N', 6, 0, 0}, {"MAXNAZWA", 'N', 3, 0, 0}},
              {{T("  2  4"), N(999), N(25)},
               {T("  1  1FP6"), N(4000), N(30)},
               {T("  2  1"), N(3000), N(24)},
               {T("  2  6"), N(500), N(20)},
               {T("  2  7"), N(2000), N(40)},
               {T("  2  8"), N(2300), N(18)}});
    MakeDevices(",");
    data_.Write("tables.ini",
                "[fisk_slo]\n1 = kodslo\n[fisk_urz]\n1 = przeds+zaklad+kodurz\n5 = przeds+zaklad+kodurz+model\n");
    rt().Data().SetPath(data_.path());
    rt().Variables().Assign("p_przds", T("01"));
    rt().Variables().Assign("p_zkld", T("01"));
  }

  void MakeDevices(const std::string& novitusSelection) {
    MakeTable(data_.File("fisk_urz.dbf"),
              {{"PRZEDS", 'C', 2, 0, 0}, {"ZAKLAD", 'C', 2, 0, 0}, {"KODURZ", 'C', 6, 0, 0}, {"MODEL", 'C', 5, 0, 0},
               {"MAXPLU", 'N', 6, 0, 0}, {"MAXNAZWA", 'N', 3, 0, 0}, {"MAXNAZOPAK", 'N', 3, 0, 0},
               {"RODZ_WYBIE", 'C', 1, 0, 0}, {"RET", 'N', 1, 0, 0}},
              {{T("01"), T("01"), T("  2  6"), T("     "), N(7000), N(22), N(11), T(" "), N(1)},
               {T("01"), T("01"), T("  2  7"), T("neo"), N(100000), N(40), N(20), T(" "), N(1)},
               {T("01"), T("01"), T("  2  7"), T("prfkt"), N(50000), N(38), N(18), T(" "), N(1)},
               {T("01"), T("01"), T("  2  8"), T(""), N(0), N(0), N(0), T(novitusSelection), N(0)}});
  }

  // MAX_PLU with arguments 1, 6 to 9 as given; the by-reference answers.
  Answer MaxPlu(const std::string& symbol, Value novitusModel = Value(), Value model = Value(), Value variant = Value(),
                Value posModel = Value(), Value packagingName = Value()) {
    std::vector<runtime::Cell> out;
    for (int i = 0; i < 5; ++i) out.push_back(std::make_shared<Value>());
    *out[4] = packagingName;
    Params p;
    p.Add(T(symbol));
    for (int i = 0; i < 4; ++i) p.AddReference(out[i]);
    p.Add(novitusModel);
    p.Add(model);
    p.Add(variant);
    p.Add(posModel);
    p.AddReference(out[4]);
    EXPECT_TRUE(Run("MAX_PLU", p).Result().IsNil());
    return {*out[0], *out[1], *out[2], *out[3], *out[4]};
  }

  TempDirectory data_;
};

std::string Shown(const Answer& a) {
  return runtime::Display(a.plu) + " " + runtime::Display(a.name) + " " + runtime::Display(a.packagingName) + " \"" +
         runtime::Display(a.selection) + "\"";
}

std::string SetName(const Value& characters) {
  const std::pair<const std::string*, const char*> sets[] = {
      {&kSetA, "A"}, {&kSetB, "B"}, {&kSetC, "C"}, {&kSetD, "D"}, {&kSetE, "E"}};
  for (const auto& [set, name] : sets) {
    if (characters.IsText() && characters.AsText() == *set) return name;
  }
  return characters.IsText() && characters.AsText().empty() ? "none" : "?";
}

TEST_F(PluLimitsTest, TheCharacterSetsHoldTheirBytesInTheirOrder) {
  EXPECT_EQ(kPolish, runtime::Utf8ToCp852("ĄĆĘŁŃÓŚŹŻąćęłńóśźż"));
  const std::pair<const std::string*, std::size_t> lengths[] = {
      {&kSetA, 112}, {&kSetB, 91}, {&kSetC, 113}, {&kSetD, 85}, {&kSetE, 86}};
  for (const auto& [set, length] : lengths) EXPECT_EQ(set->size(), length);
  // The sets as the library answers them, each to a device that uses it.
  EXPECT_EQ(SetName(MaxPlu("  1  1").characters), "A");
  EXPECT_EQ(SetName(MaxPlu("  2  7", Value(), Value(), Value(), T("neo")).characters), "B");
  EXPECT_EQ(SetName(MaxPlu("  2  7").characters), "C");
  EXPECT_EQ(SetName(MaxPlu("  2  4").characters), "D");
  EXPECT_EQ(SetName(MaxPlu("  2  8").characters), "E");
}

TEST_F(PluLimitsTest, EveryDeviceKindHasItsLimits) {
  struct Row {
    const char* what;
    std::string symbol;
    Value novitusModel, model, variant, posModel;
    double plu, name, packagingName;
    const char* set;
    const char* selection = ":";
  };
  const bool elzab = Elzab();
  // The fiscal printer's name limit is the family's: fixed by model in an
  // ELZAB library, FISK_SLO's in a POSNET one.
  const double printerName = elzab ? 28 : 30;
  const Row rows[] = {
      {"fiscal printer", "  1  1", {}, {}, {}, {}, 4000, printerName, printerName, "A"},
      {"fiscal printer, model 13", "  1  1", {}, N(13), {}, {}, 4000, elzab ? 40.0 : 30, elzab ? 40.0 : 30, "A"},
      {"fiscal printer, model 12", "  1  1", {}, N(12), {}, {}, 4000, elzab ? 18.0 : 30, elzab ? 18.0 : 30, "A"},
      {"fiscal printer, model as text", "  1  1", {}, T("13"), {}, {}, 4000, printerName, printerName, "A"},
      {"SYS600", "  2  4", {}, {}, {}, {}, 999, 25, 25, "D"},
      {"SYS600 variant", "  2  4", {}, {}, Value::Logical(true), {}, 18, 24, 24, "D"},
      {"SYS600 variant, model 15", "  2  4", {}, N(15), Value::Logical(true), {}, 18, 34, 34, "D"},
      {"SYS600 model 15 without the variant", "  2  4", {}, N(15), {}, {}, 999, 25, 25, "D"},
      {"PS2000", "  2  1", {}, {}, {}, {}, 3000, 24, 24, "A"},
      // DATECS reads the FISK_URZ record that happens to be current: the
      // first one, as the table was just opened.
      {"DATECS", "  2  6", {}, {}, {}, {}, 7000, 20, 20, "A"},
      {"POSNET", "  2  7", {}, {}, {}, {}, 50000, 40, 40, "C"},
      // Through a POS module: its model's record, else the "prfkt" one;
      // the name limits from the record current again afterwards.
      {"POSNET neo", "  2  7", {}, {}, {}, T("neo"), 100000, 22, 11, "B"},
      {"POSNET binxl", "  2  7", {}, {}, {}, T("binxl"), 50000, 22, 11, "A"},
      {"NOVITUS frg2 by default", "  2  8", {}, {}, {}, {}, 1000, 18, 18, "E", ","},
      {"NOVITUS frg2+ in blanks", "  2  8", T(" frg2+ "), {}, {}, {}, 2300, 18, 18, "E", ","},
      {"NOVITUS numeric model", "  2  8", N(3), {}, {}, {}, 1000, 18, 18, "E", ","},
      {"NOVITUS syst", "  2  8", T("syst"), {}, {}, {}, 22000, 18, 18, "E", ","},
      {"NOVITUS unknown model", "  2  8", T("frg3"), {}, {}, {}, 0, 0, 0, "none", "."},
      {"no dictionary record", "  9  9", {}, {}, {}, {}, 0, 0, 0, "none"},
  };
  for (const Row& row : rows) {
    Answer a = MaxPlu(row.symbol, row.novitusModel, row.model, row.variant, row.posModel);
    Answer expected{N(row.plu), N(row.name), Value(), T(row.selection), N(row.packagingName)};
    EXPECT_EQ(Shown(a), Shown(expected)) << row.what;
    EXPECT_EQ(SetName(a.characters), row.set) << row.what;
  }
}

TEST_F(PluLimitsTest, ANovitusSelectionCharacterOutsideTheSetBecomesAFullStop) {
  MakeDevices("#");
  EXPECT_EQ(MaxPlu("  2  8").selection.AsText(), ".");
  // A POSNET module's own limits with a packaging limit of the caller's:
  // kept for every other kind.
  EXPECT_EQ(MaxPlu("  2  1", {}, {}, {}, {}, N(7)).packagingName.AsNumber(), 7);
}

TEST_F(PluLimitsTest, TheTablesAreLeftAsTheyWereFound) {
  // Not open: opened for the call and closed again.
  rt().Areas().Select(3);
  MaxPlu("  2  7", {}, {}, {}, T("neo"));
  EXPECT_EQ(rt().Areas().Find("fisk_slo"), nullptr);
  EXPECT_EQ(rt().Areas().Find("fisk_urz"), nullptr);
  EXPECT_EQ(rt().Areas().CurrentNumber(), 3);

  // Open: they stay open, and FISK_URZ keeps its order and record.
  rt().Data().Open(rt().Areas(), "fisk_urz");
  runtime::WorkArea& devices = rt().Areas().Require("fisk_urz");
  devices.GoTo(4);
  int area = rt().Areas().CurrentNumber();
  Answer a = MaxPlu("  2  7", {}, {}, {}, T("neo"));
  EXPECT_EQ(rt().Areas().Find("fisk_slo"), nullptr) << "opened by the call, and closed again";
  EXPECT_NE(rt().Areas().Find("fisk_urz"), nullptr);
  EXPECT_EQ(devices.RecNo(), 4);
  EXPECT_EQ(devices.Order(), 1);
  EXPECT_EQ(rt().Areas().CurrentNumber(), area);
  // The POS module's name limits are read from that record.
  EXPECT_EQ(a.name.AsNumber(), 0);
}

TEST_F(PluLimitsTest, WithoutItsTablesNothingIsLimited) {
  std::filesystem::remove(data_.File("fisk_urz.dbf"));
  rt().Areas().Select(4);
  Answer a = MaxPlu("  1  1", {}, {}, {}, {}, T("caller's"));
  EXPECT_EQ(rt().Areas().CurrentNumber(), 4);
  EXPECT_EQ(Shown(a), "0 0 caller's \":\"");
  EXPECT_EQ(SetName(a.characters), "none");
  EXPECT_EQ(rt().Areas().Find("fisk_slo"), nullptr) << "not left open";
}

TEST_F(PluLimitsTest, NovitusModelsHaveTheirLimits) {
  struct Row {
    Value model;
    double name, plu;
    const char* set;
  };
  const Row rows[] = {{T("frg"), 18, 2300, "E"},   {T("frg2"), 18, 1000, "E"},   {T("  frg2+  "), 18, 2300, "E"},
                      {T("fsta"), 18, 16000, "E"}, {T("syst"), 18, 22000, "E"}, {T("ps300"), 18, 16000, "E"},
                      {N(1), 18, 1000, "E"},       {Value(), 18, 1000, "E"},   {T("FRG"), 0, 0, "none"},
                      {T(""), 0, 0, "none"}};
  for (const Row& row : rows) {
    std::vector<runtime::Cell> out{std::make_shared<Value>(), std::make_shared<Value>(), std::make_shared<Value>()};
    Params p;
    p.Add(row.model);
    for (const runtime::Cell& c : out) p.AddReference(c);
    EXPECT_TRUE(Run("GET_PL_NVS", p).Result().AsLogical());
    std::string shown = runtime::Display(row.model, true);
    EXPECT_EQ(out[0]->AsNumber(), row.name) << shown;
    EXPECT_EQ(out[1]->AsNumber(), row.plu) << shown;
    EXPECT_EQ(SetName(*out[2]), row.set) << shown;
  }
}

TEST_F(PluLimitsTest, PosModuleModelsArePartsOfTheirList) {
  const std::pair<Value, bool> rows[] = {{T("neo"), true},   {T("bin"), true},  {T("revox"), true}, {T("neoxl"), true},
                                         {T("o;ne"), true},  {T("     "), false}, {T("NEO"), false}, {T("thermal"), false},
                                         {Value(), false}};
  for (const auto& [model, posModule] : rows) {
    EXPECT_EQ(CallExport("CZY_POSDLL", {model}).AsLogical(), posModule) << runtime::Display(model, true);
  }
}

TEST_F(PluLimitsTest, LineSeekFindsTheFirstRecordInOrderForWhichTheConditionHolds) {
  rt().Data().Open(rt().Areas(), "fisk_slo");
  runtime::WorkArea& dictionary = rt().Areas().Require("fisk_slo");
  int field = dictionary.FieldIndex("kodslo");
  std::string sought;
  Value condition = Value::OfBlock({"{|| left(kodslo, len(x)) == x}", [&](const std::vector<Value>&) {
                                      return Value::Logical(dictionary.FieldGet(field).AsText().rfind(sought, 0) == 0);
                                    }});
  for (auto [prefix, record] : {std::pair{"  1  1", 2L}, {"  2", 3L}, {"  2  4", 1L}, {"  5", 7L}}) {
    sought = prefix;
    EXPECT_EQ(CallExport("LINESEEK", {condition}).AsLogical(), record != 7) << prefix;
    EXPECT_EQ(dictionary.RecNo(), record) << prefix;
  }
}

}  // namespace
}  // namespace zuvtill::testing
