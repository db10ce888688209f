// The till library as the host binds it, and the stand-ins behind it: the
// Polish-letter codings, the lookups in the data directory's tables, table
// states and scopes, and the record of calls with their references.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "host/till_library.h"
#include "runtime/code_page.h"
#include "runtime/host_error.h"
#include "runtime/work_areas.h"
#include "system_code_pages.h"

namespace zuvtill::testing {
namespace {

using runtime::Params;

class HostLibrariesTest : public RuntimeTest {
 protected:
  static void SetUpTestSuite() { till_ = new host::TillLibrary(host::TillLibraryBesideProgram()); }
  static void TearDownTestSuite() {
    runtime::Runtime::Get().Reset();
    delete till_;
  }

  void SetUp() override {
    RuntimeTest::SetUp();
    rt().Functions().SetLookup([](std::string_view name) { return till_->Find(name); });
  }

  // Calls an export with the arguments, each by value.
  Value CallExport(const char* name, std::vector<Value> args = {}) {
    runtime::HostFunction fn = till_->Find(name);
    EXPECT_NE(fn, nullptr) << name;
    return fn ? runtime::Call(fn, std::move(args)) : Value();
  }

  static host::TillLibrary* till_;
};
host::TillLibrary* HostLibrariesTest::till_ = nullptr;

TEST_F(HostLibrariesTest, OnlyTheBoundLibrariesExportsAreFound) {
  for (const char* name : {"L2M", "KOM3", "_PL", "JM_NAZWA", "CWSTART", "DW_PSN_KASA", "KL_SLODAN"}) {
    EXPECT_NE(till_->Find(name), nullptr) << name;
  }
  // C library functions, lower-case names and runtime internals are not host functions.
  for (const char* name : {"MALLOC", "malloc", "EXIT", "DBFOPEN", "KOM3 ", ""}) {
    EXPECT_EQ(till_->Find(name), nullptr) << name;
  }
}

TEST_F(HostLibrariesTest, PolishLetterCodingsShareOneOrderAndLength) {
  const std::string letters = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
  std::string codings[5];
  for (int n = 1; n <= 4; ++n) codings[n] = CallExport("DAJ_POL", {N(n)}).AsText();
  EXPECT_EQ(codings[2], InSystemCodePage(letters, 852));
  EXPECT_EQ(codings[3], InSystemCodePage(letters, 1250));
  EXPECT_EQ(codings[4], "ACELNOSZZacelnoszz");
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(codings[n].size(), 18u) << n;
  EXPECT_EQ(CallExport("DAJ_POL", {N(5)}).AsText(), "");

  // L2M converts the file coding into coding 1 through _RT; other bytes stay.
  std::string text = runtime::Utf8ToCp852("Zażółć 1 gęślą");
  std::string expected = CallExport("_RT", {T(text), T(codings[2]), T(codings[1])}).AsText();
  EXPECT_EQ(CallExport("L2M", {T(text)}).AsText(), expected);
  EXPECT_EQ(expected.substr(0, 2), "Za");
  EXPECT_EQ(expected[2], '\xA7');  // ż in Mazovia
  EXPECT_EQ(CallExport("L2M", {N(3)}).AsNumber(), 3);
  EXPECT_EQ(CallExport("_PL", {T("ab\xA5")}).AsText(), "AB\xA4");
}

TEST_F(HostLibrariesTest, LookupsAnswerFromTheDataDirectorysTables) {
  TempDirectory dir;
  MakeTable(dir.File("vat.dbf"), {{"SYMBOL", 'C', 4, 0, 0}, {"PROCENT", 'N', 6, 2, 0}},
            {{T("23"), N(23)}, {T("8"), N(8)}, {T("ZW"), N(0)}});
  MakeTable(dir.File("fiski.dbf"), {{"NR_URZ", 'N', 3, 0, 0}, {"SYMBOL", 'C', 4, 0, 0}, {"OZNACZ", 'C', 3, 0, 0}},
            {{N(1), T("23"), T("A")}, {N(1), T("8"), T(" B ")}, {N(2), T("23"), T("C")}});
  MakeTable(dir.File("jm.dbf"), {{"KOD", 'C', 3, 0, 0}, {"NAZWA", 'C', 10, 0, 0}}, {{T("01"), T("szt.")}});
  rt().Data().SetPath(dir.path());

  EXPECT_EQ(CallExport("GETPROCPTU", {T("23 ")}).AsNumber(), 23);
  EXPECT_EQ(CallExport("GETPROCPTU", {T("99")}).AsNumber(), 0);
  EXPECT_EQ(CallExport("FISKI", {N(1), T("23"), Value(), Value::Logical(true)}).AsText(), "A");
  EXPECT_EQ(CallExport("FISKI", {N(1), T("8")}).AsText(), "B");  // trimmed by default
  EXPECT_EQ(CallExport("FISKI", {N(1), T("8"), Value(), Value::Logical(false)}).AsText(), " B ");
  EXPECT_EQ(CallExport("FISKI", {N(2), T("23")}).AsText(), "C");
  EXPECT_EQ(CallExport("FISKI", {N(3), T("23")}).AsText(), "");
  EXPECT_EQ(CallExport("JM_NAZWA", {T("01")}).AsText(), "szt.");
  EXPECT_EQ(CallExport("JM_NAZWA", {T("02")}).AsText(), "");
  EXPECT_EQ(CallExport("E_ROUND", {N(1.005), N(2)}).AsNumber(), 1.01);
  EXPECT_EQ(CallExport("E_INT", {N(-12.99)}).AsNumber(), -12);
}

TEST_F(HostLibrariesTest, TableStatesAreSavedAndRestoredWithScopesAndSelection) {
  TempDirectory dir;
  MakeTable(dir.File("fisk_urz.dbf"), {{"KOD", 'C', 8, 0, 0}, {"MAXPLU", 'N', 6, 0, 0}},
            {{T("0101  1"), N(100)}, {T("0101  2"), N(200)}, {T("0202  1"), N(300)}});
  MakeTable(dir.File("fisk_slo.dbf"), {{"KODSLO", 'C', 8, 0, 0}}, {{T("  1  1")}});
  dir.Write("tables.ini", "[fisk_urz]\n1 = kod\n5 = STR(maxplu, 6)\n");
  rt().Data().SetPath(dir.path());

  EXPECT_FALSE(CallExport("_TEST_OPEN", {T("FISK_URZ")}).AsLogical());
  EXPECT_TRUE(CallExport("_OPEN_SET", {T("FISK_URZ | FISK_SLO"), T("SS"), Value::Logical(true)}).AsLogical());
  EXPECT_TRUE(CallExport("_TEST_OPEN", {T("fisk_slo")}).AsLogical());
  EXPECT_FALSE(CallExport("_OPEN_SET", {T("NO_SUCH"), T("SS"), Value::Logical(true)}).AsLogical());

  runtime::WorkAreas& areas = rt().Areas();
  areas.Select("FISK_SLO");
  runtime::WorkArea& urz = areas.Require("FISK_URZ");
  urz.Seek(T("0101  2"));

  // ZAP_OBSZAR(@state, "FISK_URZ", 5) keeps the state and makes order 5 current.
  Params save;
  save.AddReference(std::make_shared<Value>());
  save.Add(T("FISK_URZ"));
  save.Add(N(5));
  till_->Find("ZAP_OBSZAR")(save);
  ASSERT_TRUE(save.Get(1).IsArray());
  EXPECT_EQ(areas.Current(), &urz);
  EXPECT_EQ(urz.Order(), 5);

  CallExport("CMXSETSCOPE", {N(0), T("   200")});
  EXPECT_EQ(CallExport("CMXKEYCOUNT").AsNumber(), 2);
  urz.GoTop();

  CallExport("ODTW_OBSZAR", {save.Get(1)});
  EXPECT_EQ(urz.Order(), 1);
  EXPECT_EQ(urz.RecNo(), 2);
  EXPECT_EQ(urz.KeyCount(), 3);
  EXPECT_EQ(areas.Current()->Alias(), "FISK_SLO");
  EXPECT_TRUE(CallExport("_CLOSE_ONLY", {T("FISK_SLO")}).AsLogical());
  EXPECT_FALSE(CallExport("_TEST_OPEN", {T("FISK_SLO")}).AsLogical());
}

TEST_F(HostLibrariesTest, StandInsRecordTheirCallsAndAnswerWhatIsSet) {
  runtime::StandIns& recorder = rt().Recorder();
  auto time = std::make_shared<Value>(T("?"));
  auto date = std::make_shared<Value>(T("?"));

  // Unset, a device function answers 0 and leaves the references alone.
  Params first;
  first.AddReference(time);
  first.Add(T("byvalue"));
  till_->Find("CWGETTIME")(first);
  EXPECT_EQ(first.Result().AsNumber(), 0);
  EXPECT_EQ(time->AsText(), "?");

  recorder.SetAnswer("CWGETTIME", N(5));
  recorder.SetWrite("CWGETTIME", 1, T("12:30"));
  recorder.SetWrite("CWGETTIME", 2, T("12:31"));
  Params second;
  second.AddReference(time);
  second.Add(T("byvalue"));
  till_->Find("CWGETTIME")(second);
  EXPECT_EQ(second.Result().AsNumber(), 5);
  EXPECT_EQ(time->AsText(), "12:30");
  EXPECT_EQ(second.Get(2).AsText(), "byvalue");  // only references are written

  CallExport("KOM3", {T("Bl`a`d"), N(0), N(0), N(3)});
  EXPECT_FALSE(CallExport("DECYZJA", {Value::Logical(false), T("Czy?")}).AsLogical());
  recorder.SetAnswer("DECYZJA", Value::Logical(true));
  EXPECT_TRUE(CallExport("DECYZJA", {Value::Logical(false), T("Czy?")}).AsLogical());

  std::vector<std::string> calls;
  for (const runtime::RecordedCall& c : recorder.TakeCalls()) calls.push_back(c.Describe());
  EXPECT_EQ(calls, (std::vector<std::string>{"CWGETTIME(@\"?\", \"byvalue\")", "CWGETTIME(@\"?\", \"byvalue\")",
                                             "KOM3(\"Bl`a`d\", 0, 0, 3)", "DECYZJA(.F., \"Czy?\")",
                                             "DECYZJA(.F., \"Czy?\")"}));

  recorder.SetRaise("CWSTART", "port zaj\xA9ty");
  EXPECT_THROW(CallExport("CWSTART", {N(1), N(9600)}), runtime::HostError);
  EXPECT_EQ(recorder.Calls().back().name, "CWSTART");  // recorded before it raised
}

}  // namespace
}  // namespace zuvtill::testing
