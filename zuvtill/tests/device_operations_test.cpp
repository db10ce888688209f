// The device operations of libzuvtill.so, bound as the host binds it, for
// the family named by ZUVTILL_FAMILY (the build's own family when unset;
// the other family's library lives in bin/<family>/): which device-module
// function each export reaches in either work mode, with which arguments,
// which of them by reference, and what comes back; the device start and
// the port settings; the device symbols.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "till_fixture.h"
#include "runtime/host_error.h"

namespace zuvtill::testing {
namespace {

using runtime::Params;

class DeviceOperationsTest : public TillTest {
 protected:
  static void SetUpTestSuite() {
    TillTest::SetUpTestSuite();
    Params none;
    till_->Find("DF_PARPORT")(none);
    settingsAtLoad_ = runtime::Display(none.Result());
  }

  // The family's device function of that name: "START" is CWSTART or DWSTART.
  std::string Device(const std::string& name) const { return (Elzab() ? "CW" : "DW") + name; }

  static std::string Settings(Value elements = Numbers({})) {
    return runtime::Display(CallExport("DF_PARPORT", {std::move(elements)}));
  }

  static std::string settingsAtLoad_;
};
std::string DeviceOperationsTest::settingsAtLoad_;

// Which device-module function an export reaches when argument n is the
// number n: the call as recorded ("" for none) under the ELZAB and the
// POSNET family, while the device is really operated (work mode 2). Under
// work mode 1 the operations of the work-mode rule reach no module; the
// others do the same in either work mode.
enum class Rule { WorkMode, Always };
struct Row {
  const char* name;
  int arguments;
  const char* elzab;
  const char* posnet;
  Rule rule = Rule::WorkMode;
  const char* elzabInactive = nullptr;  // the inactive counterparts,
  const char* posnetInactive = nullptr;  // called directly: -3, no call
};

const Row kRows[] = {
    {"FDDISPCONS", 2, "CWDISPCONS(1, 2)", "DWDISPCONS(1, 2)", Rule::WorkMode, "CFDISPCONS", "DDDISPCONS"},
    {"FDBEGINTIC", 1, "CWBEGINTIC(1)", "DWBEGINTIC(1)", Rule::WorkMode, "CFBEGINTIC", "DDBEGINTIC"},
    {"FDENDTICKET", 15, "CWENDTICKE(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15)",
     "DWENDTICKE(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15)", Rule::WorkMode, "CFENDTICKE", "DDENDTICKE"},
    {"FDSTORNOTI", 0, "CWSTORNOTI()", "DWSTORNOTI()", Rule::WorkMode, "CFSTORNOTI", "DDSTORNOTI"},
    {"FDBEGINSHI", 1, "CWBEGINSHI(1)", "DWBEGINSHI(1)", Rule::WorkMode, "CFBEGINSHI", "DDBEGINSHI"},
    {"FDPARMAXSH", 1, "CWPARMAXSH(@1)", "DWPARMAXSH(@1)", Rule::WorkMode, "CFPARMAXSH", "DDPARMAXSH"},
    {"FDSHIFTEND", 1, "CWSHIFTEND(1)", "DWSHIFTEND()", Rule::WorkMode, "CFSHIFTEND", "DDSHIFTEND"},
    {"FDDEFDRAWE", 2, "CWDEFDRAWE(1, 2)", "DWDEFDRAWE(1, 2)", Rule::WorkMode, "CFDEFDRAWE", "DDDEFDRAWE"},
    {"FDDRAWEROP", 2, "CWDRAWEROP(1, 2)", "DWDRAWEROP(1)", Rule::WorkMode, "CFDRAWEROP", "DDDRAWEROP"},
    // Its mode, argument 4, is 4 here: it counts as 1.
    {"FDPARDRAWE", 4, "", "", Rule::Always, "CFPARDRAWE", "DDPARDRAWE"},
    {"FDGETTIME", 2, "CWGETTIME(@1, @2)", "DWGETTIME(@1, @2)", Rule::WorkMode, "CFGETTIME", "DDGETTIME"},
    {"FDGETDATE", 3, "CWGETDATE(@1, @2, @3)", "DWGETDATE(@1, @2, @3)", Rule::WorkMode, "CFGETDATE", "DDGETDATE"},
    {"FDGETVERSI", 2, "CWGETVERSI(@1, @2)", "DWGETVERSI(@1, @2)", Rule::WorkMode, "CFGETVERSI", "DDGETVERSI"},
    {"FDGETCOEFF", 2, "CWGETCOEFF(@1, @2)", "DWGETCOEFF(@1, @2)", Rule::WorkMode, "CFGETCOEFF", "DDGETCOEFF"},
    {"FDGETLASTT", 2, "CWGETLASTT(@1, 2)", "DWGETLASTT(@1)", Rule::WorkMode, "CFGETLASTT", "DDGETLASTT"},
    {"FDGETTAX", 6, "CWGETTAX(@1, @2, @3, @4, @5, @6)", "DWGETTAX(@1, @2, @3, @4, @5, @6)", Rule::WorkMode,
     "CFGETTAX", "DDGETTAX"},
    {"FDPARLIBVE", 3, "CWPARLIBVE(@1, @2, @3)", "DWPARLIBVE(@1, @2, @3)", Rule::WorkMode, "CFPARLIBVE", "DDPARLIBVE"},
    {"FDPARPLU", 3, "CWPARPLU(@1, @2, @3)", "DWPARPLU(@1, @2, @3)", Rule::WorkMode, "CFPARPLU", "DDPARPLU"},
    {"FDSTATMODE", 1, "CWSTATMODE(@1)", "DWSTATMODE(@1)", Rule::WorkMode, "CFSTATMODE", "DDSTATMODE"},
    {"FDSTATSHIF", 1, "CWSTATSHIF(@1)", "DWSTATSHIF(@1)", Rule::WorkMode, "CFSTATSHIF", "DDSTATSHIF"},
    {"FDSTATRECE", 1, "CWSTATRECE(@1)", "DWSTATRECE(@1)", Rule::WorkMode, "CFSTATRECE", "DDSTATRECE"},
    {"FDSTATNOPA", 1, "CWSTATNOPA(@1)", "DWSTATNOPA(@1)", Rule::WorkMode, "CFSTATNOPA", "DDSTATNOPA"},
    {"FDPARPOS", 4, "CWPARPOS(@1, @2, @3, @4)", "DWPARPOS(@1, @2, @3, @4)", Rule::WorkMode, "CFPARPOS", "DDPARPOS"},
    {"FDLINETICKET", 7, "CWLINETICK(1, 2, 3, 4, 5, 6, 7)", "DWLINETICK(1, 2, 3, 4, 5, 6, 7)", Rule::WorkMode,
     "CFLINETICK", "DDLINETICK"},
    {"FDDEFPOS", 3, "CWDEFPOS(1, 2, 3)", "DWDEFPOS(1, 2, 3)", Rule::WorkMode, "CFDEFPOS", "DDDEFPOS"},
    {"FDPARDEFPL", 0, "CWPARDEFPL()", "DWPARDEFPL()", Rule::WorkMode, "CFPARDEFPL", "DDPARDEFPL"},
    {"FDBEDEFPLU", 0, "CWBEDEFPLU()", "DWBEDEFPLU()", Rule::WorkMode, "CFBEDEFPLU", "DDBEDEFPLU"},
    {"FDENDDEFPL", 0, "CWENDDEFPL()", "DWENDDEFPL()", Rule::WorkMode, "CFENDDEFPL", "DDENDDEFPL"},
    {"FDDEFPLU", 3, "CWDEFPLU(1, 2, 3)", "DWDEFPLU(1, 2, 3)", Rule::WorkMode, "CFDEFPLU", "DDDEFPLU"},
    {"FDERROR", 0, "CWERROR()", "DWERROR()", Rule::WorkMode, "CFERROR", "DDERROR"},
    {"FDPARMESSA", 3, "CWPARMESSA(1, @2, @3)", "DWPARMESSA(1, @2, @3)", Rule::WorkMode, "CFPARMESSA", "DDPARMESSA"},
    // Its work mode, argument 5, is 5 here: the device is started whatever
    // the settings (and not kept, as the start does not answer 0).
    {"FDSTART", 5, "CWSTART(1, 2)", "DWSTART(1, 2)", Rule::Always, "CFSTART", "DDSTART"},
    {"FDPARFOOTE", 3, "CWPARFOOTE(@1, @2, @3)", "DWPARFOOTE(@1, @2, @3)", Rule::WorkMode, "CFPARFOOTE", "DDPARFOOTE"},
    {"FDDEFFOOTE", 1, "CWDEFFOOTE(1)", "DWDEFFOOTE(1)", Rule::WorkMode, "CFDEFFOOTE", "DDDEFFOOTE"},
    {"FDDISPCLOCK", 0, "CWDISPCLOCK()", "DWDISPCLOCK()", Rule::WorkMode, "CFDISPCLOCK", "DDDISPCLOCK"},
    {"FDPARHEADE", 4, "", ""},
    {"FDDEFHEADE", 1, "", ""},
    {"WD_HEADLINE", 0, "", ""},
    // The companions: the family alone decides. A device symbol that is no
    // text (2, 4) is the fiscal printer.
    {"WD_FOOTLINE", 1, "CW_FOOTLINE(1)", "DW_FOOTLINE()", Rule::Always},
    {"WD_PISZERR", 2, "CW_PISZERR(1)", "DW_PISZERR(1)", Rule::Always},
    {"WD_ERRWPR", 4, "CW_ERRWPR(1, 2, 3)", "DW_ERRWPR(1, 2, 3)", Rule::Always},
    {"WD_CHAR", 0, "CW_CHAR()", "DW_CHAR()", Rule::Always},
    // The POSNET operations reach the POSNET module in either family.
    {"PSN_END", 0, "", "DW_PSN_END()", Rule::WorkMode, nullptr, "DD_PSN_END"},
    {"PSN_GLOS", 1, "DW_PSN_GLOS(1)", "DW_PSN_GLOS(1)", Rule::WorkMode, nullptr, "DD_PSN_GLOS"},
    {"PSN_KASA", 1, "DW_PSN_KASA(1)", "DW_PSN_KASA(1)", Rule::WorkMode, nullptr, "DD_PSN_KASA"},
    {"PSN_ZMIANA", 2, "DW_PSN_ZMIANA(1, 2)", "DW_PSN_ZMIANA(1, 2)", Rule::WorkMode, nullptr, "DD_PSN_ZMIANA"},
};

// The positions that a recorded call shows by reference.
std::vector<int> ReferencesIn(const std::string& call) {
  std::vector<int> positions;
  static const std::regex kReference("@(\\d+)");
  for (std::sregex_iterator it(call.begin(), call.end(), kReference), end; it != end; ++it) {
    positions.push_back(std::stoi((*it)[1]));
  }
  return positions;
}

TEST_F(DeviceOperationsTest, EveryExportReachesItsFunctionWithItsArgumentsAndAnswersItsResult) {
  for (double mode : {1, 2}) {
    for (const Row& row : kRows) {
      SCOPED_TRACE(std::string(row.name) + " in work mode " + std::to_string(int(mode)));
      SetWorkMode(mode);
      std::string expected = (row.rule == Rule::Always || mode > 1) ? (Elzab() ? row.elzab : row.posnet) : "";
      std::string callee = expected.substr(0, expected.find('('));
      Value answer = T("answer of " + callee);
      if (!callee.empty()) {
        rt().Recorder().SetAnswer(callee, answer);
        for (int n = 1; n <= row.arguments; ++n) rt().Recorder().SetWrite(callee, n, T("written"));
      }

      // Every argument by reference: the host's variable is written where
      // the call shows a reference, and only there.
      std::vector<runtime::Cell> variables;
      Params byReference;
      for (int n = 1; n <= row.arguments; ++n) {
        variables.push_back(std::make_shared<Value>(N(n)));
        byReference.AddReference(variables.back());
      }
      Params done = Run(row.name, byReference);
      EXPECT_EQ(Calls(), expected);
      EXPECT_EQ(runtime::Display(done.Result()), runtime::Display(callee.empty() ? N(-3) : answer));
      std::vector<int> written = ReferencesIn(expected);
      for (int n = 1; n <= row.arguments; ++n) {
        bool reaches = std::find(written.begin(), written.end(), n) != written.end();
        EXPECT_EQ(runtime::Display(*variables[n - 1]), reaches ? "written" : std::to_string(n)) << "argument " << n;
      }

      // Every argument by value: handed on the same way, references included.
      std::vector<Value> values;
      for (int n = 1; n <= row.arguments; ++n) values.push_back(N(n));
      EXPECT_EQ(runtime::Display(CallExport(row.name, values)), runtime::Display(callee.empty() ? N(-3) : answer));
      EXPECT_EQ(Calls(), expected);

      // The inactive counterparts answer -3 and touch nothing.
      for (const char* inactive : {row.elzabInactive, row.posnetInactive}) {
        if (!inactive) continue;
        Params untouched = Run(inactive, byReference);
        EXPECT_EQ(runtime::Display(untouched.Result()), "-3") << inactive;
        EXPECT_EQ(Calls(), "") << inactive;
      }
      rt().Recorder().Reset();
    }
  }
}

TEST_F(DeviceOperationsTest, MissingArgumentsAreHandedOnAsNil) {
  SetWorkMode(2);
  CallExport("FDGETLASTT");
  CallExport("FDPARMESSA", {T("x")});
  CallExport("WD_ERRWPR", {N(109)});
  EXPECT_EQ(Calls(), Elzab() ? "CWGETLASTT(@NIL, NIL); CWPARMESSA(\"x\", @NIL, @NIL); CW_ERRWPR(109, NIL, NIL)"
                             : "DWGETLASTT(@NIL); DWPARMESSA(\"x\", @NIL, @NIL); DW_ERRWPR(109, NIL, NIL)");
}

TEST_F(DeviceOperationsTest, AFreshLibraryDoesNotOperateTheDevice) {
  EXPECT_EQ(settingsAtLoad_, "{1, 9600, 5, 1}");
  EXPECT_FALSE(CallExport("WD_DRFIS").AsLogical());
  EXPECT_EQ(CallExport("FDBEGINTIC", {T("anything")}).AsNumber(), -3);
  EXPECT_EQ(Calls(), "");
}

TEST_F(DeviceOperationsTest, TheDeviceStartKeepsThePortSettingsOnlyWhenItAnswered0) {
  const Value kStopped = Numbers({N(6), N(4800), N(2), N(1)});
  const Value kRunning = Numbers({N(6), N(4800), N(2), N(3)});
  struct Case {
    Value settingsBefore;
    std::vector<Value> arguments;
    Value startAnswers;
    std::string result, settingsAfter;
    bool callsTheDevice;
  } cases[] = {
      {kStopped, {T("x"), N(2), N(19200), N(7), N(2)}, N(0), "0", "{2, 19200, 7, 2}", true},
      {kStopped, {T("x"), N(2), N(19200), N(7), N(2)}, N(5), "5", "{6, 4800, 2, 1}", true},
      {kRunning, {T("x"), N(2), N(19200), N(7), N(2)}, N(5), "5", "{6, 4800, 2, 3}", true},
      // Elements that are not numbers keep their settings.
      {kStopped, {T("x"), N(3), Value(), T("7"), N(4)}, N(0), "0", "{3, 4800, 2, 4}", true},
      // An answer that is not the number 0 is no start.
      {kStopped, {T("x"), N(2), N(19200), N(7), N(2)}, T("0"), "0", "{6, 4800, 2, 1}", true},
      // Work mode 1, none or not a number: the settings at load, the device stopped.
      {kRunning, {T("x"), N(2), N(19200), N(7), N(1)}, N(0), "-3", "{1, 9600, 5, 1}", false},
      {kRunning, {T("x"), N(2), N(19200), N(7)}, N(0), "-3", "{1, 9600, 5, 1}", false},
      {kRunning, {T("x"), N(2), N(19200), N(7), T("2")}, N(0), "-3", "{1, 9600, 5, 1}", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(runtime::Display(Value::OfArray(c.arguments), true) + " after " + runtime::Display(c.settingsBefore));
    Settings(c.settingsBefore);
    rt().Recorder().SetAnswer(Device("START"), c.startAnswers);
    EXPECT_EQ(runtime::Display(CallExport("FDSTART", c.arguments)), c.result);
    EXPECT_EQ(Calls(), c.callsTheDevice ? Device("START") + "(\"x\", " + runtime::Display(c.arguments[1]) + ")" : "");
    EXPECT_EQ(Settings(), c.settingsAfter);
  }
}

TEST_F(DeviceOperationsTest, AfterAStartTheOperationsReachTheDeviceUntilAStartWithWorkMode1) {
  CallExport("FDSTART", {N(1), N(1), N(9600), N(5), N(2)});
  EXPECT_TRUE(CallExport("WD_DRFIS").AsLogical());
  CallExport("FDGETTIME");
  CallExport("FDSTART", {N(1), N(1), N(9600), N(5), N(1)});
  EXPECT_EQ(CallExport("FDGETTIME").AsNumber(), -3);
  EXPECT_EQ(Calls(), Device("START(1, 1)") + "; " + Device("GETTIME(@NIL, @NIL)"));
}

TEST_F(DeviceOperationsTest, TheDrawerQueryFollowsItsModeNotTheWorkMode) {
  for (double workMode : {1, 2}) {
    SetWorkMode(workMode);
    for (Value mode : {N(0), N(1), N(2), N(3), N(4), N(-1), Value(), T("2")}) {
      SCOPED_TRACE(runtime::Display(mode, true) + " in work mode " + std::to_string(int(workMode)));
      bool device = mode.IsNumber() && (mode.AsNumber() == 2 || mode.AsNumber() == 3);
      rt().Recorder().SetAnswer(Device("PARDRAWE"), N(7));
      EXPECT_EQ(CallExport("FDPARDRAWE", {N(1), N(2), N(3), mode}).AsNumber(), device ? 7 : -3);
      EXPECT_EQ(Calls(), device ? Device("PARDRAWE(1, @2, @3)") : "");
    }
  }
}

TEST_F(DeviceOperationsTest, ACollectorsErrorsGoToTheCollectorModuleInEitherWorkMode) {
  for (double mode : {1, 2}) {
    SetWorkMode(mode);
    CallExport("WD_PISZERR", {T("b\xB3\xA5""d"), T(" 10  2")});
    CallExport("WD_PISZERR", {T("e1"), T(" 10")});
    CallExport("WD_ERRWPR", {N(5), T("k"), T("d"), T(" 10  1")});
    CallExport("WD_PISZERR", {T("e2")});
    CallExport("WD_PISZERR", {T("e3"), T(" 1")});
    CallExport("WD_ERRWPR", {N(6), T("k"), T("d"), T("  1  1")});
    EXPECT_EQ(Calls(), "KL_PISZERR(\"b\xB3\xA5""d\"); KL_PISZERR(\"e1\"); KL_ERRWPR(5, \"k\", \"d\"); " +
                           Device("_PISZERR(\"e2\"); ") + Device("_PISZERR(\"e3\"); ") +
                           Device("_ERRWPR(6, \"k\", \"d\")"));
  }
}

TEST_F(DeviceOperationsTest, ErrorsOfTheDeviceModuleReachTheHost) {
  SetWorkMode(2);
  rt().Recorder().SetRaise(Device("GETTIME"), "port zaj\xA9ty");
  EXPECT_THROW(CallExport("FDGETTIME"), runtime::HostError);
  rt().Recorder().SetRaise(Device("START"), "port zaj\xA9ty");
  EXPECT_THROW(CallExport("FDSTART", {N(1), N(4), N(19200), N(5), N(2)}), runtime::HostError);
  EXPECT_EQ(Settings(), "{1, 9600, 5, 2}");
}

TEST_F(DeviceOperationsTest, PortSettingsTakeTheNumbersGivenAndAnswerThoseBefore) {
  EXPECT_EQ(Settings(Numbers({Value(), N(19200), Value(), N(2)})), "{1, 9600, 5, 1}");
  EXPECT_TRUE(CallExport("WD_DRFIS").AsLogical());
  EXPECT_EQ(Settings(Numbers({N(1), N(9600), N(5), N(1)})), "{1, 19200, 5, 2}");
  EXPECT_FALSE(CallExport("WD_DRFIS").AsLogical());
  // No array, a short one, texts: nothing changes.
  EXPECT_EQ(runtime::Display(CallExport("DF_PARPORT")), "{1, 9600, 5, 1}");
  EXPECT_EQ(Settings(Numbers({N(3)})), "{1, 9600, 5, 1}");
  EXPECT_EQ(Settings(Numbers({T("2"), T("4800"), Value::Logical(true), T("2"), N(9)})), "{3, 9600, 5, 1}");
  EXPECT_EQ(Settings(), "{3, 9600, 5, 1}");
}

TEST_F(DeviceOperationsTest, DeviceSymbolsAreComparedWhole) {
  EXPECT_EQ(CallExport("_DFSYMBOL").AsText(), FamilyUnderTest());
  const char* kinds[] = {"K_PS2000", "K_ENTRY", "K_SYS600", "K_SHARP", "K_DATECS", "K_POSNET", "K_NOVITUS"};
  // Symbol, then the kind that is true for it (none for -1).
  const std::pair<Value, int> cases[] = {
      {T("  2  1"), 0}, {T("  2  2"), 1},  {T("  2  3"), 0},  {T("  2  4"), 2},  {T("  2  5"), 3},
      {T("  2  6"), 4}, {T("  2  7"), 5},  {T("  2  8"), 6},  {T("  2  2 "), -1}, {T("2  2"), -1},
      {T("  2  9"), -1}, {T("  1  1"), -1}, {N(2), -1},       {Value(), -1},
  };
  for (const auto& [symbol, kind] : cases) {
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(CallExport(kinds[k], {symbol}).AsLogical(), k == kind) << kinds[k] << runtime::Display(symbol, true);
    }
  }
  EXPECT_TRUE(CallExport("WD_OK_WIN", {T("  1  1")}).AsLogical());
  for (Value symbol : {T(" 10  1"), T("  1  1 "), T("  2  7"), Value()}) {
    EXPECT_FALSE(CallExport("WD_OK_WIN", {symbol}).AsLogical()) << runtime::Display(symbol, true);
  }
}

}  // namespace
}  // namespace zuvtill::testing
