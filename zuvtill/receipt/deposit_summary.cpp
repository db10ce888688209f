// WD_DRKAUCJE and WD_KAUCJE: the daily summary of the deposits taken in
// and handed out at a fiscal device of the THERMAX kind, summed from the
// device's documents into the deposit file "#Kaucje#" and printed by the
// link program (job 13). Only the POSNET family serves it.
#include <cmath>

#include "device/family.h"
#include "exchange/error_texts.h"
#include "hostlibs/zuvcore.h"
#include "receipt/link_job.h"
#include "receipt/table_fields.h"
#include "receipt/table_states.h"
#include "runtime/dates.h"
#include "runtime/export.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::receipt {
namespace {

using runtime::ByteFiles;
using runtime::Call;
using runtime::Value;
using runtime::WorkArea;

struct DepositRequest {
  std::string device, shift, cashier;
  runtime::Date date;
};

struct Totals {
  double takenIn = 0, handedOut = 0;
};

double HostRound(double number, int decimals) {
  Value rounded = Call(E_ROUND, {Value::Number(number), Value::Number(decimals)});
  return rounded.IsNumber() ? rounded.AsNumber() : 0;
}

// The packaging records of a document from the seek key on, while
// stillOn holds: their values by the sign of the quantity field.
template <typename StillOn>
void AddPackaging(const std::string& key, const std::string& reference, const char* quantityField, StillOn stillOn,
                  Totals& totals) {
  WorkArea& items = Table("pozycje");
  if (!items.Seek(Value::Text(key))) return;
  for (; !items.Eof() && stillOn(TextField(items, "nr_poz")) && runtime::RTrim(TextField(items, "odnosnik")) == reference;
       items.Skip()) {
    if (runtime::RTrim(TextField(items, "grupa")) != "o") continue;
    double quantity = NumberField(items, quantityField);
    double value = HostRound(quantity * NumberField(items, "cena_sp"), 2);
    if (quantity > 0) {
      totals.handedOut += value;
    } else {
      totals.takenIn -= value;
    }
  }
}

// Every header of the device within NAGLOWEK's scopes: the packaging of
// its documents of kind "1" (the unnumbered records) and "3" (the numbered
// ones).
Totals SumDeposits(const std::string& device) {
  Totals totals;
  WorkArea& headers = Table("naglowek");
  Value count = Call(CMXKEYCOUNT);
  if (!count.IsNumber() || count.AsNumber() <= 0) return totals;
  // The notice and the progress display close again, progress first, also
  // when a host function raises meanwhile.
  struct Windows {
    Value notice = Call(KOM4, {Value::Text("wyszukiwanie opakowan`...")});
    Value progress = Call(INITPROGRES);
    ~Windows() {
      try {
        Call(ZWIN, {progress});
        Call(ZWIN, {notice});
      } catch (...) {
        // Raised while closing: an error on its way is the one to keep.
      }
    }
  } windows;
  headers.GoTop();
  const std::string prefix = KeyPrefix();
  for (double i = 1; !headers.Eof() && runtime::RTrim(TextField(headers, "kodurzfisk")) == runtime::RTrim(device) &&
                     TextField(headers, "przeds") == TextVariable("p_przds") &&
                     TextField(headers, "zaklad") == TextVariable("p_zkld");
       ++i, headers.Skip()) {
    Call(GOPROGRES, {Value::Number(i), count});
    WorkArea& kinds = Table("dokument");
    if (!kinds.Seek(Value::Text(prefix + TextField(headers, "dokument")))) continue;
    const std::string kind = runtime::RTrim(TextField(kinds, "fiskalny"));
    const std::string reference = runtime::RTrim(TextField(headers, "odnosnik"));
    if (kind == "1") {
      AddPackaging(prefix + TextField(headers, "odnosnik") + "    0", reference, "il_analit",
                   [](const std::string& nr) { return nr == "    0"; }, totals);
    } else if (kind == "3") {
      AddPackaging(prefix + TextField(headers, "odnosnik") + "    1", reference, "ilosc",
                   [](const std::string& nr) { return nr >= "    1"; }, totals);
    }
  }
  return totals;
}

// NAGLOWEK restricted to the device's documents while this lives: both
// scopes a block of the key's start, the previous scopes back afterwards.
class DeviceScope {
 public:
  explicit DeviceScope(const std::string& device) {
    runtime::Runtime::Get().Areas().Select("naglowek");
    auto keyStart = [device](const std::vector<Value>&) { return Value::Text(KeyPrefix() + device); };
    Value block = Value::OfBlock({"{ || p_przds + p_zkld + ckodurzfis }", keyStart});
    top_ = Call(CMXSETSCOPE, {Value::Number(0), block});
    bottom_ = Call(CMXSETSCOPE, {Value::Number(1), block});
  }
  ~DeviceScope() {
    try {
      runtime::Runtime::Get().Areas().Select("naglowek");
      Call(CMXSETSCOPE, {Value::Number(0), top_});
      Call(CMXSETSCOPE, {Value::Number(1), bottom_});
    } catch (...) {
      // Raised while an error is on its way: that one is kept.
    }
  }
  DeviceScope(const DeviceScope&) = delete;
  DeviceScope& operator=(const DeviceScope&) = delete;

 private:
  Value top_, bottom_;
};

std::string Grosze(double total) {
  Value whole = Call(E_INT, {Value::Number(total * 100)});
  return runtime::AllTrim(runtime::Str(whole.IsNumber() ? whole.AsNumber() : 0, 20, 0));
}

void RecordFileError() {
  exchange::RecordExchangeError(exchange::kInputFileWrite,
                                exchange::FileErrorText(runtime::Runtime::Get().Files().LastError()));
}

// WD_KAUCJE: the deposit file of the device's documents; true when it was
// written whole.
bool WriteDepositFile(const DepositRequest& r, std::string& name) {
  Totals totals;
  {
    SavedTables saved;
    saved.Save("NAGLOWEK", 11);
    saved.Save("POZYCJE", 1);
    saved.Save("DOKUMENT", 1);
    {
      DeviceScope scope(r.device);
      totals = SumDeposits(r.device);
    }
    saved.Restore();
  }
  const std::string date = runtime::Dtoc(r.date);
  const std::string lines[] = {"#Kaucje#",
                               "zmiana=" + runtime::AllTrim(r.shift),
                               "kasjer=" + runtime::AllTrim(r.cashier),
                               "poczatek=" + date,
                               "koniec=" + date,
                               "przyjecie=" + Grosze(totals.takenIn),
                               "wydanie=" + Grosze(totals.handedOut)};
  Value process = Call(NAZWA_PROCESU);
  name = (process.IsText() ? process.AsText() : "") + "k.df3";

  ByteFiles& files = runtime::Runtime::Get().Files();
  runtime::FileHandle file(files, files.Create(ExchangeFilePath("fisk", "", name)));
  runtime::Runtime::Get().Variables().Assign("handle_in", Value::Number(file.Get()));
  if (!file.IsOpen()) {
    RecordFileError();
    return false;
  }
  bool written = true;
  for (const std::string& line : lines) {
    if (files.Write(file.Get(), line + "\r\n") < static_cast<long>(line.size() + 2)) {
      RecordFileError();
      written = false;
      break;
    }
  }
  file.Close();
  return written;
}

double PrintDepositSummary(const DepositRequest& r) {
  const std::string family = device::FamilySymbol();
  if (family != device::kPosnetFamily) {
    exchange::RecordExchangeError(exchange::kWrongDevice, "Funkcja przeznaczona dla drukrek THERMAX");
    runtime::Runtime::Get().Variables().Assign("wynik", Value::Logical(false));
    return -2;
  }
  std::string name;
  if (!WriteDepositFile(r, name)) return -2;
  return PrintExchangeFile({.printer = "Drukarka: " + family,
                            .job = "Wydruk dziennego podsumowania kaucji",
                            .jobCode = "13",
                            .name = name,
                            .variant = ""});
}

}  // namespace
}  // namespace zuvtill::receipt

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

// WD_DRKAUCJE(cDevice, cShift, cCashier, dDate): 0 when the summary was
// printed (or shown in the dry run), -2 otherwise.
ZUV_EXPORT void WD_DRKAUCJE(Params& p) {
  zuvtill::receipt::DepositRequest request{.device = p.Text(1),
                                           .shift = p.Text(2),
                                           .cashier = p.Text(3),
                                           .date = p.Get(4).IsDate() ? p.Get(4).AsDate() : zuvtill::runtime::Date{}};
  p.SetResult(Value::Number(zuvtill::receipt::PrintDepositSummary(request)));
}
