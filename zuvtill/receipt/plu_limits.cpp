// CZY_POSDLL, LINESEEK, GET_PL_NVS and MAX_PLU.
#include "receipt/plu_limits.h"

#include <array>

#include "device/family.h"
#include "hostlibs/zuvcore.h"
#include "receipt/table_fields.h"
#include "receipt/table_states.h"
#include "runtime/cp852_literal.h"
#include "runtime/export.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::receipt {
namespace {

using namespace runtime::literals;
using runtime::Call;
using runtime::Value;
using runtime::WorkArea;

constexpr auto kPolishLetters = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż"_cp852;

std::string Range(char first, char last) {
  std::string s;
  for (int c = first; c <= last; ++c) s += static_cast<char>(c);
  return s;
}

// The printable ASCII characters but the space, the apostrophe moved
// between the underscore and the grave accent.
std::string PrintableWithApostropheMoved() { return Range('!', '&') + Range('(', '_') + "'" + Range('`', '~'); }

std::string MakeSet(CharacterSet set) {
  const std::string polish(kPolishLetters);
  const std::string digitsAndLetters = Range('0', '9') + Range('A', 'Z');
  switch (set) {
    case CharacterSet::kA:
      return PrintableWithApostropheMoved() + polish;
    case CharacterSet::kB:
      return " \"%()*,-./" + digitsAndLetters + "'" + Range('a', 'z') + polish;
    case CharacterSet::kC:
      return " " + PrintableWithApostropheMoved() + polish;
    case CharacterSet::kD:
      return ": ,./" + digitsAndLetters + Range('a', 'z') + polish;
    case CharacterSet::kE:
      // Two more bytes between the capitals and the small letters.
      return ",./" + digitsAndLetters + "\\" + Range('a', 'z') + polish.substr(0, 9) + "\x8C\x8F" + polish.substr(9);
  }
  return "";
}

bool Kind(std::string_view symbol, std::string_view kind) { return symbol == kind; }
bool Datecs(std::string_view s) { return Kind(s, "  2  6"); }
bool Posnet(std::string_view s) { return Kind(s, "  2  7"); }
bool Novitus(std::string_view s) { return Kind(s, "  2  8"); }
bool Sys600(std::string_view s) { return Kind(s, "  2  4"); }

// FISK_URZ in order 5 while this lives; its state the host's again after
// Restore().
class FiscalDevices {
 public:
  FiscalDevices() { saved_.Save("FISK_URZ", 5); }

  WorkArea& Table() { return runtime::Runtime::Get().Areas().Require("fisk_urz"); }
  bool Seek(const std::string& key) { return Table().Seek(Value::Text(key)); }
  void Restore() { saved_.Restore(); }

 private:
  SavedTables saved_;
};

// The FISK_SLO record of the device kind: the first, in its order, whose
// key begins with the device symbol.
bool FindDictionaryRecord(WorkArea& dictionary, const std::string& symbol) {
  dictionary.GoTop();
  while (!dictionary.Eof()) {
    if (runtime::Left(TextField(dictionary, "kodslo"), static_cast<int>(symbol.size())) == symbol) return true;
    dictionary.Skip();
  }
  return false;
}

// Step by device kind: PLU limit, set, and the NOVITUS selection character.
void KindLimits(const LimitsQuery& q, bool posModule, const WorkArea& dictionary, DeviceLimits& limits) {
  const std::string& symbol = q.deviceSymbol;
  WorkArea& devices = runtime::Runtime::Get().Areas().Require("fisk_urz");
  if (Datecs(symbol)) {
    limits.plu = NumberField(devices, "maxPLU");  // whatever record is current
    limits.characters = Characters(CharacterSet::kA);
  } else if (Posnet(symbol) && posModule) {
    FiscalDevices urz;
    if (urz.Seek(KeyPrefix() + symbol + q.posModel)) {
      limits.characters = Characters(CharacterSet::kB);
    } else if (urz.Seek(KeyPrefix() + symbol + "prfkt")) {
      limits.characters = Characters(CharacterSet::kA);
    }
    limits.plu = NumberField(urz.Table(), "maxPLU");
    urz.Restore();
  } else if (Posnet(symbol)) {
    FiscalDevices urz;
    urz.Seek(KeyPrefix() + symbol);
    urz.Seek(KeyPrefix() + symbol + "prfkt");
    limits.characters = Characters(CharacterSet::kC);
    limits.plu = NumberField(urz.Table(), "maxPLU");
    urz.Restore();
  } else if (Novitus(symbol)) {
    FiscalDevices urz;
    NovitusLimits model = NovitusModelLimits(q.novitusModel);
    limits.name = model.name;
    limits.plu = model.plu;
    limits.characters = model.characters;
    if (urz.Seek(KeyPrefix() + symbol)) {
      std::string selection = TextField(urz.Table(), "rodz_wybie");
      limits.selectionCharacter = runtime::At(selection, limits.characters) > 0 ? selection : ".";
    }
    urz.Restore();
  } else if (Sys600(symbol)) {
    limits.plu = q.variant ? 18 : NumberField(dictionary, "maxPlu");
    limits.characters = Characters(CharacterSet::kD);
  } else {
    limits.plu = NumberField(dictionary, "maxPlu");
    limits.characters = Characters(CharacterSet::kA);
  }
}

double ModelNumber(const Value& v) { return v.IsNumber() ? v.AsNumber() : -1; }

// Step by device kind: the name limits (NOVITUS has its model's).
void NameLimits(const LimitsQuery& q, bool posModule, const WorkArea& dictionary, DeviceLimits& limits) {
  const std::string& symbol = q.deviceSymbol;
  if (Novitus(symbol)) return;
  if (runtime::Left(TextField(dictionary, "kodslo"), 3) == "  1" && device::FamilySymbol() == device::kElzabFamily) {
    double model = ModelNumber(q.modelNumber);
    limits.name = model == 13 ? 40 : model == 12 ? 18 : 28;
  } else if (Sys600(symbol) && q.variant) {
    limits.name = ModelNumber(q.modelNumber) == 15 ? 34 : NumberField(dictionary, "maxNazwa") - 1;
  } else if (Posnet(symbol) && posModule) {
    // The record current in FISK_URZ once its state is the host's again.
    WorkArea& devices = runtime::Runtime::Get().Areas().Require("fisk_urz");
    limits.name = NumberField(devices, "maxnazwa");
    limits.packagingName = Value::Number(NumberField(devices, "maxnazopak"));
  } else {
    limits.name = NumberField(dictionary, "maxNazwa");
  }
}

bool IsOpen(const char* table) {
  Value open = Call(_TEST_OPEN, {Value::Text(table)});
  return open.IsLogical() && open.AsLogical();
}

// The dictionaries open for one call: those that were not open before are
// closed again (also the one that did open when the other did not), and
// the work area selected before is selected again, also when a host
// function raised meanwhile.
class OpenDictionaries {
 public:
  OpenDictionaries()
      : selected_(runtime::Runtime::Get().Areas().CurrentNumber()),
        dictionaryWasOpen_(IsOpen("FISK_SLO")),
        devicesWereOpen_(IsOpen("FISK_URZ")) {
    Value opened = Call(_OPEN_SET, {Value::Text("FISK_URZ | FISK_SLO"), Value::Text("SS"), Value::Logical(true)});
    open_ = opened.IsLogical() && opened.AsLogical();
  }
  ~OpenDictionaries() {
    try {
      if (!dictionaryWasOpen_ && IsOpen("FISK_SLO")) Call(_CLOSE_ONLY, {Value::Text("FISK_SLO")});
      if (!devicesWereOpen_ && IsOpen("FISK_URZ")) Call(_CLOSE_ONLY, {Value::Text("FISK_URZ")});
    } catch (...) {
      // A host function raised while closing: the area is still selected
      // back below; the error that may be travelling is the one to keep.
    }
    runtime::Runtime::Get().Areas().Select(selected_);
  }
  OpenDictionaries(const OpenDictionaries&) = delete;
  OpenDictionaries& operator=(const OpenDictionaries&) = delete;

  bool Open() const { return open_; }

 private:
  int selected_;
  bool dictionaryWasOpen_, devicesWereOpen_;
  bool open_ = false;
};

}  // namespace

DeviceLimits MaxPlu(const LimitsQuery& q) {
  const bool posModule = IsPosModuleModel(q.posModel);
  DeviceLimits limits;
  limits.packagingName = q.packagingName;
  OpenDictionaries tables;
  if (!tables.Open()) return limits;
  runtime::WorkAreas& areas = runtime::Runtime::Get().Areas();
  WorkArea& dictionary = areas.Require("fisk_slo");
  areas.Select("fisk_slo");
  if (FindDictionaryRecord(dictionary, q.deviceSymbol)) {
    KindLimits(q, posModule, dictionary, limits);
    NameLimits(q, posModule, dictionary, limits);
  }
  if (!limits.packagingName.IsNumber()) limits.packagingName = Value::Number(limits.name);
  limits.packagingNameSet = true;
  return limits;
}

const std::string& Characters(CharacterSet set) {
  static const std::array<std::string, 5> kSets = {MakeSet(CharacterSet::kA), MakeSet(CharacterSet::kB),
                                                   MakeSet(CharacterSet::kC), MakeSet(CharacterSet::kD),
                                                   MakeSet(CharacterSet::kE)};
  return kSets[static_cast<int>(set)];
}

bool IsPosModuleModel(std::string_view model) {
  return runtime::At(model, "combo;neo;neoej;neoxl;binhs;binhe;binxl;mobhs;revox") > 0;
}

NovitusLimits NovitusModelLimits(std::string_view model) {
  struct Row {
    std::string_view model;
    double name, plu;
  };
  static constexpr std::array kModels = {Row{"frg", 18, 2300},   Row{"frg2", 18, 1000},   Row{"frg2+", 18, 2300},
                                         Row{"fsta", 18, 16000}, Row{"syst", 18, 22000}, Row{"ps300", 18, 16000}};
  std::string trimmed = runtime::AllTrim(model);
  for (const Row& row : kModels) {
    if (row.model == trimmed) return {row.name, row.plu, Characters(CharacterSet::kE)};
  }
  return {};
}


}  // namespace zuvtill::receipt

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;
namespace receipt = zuvtill::receipt;

// CZY_POSDLL(cModel)
ZUV_EXPORT void CZY_POSDLL(Params& p) { p.SetResult(Value::Logical(receipt::IsPosModuleModel(p.Text(1)))); }

// LINESEEK(bCondition): the first record of the selected table, in its
// order, for which the condition holds; the condition on the record reached.
ZUV_EXPORT void LINESEEK(Params& p) {
  zuvtill::runtime::WorkArea* area = zuvtill::runtime::Runtime::Get().Areas().Current();
  if (!area) {
    p.SetResult(Value::Logical(false));
    return;
  }
  auto holds = [&] {
    Value v = zuvtill::runtime::Evaluate(p.Get(1));
    return v.IsLogical() && v.AsLogical();
  };
  area->GoTop();
  while (!area->Eof() && !holds()) area->Skip();
  p.SetResult(zuvtill::runtime::Evaluate(p.Get(1)));
}

// GET_PL_NVS(cModel, @nName, @nPlu, @cCharacters)
ZUV_EXPORT void GET_PL_NVS(Params& p) {
  receipt::NovitusLimits limits = receipt::NovitusModelLimits(p.Text(1, "frg2"));
  p.Store(2, Value::Number(limits.name));
  p.Store(3, Value::Number(limits.plu));
  p.Store(4, Value::Text(limits.characters));
  p.SetResult(Value::Logical(true));
}

// MAX_PLU(cKod, @nPlu, @nName, @cCharacters, @cSelection, cNovitusModel,
// nModel, lVariant, cPosModel, @nPackagingName): the answers come back by
// reference; the result is NIL.
ZUV_EXPORT void MAX_PLU(Params& p) {
  receipt::LimitsQuery query{.deviceSymbol = p.Text(1),
                             .novitusModel = p.Text(6, "frg2"),
                             .modelNumber = p.Get(7),
                             .variant = p.Logical(8, false),
                             .posModel = p.Text(9, "     "),
                             .packagingName = p.Get(10)};
  receipt::DeviceLimits limits = receipt::MaxPlu(query);
  p.Store(2, Value::Number(limits.plu));
  p.Store(3, Value::Number(limits.name));
  p.Store(4, Value::Text(limits.characters));
  p.Store(5, Value::Text(limits.selectionCharacter));
  if (limits.packagingNameSet) p.Store(10, limits.packagingName);
  p.SetResult(Value());
}
