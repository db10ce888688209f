// Stand-in of the host library zuvcore. What reaches the user (messages,
// notices, status lines, report lines, the viewer, questions, progress) is
// recorded with its arguments; the lookups answer from the data directory;
// every function answers what a test or script has set, when it has.
#include "hostlibs/zuvcore.h"

#include <cerrno>
#include <cmath>

#include "hostlibs/data_lookup.h"
#include "hostlibs/process_name.h"
#include "runtime/host_error.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

using namespace zuvtill::runtime;
using zuvtill::hostlibs::FieldReader;
using zuvtill::hostlibs::FirstMatch;
using zuvtill::hostlibs::Trimmed;

namespace {

Runtime& Rt() { return Runtime::Get(); }

// Records the call; answers true when a set answer was given.
bool Recorded(const char* name, Params& p) { return Rt().Recorder().Answer(name, p); }
bool Overridden(const char* name, Params& p) { return Rt().Recorder().AnswerUnrecorded(name, p); }

// Windows and progress displays share one handle counter.
int NextHandle() {
  static int handle = 0;
  return ++handle;
}

// The Polish letters Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż in each coding:
// 1 Mazovia, 2 code page 852, 3 Windows-1250, 4 the letters without their
// diacritics (so coding 4 cannot be converted back toward the others).
const char* const kPolishLetters[] = {
    "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7",
    "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE",
    "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF",
    "ACELNOSZZacelnoszz",
};

}  // namespace

ZUV_EXPORT void KOM3(Params& p) { Recorded("KOM3", p); }

ZUV_EXPORT void KOM4(Params& p) {
  if (!Recorded("KOM4", p)) p.SetResult(Value::Number(NextHandle()));
}

ZUV_EXPORT void ZWIN(Params& p) { Recorded("ZWIN", p); }
ZUV_EXPORT void STATLINE(Params& p) { Recorded("STATLINE", p); }
ZUV_EXPORT void RAPORT(Params& p) { Recorded("RAPORT", p); }
ZUV_EXPORT void MK_VIEWER(Params& p) { Recorded("MK_VIEWER", p); }

// The user's answer is what the embedded host is set to answer; no
// answer set is a "no".
ZUV_EXPORT void DECYZJA(Params& p) {
  if (!Recorded("DECYZJA", p)) p.SetResult(Value::Logical(false));
}

ZUV_EXPORT void E_FILEDELETE(Params& p) {
  if (Recorded("E_FILEDELETE", p)) return;
  p.SetResult(Value::Number(p.IsText(1) ? Rt().Files().Erase(p.Get(1).AsText()) : -1));
}

// The process's name as the system knows it, in upper case.
ZUV_EXPORT void NAZWA_PROCESU(Params& p) {
  if (!Overridden("NAZWA_PROCESU", p)) p.SetResult(Value::Text(Upper(zuvtill::hostlibs::ProcessName())));
}

// vat.dbf: symbol C, procent N. An unknown symbol has the rate 0.
ZUV_EXPORT void GETPROCPTU(Params& p) {
  if (Overridden("GETPROCPTU", p)) return;
  std::string symbol = Upper(AllTrim(p.Text(1)));
  Value rate = FirstMatch("vat", [&](const FieldReader& f) { return Upper(Trimmed(f("symbol"))) == symbol; }, "procent");
  p.SetResult(rate.IsNumber() ? rate : Value::Number(0));
}

// fiski.dbf: nr_urz N, symbol C, oznacz C. The designation of the VAT
// symbol on the device number; "" when there is none. With the trim flag
// (the default) without outer blanks, otherwise as stored.
ZUV_EXPORT void FISKI(Params& p) {
  if (Overridden("FISKI", p)) return;
  double device = p.Number(1, -1);
  std::string symbol = Upper(AllTrim(p.Text(2)));
  Value found = FirstMatch(
      "fiski",
      [&](const FieldReader& f) {
        Value n = f("nr_urz");
        return n.IsNumber() && n.AsNumber() == device && Upper(Trimmed(f("symbol"))) == symbol;
      },
      "oznacz");
  std::string designation = found.IsText() ? found.AsText() : "";
  p.SetResult(Value::Text(p.Logical(4, true) ? AllTrim(designation) : designation));
}

ZUV_EXPORT void E_ROUND(Params& p) {
  if (!Overridden("E_ROUND", p)) p.SetResult(Value::Number(Round(p.Number(1), p.Integer(2))));
}

ZUV_EXPORT void E_INT(Params& p) {
  if (!Overridden("E_INT", p)) p.SetResult(Value::Number(IntegerPart(p.Number(1))));
}

ZUV_EXPORT void DAJ_POL(Params& p) {
  if (Overridden("DAJ_POL", p)) return;
  double coding = p.Number(1);
  bool known = coding >= 1 && coding <= 4 && coding == std::trunc(coding);
  p.SetResult(Value::Text(known ? kPolishLetters[static_cast<int>(coding) - 1] : ""));
}

ZUV_EXPORT void _TEST_OPEN(Params& p) {
  if (!Overridden("_TEST_OPEN", p)) p.SetResult(Value::Logical(Rt().Areas().Find(AllTrim(p.Text(1))) != nullptr));
}

// Opens each table of the "A | B" list that is not open yet, from the data
// directory, keeping the selected work area. .T. when all of them are open.
ZUV_EXPORT void _OPEN_SET(Params& p) {
  if (Overridden("_OPEN_SET", p)) return;
  WorkAreas& areas = Rt().Areas();
  int selected = areas.CurrentNumber();
  std::string list = p.Text(1);
  bool all = !AllTrim(list).empty();
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t bar = list.find('|', start);
    if (bar == std::string::npos) bar = list.size();
    std::string alias = AllTrim(list.substr(start, bar - start));
    if (!alias.empty() && !areas.Find(alias)) {
      try {
        Rt().Data().Open(areas, alias);
      } catch (const HostError&) {
        all = false;
      }
    }
    start = bar + 1;
  }
  areas.Select(selected);
  p.SetResult(Value::Logical(all));
}

ZUV_EXPORT void _CLOSE_ONLY(Params& p) {
  if (!Overridden("_CLOSE_ONLY", p)) p.SetResult(Value::Logical(Rt().Areas().Close(AllTrim(p.Text(1)))));
}

// Appends the table's state {alias, selected area, order, record, top
// scope, bottom scope} to the state array (made when the argument holds
// none), selects the table and makes the order active. .F. when the table
// is not open.
ZUV_EXPORT void ZAP_OBSZAR(Params& p) {
  if (Overridden("ZAP_OBSZAR", p)) return;
  WorkAreas& areas = Rt().Areas();
  WorkArea* area = areas.Find(AllTrim(p.Text(2)));
  if (!area) {
    p.SetResult(Value::Logical(false));
    return;
  }
  if (!p.IsArray(1)) p.Store(1, Value::OfArray(Array{}));
  TableState state = area->SaveState();
  p.Get(1).AsArray()->push_back(Value::OfArray(Array{
      Value::Text(area->Alias()), Value::Number(areas.CurrentNumber()), Value::Number(state.order),
      Value::Number(static_cast<double>(state.record)), state.top, state.bottom}));
  areas.Select(area->Alias());
  if (p.IsNumber(3)) area->SetOrder(p.Integer(3));
  p.SetResult(Value::Logical(true));
}

// Restores every state of the array, the last saved first, and selects the
// work area that was selected when the first one was saved.
ZUV_EXPORT void ODTW_OBSZAR(Params& p) {
  if (Overridden("ODTW_OBSZAR", p) || !p.IsArray(1)) return;
  WorkAreas& areas = Rt().Areas();
  const Array& states = *p.Get(1).AsArray();
  for (auto it = states.rbegin(); it != states.rend(); ++it) {
    if (!it->IsArray() || it->AsArray()->size() < 6) continue;
    const Array& s = *it->AsArray();
    WorkArea* area = s[0].IsText() ? areas.Find(s[0].AsText()) : nullptr;
    if (!area || !s[2].IsNumber() || !s[3].IsNumber()) continue;
    area->RestoreState({SaturatedInt(s[2].AsNumber()), SaturatedLong(s[3].AsNumber()), s[4], s[5]});
  }
  if (!states.empty() && states.front().IsArray() && states.front().AsArray()->size() >= 2 &&
      (*states.front().AsArray())[1].IsNumber()) {
    areas.Select(SaturatedInt((*states.front().AsArray())[1].AsNumber()));
  }
}

// The active order's top (0) or bottom (1) scope of the selected table.
ZUV_EXPORT void CMXSETSCOPE(Params& p) {
  if (Overridden("CMXSETSCOPE", p)) return;
  WorkArea* area = Rt().Areas().Current();
  if (!area) throw HostError("CMXSETSCOPE: no table in use");
  p.SetResult(area->SetScope(p.Number(1) == 1 ? 1 : 0, p.Get(2)));
}

ZUV_EXPORT void CMXKEYCOUNT(Params& p) {
  if (Overridden("CMXKEYCOUNT", p)) return;
  WorkArea* area = Rt().Areas().Current();
  if (!area) throw HostError("CMXKEYCOUNT: no table in use");
  p.SetResult(Value::Number(static_cast<double>(area->KeyCount())));
}

ZUV_EXPORT void INITPROGRES(Params& p) {
  if (!Recorded("INITPROGRES", p)) p.SetResult(Value::Number(NextHandle()));
}

ZUV_EXPORT void GOPROGRES(Params& p) { Recorded("GOPROGRES", p); }
