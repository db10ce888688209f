// The receipt file: WD_PARPOZ's composition and WD_LIN_PAR's item lines.
//
// Every line is fields in double quotes separated by commas. Item lines end
// with CR LF; the buyer line and the footer lines too, except the file's
// last line.
#include "receipt/receipt_file.h"

#include <cmath>
#include <optional>
#include <vector>

#include "device/family.h"
#include "exchange/error_texts.h"
#include "exchange/link_runner.h"
#include "hostlibs/zuvcore.h"
#include "hostlibs/zuvfault.h"
#include "hostlibs/zuvorg.h"
#include "receipt/link_job.h"
#include "receipt/plu_limits.h"
#include "receipt/table_fields.h"
#include "receipt/tax_rates.h"
#include "runtime/cp852_literal.h"
#include "runtime/evaluator.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::receipt {
namespace {

using namespace runtime::literals;
using runtime::ByteFiles;
using runtime::Call;
using runtime::Value;
using runtime::WorkArea;

constexpr std::string_view kHeaderLine = "#Paragon#\r\n";
constexpr double kCompositionReport = 8510;

ByteFiles& Files() { return runtime::Runtime::Get().Files(); }

bool Elzab() { return device::FamilySymbol() == device::kElzabFamily; }

double HostRound(double number, int decimals) {
  Value rounded = Call(E_ROUND, {Value::Number(number), Value::Number(decimals)});
  return rounded.IsNumber() ? rounded.AsNumber() : 0;
}

// A whole number as the file writes it: digits, no blanks.
std::string Digits(double number, int width) { return runtime::AllTrim(runtime::Str(number, width, 0)); }

std::string Line(const std::vector<std::string>& fields, bool lineEnd) {
  std::string line = "\"";
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "\",\"" : "") + fields[i];
  return line + "\"" + (lineEnd ? "\r\n" : "");
}

void Report(const std::string& text) { Call(RAPORT, {Value::Number(kCompositionReport), Value::Text(text)}); }

void Message(Value text) { Call(KOM3, {std::move(text), Value::Number(0), Value::Number(0), Value::Number(3)}); }

// The quantity field's width, the most decimals its one-digit count holds,
// and the most places at which any quantity fits both (at most 11 trailing
// zeros of 12 digits can be dropped).
constexpr int kQuantityWidth = 12;
constexpr int kMostQuantityDecimals = 9;
constexpr int kMostQuantityPlaces = 20;

// The host's decimal places of quantities, a whole number not below 0
// (anything else counts as 0); more places than any quantity fits at count
// as those.
int DecimalsOfQuantities() {
  runtime::Cell d = runtime::Runtime::Get().Variables().Find("sp_ilosc");
  if (!d || !d->IsNumber()) return 0;
  double places = d->AsNumber();
  if (!(places >= 0) || places != std::trunc(places)) return 0;
  return places > kMostQuantityPlaces ? kMostQuantityPlaces : static_cast<int>(places);
}

// Fields 7 and 8 of an item line.
struct QuantityField {
  std::string digits;
  int decimals = 0;
};

// The quantity in units of 10^-d, its trailing zeros among the last d
// digits dropped: with d = 3, 2.5 is "25" with 1 decimal. The last digit
// stays, so that a quantity of 0 is "0", not an empty field. A quantity
// wider than the field comes out as asterisks.
QuantityField QuantityIn(double quantity, int d) {
  std::string digits = Digits(std::fabs(HostRound(quantity * std::pow(10.0, d), 0)), kQuantityWidth);
  const int length = static_cast<int>(digits.size());
  int decimals = d;
  for (int i = 1; i <= d && i < length && digits[length - i] == '0'; ++i) --decimals;
  return {runtime::Left(digits, length - d + decimals), decimals};
}

// The quantity as the item line writes it: in the host's decimal places
// when the field holds it there; otherwise, when it is wider than the
// field or keeps more decimals than one digit counts, rounded to the most
// places below them at which it fits, down to whole units. The value of
// the line stays that of the exact quantity.
QuantityField Quantity(double quantity) {
  for (int d = DecimalsOfQuantities();; --d) {
    QuantityField field = QuantityIn(quantity, d);
    bool fits = field.decimals <= kMostQuantityDecimals && field.digits.find('*') == std::string::npos;
    if (fits || d == 0) return field;
  }
}

// One composition: the file open for writing, the limits of the fiscal
// printer, and whether something has failed.
class Composition {
 public:
  Composition(const ReceiptRequest& request, std::string fileName)
      : request_(request), name_(std::move(fileName)), path_(ExchangeFilePath("fisk", request.variant, name_)) {
    DeviceLimits limits = MaxPlu({.deviceSymbol = std::string(device::kFiscalPrinter)});
    pluLimit_ = limits.plu;
    nameLimit_ = limits.name;
  }

  bool Run() {
    runtime::FileHandle file(Files(), Files().Create(path_));
    if (!file.IsOpen()) {
      RecordFileError(exchange::kReceiptLineWrite);
      return false;
    }
    file_ = file.Get();
    if (Files().Write(file_, std::string(kHeaderLine)) < static_cast<long>(kHeaderLine.size())) {
      RecordFileError(exchange::kReceiptLineWrite);
    } else {
      ItemPass();
      if (!failed_) PackagingPass();
      if (!failed_) BuyerLine();
      if (!failed_) FooterLines();
    }
    file.Close();
    return !failed_;
  }

 private:
  // The fields of a stock record that a line needs.
  struct Goods {
    std::string plu, name, designation;
    double price = 0;
    std::string unit;
  };

  void Fail() { failed_ = true; }

  void Record(double code, const std::string& detail) {
    exchange::RecordExchangeError(code, detail);
    Fail();
  }
  // The runtime's last file error, with the file's name.
  void RecordFileError(double code) { Record(code, exchange::FileErrorText(Files().LastError())); }
  void RecordAndReport(const std::string& what, const std::string& report) {
    Record(exchange::kReceiptLineWrite, "Plik: \"" + name_ + "\" - " + what);
    Report(report);
  }

  bool Write(const std::string& line) {
    if (Files().Write(file_, line) >= static_cast<long>(line.size())) return true;
    RecordFileError(exchange::kInputFileWrite);
    return false;
  }

  // The item belongs to the document, the plant and the company.
  static bool OfTheDocument(const WorkArea& items) {
    return !items.Eof() && runtime::RTrim(TextField(items, "odnosnik")) == Reference() &&
           TextField(items, "zaklad") == TextVariable("p_zkld") && TextField(items, "przeds") == TextVariable("p_przds");
  }
  static std::string Reference() { return runtime::RTrim(TextField(Table("naglowek"), "odnosnik")); }

  // The stock record of the current item: stan_mag positioned on it.
  static bool FindGoods(const WorkArea& items) {
    std::string key = KeyPrefix() + "11" + TextField(items, "material") + runtime::Str(NumberField(items, "magazyn"), 3, 0);
    Value indexKey = Call(_PL, {Value::Text(key)});
    if (Table("stan_mag").Seek(indexKey)) return true;
    Message(Value::Text("Nie znaleziono towaru w bazie STAN_MAG."));
    return false;
  }

  // The current item as a line's goods: the stock record's PLU and fiscal
  // name, the rate designation, the gross price. A packaging record keeps
  // its VAT symbol in an ELZAB library. Nothing after a failure, which is
  // told and recorded.
  std::optional<Goods> GoodsOfItem(const WorkArea& items, bool packaging) {
    const WorkArea& stock = Table("stan_mag");
    Goods g;
    g.plu = runtime::AllTrim(TextField(stock, "plu"));
    std::string fiscalName = TextField(stock, "nazwa_fis");
    if (runtime::IsBlank(fiscalName) || g.plu.empty()) {
      runtime::Array lines{
          Value::Text("Towar: \"" + runtime::AllTrim(TextField(stock, "material")) + "\" nie ma wpisanego numeru PLU"),
          Value::Text("lub nazwy fiskalnej w bazie STAN_MAG.")};
      Message(Value::OfArray(std::move(lines)));
      Fail();
      return std::nullopt;
    }
    const std::string vatSymbol = TextField(items, "vat_symbol");
    g.designation = vatSymbol;
    if (packaging) runtime::Runtime::Get().Variables().Assign("cstawka", Value::Text(" "));
    if (!(packaging && Elzab())) {
      std::optional<std::string> designation = FiscalRate(device::kFiscalPrinter, vatSymbol);
      if (designation) g.designation = *designation;
      if (!designation || runtime::IsBlank(*designation)) {
        RecordAndReport("Błąd przy konwersji stawki fiskalnej "_cp852.str(), "Konwersja VAT - FAIL");
        return std::nullopt;
      }
    }
    if (pluLimit_ != 0 && pluLimit_ < runtime::Val(g.plu)) {
      RecordAndReport("Przekroczony zakres PLU", "Przekroczony zakres PLU.");
      return std::nullopt;
    }
    g.price = NumberField(items, "cena_pobon");
    Value grossPrices = Field(Table("naglowek"), "od_brutta");
    if (!(grossPrices.IsLogical() && grossPrices.AsLogical())) {
      Value rate = Call(GETPROCPTU, {Value::Text(vatSymbol)});
      g.price += HostRound(g.price * (rate.IsNumber() ? rate.AsNumber() : 0) / 100, 2);
    }
    // The name is a text here, so the conversion cannot refuse it.
    g.name = runtime::AllTrim(runtime::Left(fiscalName, runtime::SaturatedInt(nameLimit_)));
    ConvertPolishLetters(g.name, false);
    Value unit = Call(JM_NAZWA, {Value::Text(TextField(stock, "jm"))});
    g.unit = unit.IsText() ? unit.AsText() : "";
    return g;
  }

  bool WriteItem(WorkArea& items, int type, double position, const Goods& g) {
    if (!Write(ItemLine(type, position, g.plu, g.name, g.designation, g.price, g.unit))) return false;
    items.Skip();
    return true;
  }

  // The items numbered 1, 2, 3 ... up to the first gap.
  void ItemPass() {
    WorkArea& items = Table("pozycje");
    for (double n = 1; !failed_ && OfTheDocument(items) && TextField(items, "nr_poz") == runtime::Str(n, 5, 0); ++n) {
      if (!FindGoods(items)) {
        Fail();
        break;
      }
      std::optional<Goods> g = GoodsOfItem(items, false);
      if (!g) break;
      int type = request_.depositLines ? (NumberField(items, "il_analit") < 0 ? 2 : 3) : 1;
      WriteItem(items, type, n, *g);
    }
  }

  // The unnumbered records ("    0") that stand alone and whose goods are
  // packaging (group "o"), numbered from 1 again.
  void PackagingPass() {
    WorkArea& items = Table("pozycje");
    // The key holds the header's reference as stored, blanks included.
    std::string reference = TextField(Table("naglowek"), "odnosnik");
    if (!items.Seek(Value::Text(KeyPrefix() + reference + runtime::Str(0, 5, 0)))) return;
    double n = 1;
    while (!failed_ && OfTheDocument(items) && TextField(items, "nr_poz") == "    0") {
      if (runtime::Val(TextField(items, "nr_poz_gl")) != 0) {  // belongs to a main item
        items.Skip();
        continue;
      }
      if (!FindGoods(items)) {
        Fail();
        break;
      }
      if (runtime::RTrim(TextField(Table("stan_mag"), "grupa")) != "o") {
        items.Skip();
        continue;
      }
      std::optional<Goods> g = GoodsOfItem(items, true);
      if (!g) break;
      WriteItem(items, NumberField(items, "il_analit") < 0 ? 2 : 3, n, *g);
      ++n;
    }
  }

  bool HasFooter() const {
    return request_.footerList.IsArray() && !request_.footerList.AsArray()->empty();
  }

  void BuyerLine() {
    if (runtime::TypeOf("naglowek->nip_parag") != "C") return;
    std::string nip = TextField(Table("naglowek"), "nip_parag");
    if (runtime::IsBlank(nip) || (Elzab() && request_.variant != exchange::kMer30)) return;
    std::string type = request_.buyerType6 ? "6" : request_.buyerType7 ? "7" : "5";
    Write(Line({type, runtime::AllTrim(nip)}, HasFooter()));
  }

  void FooterLines() {
    if (!HasFooter()) return;
    const runtime::Array& footer = *request_.footerList.AsArray();
    for (std::size_t i = 0; i < footer.size(); ++i) {
      const Value& element = footer[i];
      std::vector<std::string> fields{"4"};
      if (Elzab()) {
        // {number text, text}
        const runtime::Array* pair = element.IsArray() ? element.AsArray().get() : nullptr;
        auto item = [&](std::size_t k) { return pair && pair->size() > k ? (*pair)[k] : Value(); };
        Value number = item(0), text = item(1);
        fields.push_back(number.IsNumber() ? Digits(number.AsNumber(), 2)
                         : number.IsText() ? Digits(runtime::Val(number.AsText()), 2)
                                           : "");
        fields.push_back(text.IsText() ? text.AsText() : "");
      } else {
        fields.push_back(element.IsText() ? element.AsText() : "");
      }
      if (!Write(Line(fields, i + 1 < footer.size()))) return;
    }
  }

  const ReceiptRequest& request_;
  std::string name_, path_;
  double pluLimit_ = 0, nameLimit_ = 0;
  int file_ = -1;
  bool failed_ = false;
};

}  // namespace

std::string ReceiptFileName() {
  Value process = Call(NAZWA_PROCESU);
  const std::string family = device::FamilySymbol();
  std::string suffix = family == device::kElzabFamily ? "i.fp6" : family == device::kPosnetFamily ? "i.df3" : "";
  return (process.IsText() ? process.AsText() : "") + suffix;
}

bool ComposeReceipt(const ReceiptRequest& request, std::string& fileName) {
  fileName = ReceiptFileName();
  return Composition(request, fileName).Run();
}

std::string ItemLine(int type, double position, const std::string& plu, const std::string& name,
                     const std::string& designation, double grossPrice, const std::string& unit) {
  const WorkArea& items = Table("pozycje");
  const std::string family = device::FamilySymbol();
  const bool elzabFields = runtime::At(family, device::kElzabFamily) > 0;
  const bool posnetFields = family == device::kPosnetFamily;

  const double grosze = HostRound(grossPrice * 100, 0);
  const double signedQuantity = type == 1 ? NumberField(items, "ilosc") : NumberField(items, "il_analit");
  const QuantityField quantity = Quantity(std::fabs(signedQuantity));
  const double value = HostRound(std::fabs(signedQuantity * grosze), 0);

  std::vector<std::string> fields{runtime::Str(type, 1, 0),
                                  runtime::Str(position, 5, 0),
                                  runtime::AllTrim(plu),
                                  runtime::AllTrim(name),
                                  designation,
                                  Digits(grosze, 20),
                                  quantity.digits,
                                  runtime::Str(quantity.decimals, 1, 0),
                                  elzabFields ? runtime::Left(runtime::AllTrim(unit), 4) : "",
                                  Digits(value, 13),
                                  elzabFields ? "0" : ""};
  for (int i = 12; i <= 15; ++i) fields.push_back(posnetFields ? "0" : "");
  return Line(fields, true);
}

}  // namespace zuvtill::receipt
