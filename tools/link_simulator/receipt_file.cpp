#include "receipt_file.h"

#include "amounts.h"
#include "file_lines.h"
#include "file_text.h"
#include "job_failure.h"
#include "quoted_fields.h"

namespace zuvlink {
namespace {

constexpr std::size_t kLongestName = 40;

bool AllDigits(std::string_view text) { return ParseDigits(text, 18).has_value(); }

// STR(n, 5): leading blanks, then digits to the fifth character.
bool IsPositionNumber(std::string_view text) {
  if (text.size() != 5) return false;
  std::size_t digits = text.find_first_not_of(' ');
  return digits != std::string_view::npos && AllDigits(text.substr(digits));
}

// Ten digits; a dash may stand between two of them.
bool IsNip(std::string_view text) {
  int digits = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] != '-' || i == 0 || i + 1 == text.size() || text[i - 1] == '-') {
      return false;
    }
  }
  return digits == 10;
}

class ReceiptChecker {
 public:
  explicit ReceiptChecker(const Family& family) : fp600_(family.symbol == "FP600"), family_(family.symbol) {}

  Receipt Check(std::string_view bytes) {
    std::vector<FileLine> lines = SplitLines(bytes);
    line_ = 1;
    if (lines.empty() || lines[0].text != "#Paragon#" || !lines[0].endsWithCrLf) {
      LineFault("brak nagłówka \"#Paragon#\" zakończonego znakami CR LF");
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
      line_ = static_cast<int>(i) + 1;
      Line(lines[i], i + 1 == lines.size());
    }
    if (receipt_.items.empty()) {
      line_ = static_cast<int>(lines.size()) + 1;
      LineFault("paragon bez żadnej pozycji");
    }
    return std::move(receipt_);
  }

 private:
  enum class Section { kSales, kDeposits, kBuyer, kFooters };

  [[noreturn]] void LineFault(const std::string& what) const { Fail("Wiersz " + std::to_string(line_) + ": " + what); }
  [[noreturn]] void FieldFault(std::size_t field, const std::string& what) const {
    Fail("Wiersz " + std::to_string(line_) + ", pole " + std::to_string(field) + ": " + what);
  }

  void Line(const FileLine& line, bool last) {
    if (line.text.empty()) LineFault("pusty wiersz");
    if (HasStrayLineBreak(line.text)) LineFault("znak CR lub LF, który nie jest końcem wiersza CR LF");
    QuotedFields fields = SplitQuotedFields(line.text);
    if (fields.fault) FieldFault(fields.faultField, *fields.fault);
    const std::vector<std::string_view>& f = fields.fields;
    if (f[0] == "1" || f[0] == "2" || f[0] == "3") {
      Item(f);
      if (!line.endsWithCrLf) LineFault("wiersz pozycji bez znaków CR LF na końcu");
      return;
    }
    bool buyer = f[0] == "5" || f[0] == "6" || f[0] == "7";
    if (!buyer && f[0] != "4")
      FieldFault(1, "nieznany typ wiersza (znane: 1, 2, 3 pozycje, 5, 6, 7 nabywca, 4 stopka)");
    if (receipt_.items.empty()) FieldFault(1, "paragon musi zaczynać się od pozycji (typ 1, 2 lub 3)");
    if (buyer) {
      Buyer(f);
    } else {
      Footer(f);
    }
    if (last && line.endsWithCrLf) LineFault("ostatni wiersz pliku nie może kończyć się znakami CR LF");
  }

  void FieldCount(const std::vector<std::string_view>& f, std::size_t count, const std::string& kind) const {
    std::string counted = kind + " ma " + std::to_string(count) + (count < 5 ? " pola" : " pól");
    if (f.size() < count) FieldFault(f.size() + 1, "brak pola; " + counted);
    if (f.size() > count) FieldFault(count + 1, "nadmiarowe pole; " + counted);
  }

  void Item(const std::vector<std::string_view>& f) {
    bool sale = f[0] == "1";
    if (section_ > Section::kDeposits) FieldFault(1, "pozycja po wierszu nabywcy lub stopki");
    if (sale && section_ == Section::kDeposits)
      FieldFault(1, "pozycja sprzedaży (typ 1) po pozycji opakowania (typ 2 lub 3)");
    section_ = sale ? Section::kSales : Section::kDeposits;
    FieldCount(f, 15, "wiersz pozycji");

    ItemLine item;
    item.type = static_cast<ItemLine::Type>(f[0][0] - '0');
    if (!IsPositionNumber(f[1])) FieldFault(2, "numer pozycji to liczba na pięciu znakach, wyrównana do prawej");
    if (!AllDigits(f[2])) FieldFault(3, "numer PLU nie jest liczbą");
    if (f[3].empty()) FieldFault(4, "pusta nazwa towaru");
    if (HasControlCharacter(f[3])) FieldFault(4, "znak sterujący w nazwie towaru");
    if (f[3].size() > kLongestName)
      FieldFault(4, "nazwa towaru dłuższa niż " + std::to_string(kLongestName) + " znaków");
    item.name = f[3];
    if (fp600_ && !sale) {
      // An ELZAB printer takes a deposit line's VAT symbol as the host
      // keeps it ("ZW  ") and finds its rate itself.
      if (f[4].find_first_not_of(' ') == std::string_view::npos || f[4].size() > 4 || HasControlCharacter(f[4]))
        FieldFault(5, "symbol VAT opakowania ma od 1 do 4 znaków");
      item.rate = ' ';
    } else {
      if (f[4].size() != 1 || f[4][0] < 'A' || f[4][0] > 'G')
        FieldFault(5, "oznaczenie stawki to jedna litera od A do G");
      item.rate = f[4][0];
    }
    std::optional<std::int64_t> price = ParseDigits(f[5], 10);
    if (!price) FieldFault(6, "cena w groszach nie jest liczbą (najwyżej 10 cyfr)");
    std::optional<std::int64_t> quantity = ParseDigits(f[6], 12);
    if (!quantity) FieldFault(7, "ilość nie jest liczbą (najwyżej 12 cyfr)");
    if (f[7].size() != 1 || f[7][0] < '0' || f[7][0] > '9') FieldFault(8, "liczba miejsc po przecinku to jedna cyfra");
    item.price = *price, item.quantity = *quantity, item.decimals = f[7][0] - '0';
    Unit(f[8]);
    item.unit = f[8];
    Value(f[9], item);
    for (std::size_t field = 11; field <= 15; ++field) {
      bool zero = field == 11 ? fp600_ : !fp600_;
      if (f[field - 1] != (zero ? "0" : "")) {
        FieldFault(field,
                   std::string(zero ? "oczekiwano \"0\"" : "oczekiwano pustego pola") + " w drukarce " + family_);
      }
    }
    receipt_.items.push_back(std::move(item));
  }

  void Unit(std::string_view unit) const {
    if (!fp600_) {
      if (!unit.empty()) FieldFault(9, "oczekiwano pustego pola w drukarce " + family_);
    } else if (unit.size() > 4 || HasControlCharacter(unit)) {
      FieldFault(9, "jednostka miary ma najwyżej 4 znaki, bez znaków sterujących");
    }
  }

  void Value(std::string_view text, ItemLine& item) const {
    std::optional<std::int64_t> value = ParseDigits(text, 13);
    if (!value) FieldFault(10, "wartość w groszach nie jest liczbą (najwyżej 13 cyfr)");
    std::optional<std::int64_t> expected = ItemValue(item.price, item.quantity, item.decimals);
    if (value != expected) {
      FieldFault(10, "wartość " + std::to_string(*value) + " nie równa się cenie razy ilość (" +
                         (expected ? std::to_string(*expected) : std::string("poza zakresem")) + ")");
    }
    item.value = *value;
  }

  void Buyer(const std::vector<std::string_view>& f) {
    if (section_ == Section::kBuyer) FieldFault(1, "drugi wiersz nabywcy");
    if (section_ == Section::kFooters) FieldFault(1, "wiersz nabywcy po wierszu stopki");
    section_ = Section::kBuyer;
    if (fp600_ && f[0] != "5") FieldFault(1, "drukarka FP600 przyjmuje tylko wiersz nabywcy typu 5");
    FieldCount(f, 2, "wiersz nabywcy");
    if (!IsNip(f[1])) FieldFault(2, "NIP to 10 cyfr, między nimi mogą stać myślniki");
    receipt_.buyerNip = std::string(f[1]);
  }

  void Footer(const std::vector<std::string_view>& f) {
    section_ = Section::kFooters;
    FieldCount(f, fp600_ ? 3 : 2, "wiersz stopki");
    if (fp600_ && !ParseDigits(f[1], 2)) FieldFault(2, "numer stopki to liczba z jednej lub dwóch cyfr");
    std::size_t text = fp600_ ? 3 : 2;
    if (HasControlCharacter(f[text - 1])) FieldFault(text, "znak sterujący w tekście stopki");
    receipt_.footers.emplace_back(f[text - 1]);
  }

  bool fp600_;
  std::string family_;
  int line_ = 0;
  Section section_ = Section::kSales;
  Receipt receipt_;
};

}  // namespace

Receipt CheckReceipt(const Family& family, std::string_view bytes) { return ReceiptChecker(family).Check(bytes); }

}  // namespace zuvlink
