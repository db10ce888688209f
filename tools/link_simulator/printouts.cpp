#include "printouts.h"

#include <map>

#include "amounts.h"
#include "file_text.h"
#include "operating_system.h"

namespace zuvlink {
namespace {

std::string TrimmedRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// "2,5 kg x3,49": the quantity, its unit, the unit price.
std::string QuantityTimesPrice(const ItemLine& item) {
  std::string unit = TrimmedRight(item.unit);
  return Quantity(item.quantity, item.decimals) + (unit.empty() ? "" : " " + unit) + " x" + Zlote(item.price);
}

}  // namespace

std::string PrintTime(std::time_t now) {
  std::tm local = LocalTime(now);
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
  return text;
}

Rows ReceiptHeadRows() {
  Rows rows;
  AddCentered(rows, "PARAGON FISKALNY");
  AddRule(rows);
  return rows;
}

Rows ItemRows(const ItemLine& item) {
  Rows rows;
  switch (item.type) {
    case ItemLine::kSale:
      AddSpread(rows, item.name, QuantityTimesPrice(item) + " " + Zlote(item.value) + " " + item.rate);
      break;
    case ItemLine::kDepositIssued:
      AddSpread(rows, Cp852("Kaucja wydana: ") + item.name, QuantityTimesPrice(item) + " " + Zlote(item.value));
      break;
    case ItemLine::kDepositTakenBack:
      AddSpread(rows, Cp852("Kaucja przyjęta: ") + item.name, QuantityTimesPrice(item) + " " + Zlote(-item.value));
      break;
  }
  return rows;
}

Rows ReceiptClosingRows(const Receipt& receipt, long number, const std::string& printTime) {
  std::map<char, std::int64_t> perRate;
  std::int64_t total = 0, issued = 0, takenBack = 0;
  bool deposits = false;
  for (const ItemLine& item : receipt.items) {
    if (item.type == ItemLine::kSale) {
      perRate[item.rate] += item.value;
      total += item.value;
    } else {
      deposits = true;
      (item.type == ItemLine::kDepositIssued ? issued : takenBack) += item.value;
    }
  }
  Rows rows;
  AddRule(rows);
  for (const auto& [rate, value] : perRate) AddSpread(rows, Cp852("SPRZEDAŻ OPODATK. ") + rate, Zlote(value));
  AddSpread(rows, "SUMA PLN", Zlote(total));
  if (deposits) {
    AddSpread(rows, "Kaucje wydane", Zlote(issued));
    AddSpread(rows, Cp852("Kaucje przyjęte"), Zlote(-takenBack));
    AddSpread(rows, Cp852("DO ZAPŁATY PLN"), Zlote(total + issued - takenBack));
  }
  if (receipt.buyerNip) AddSpread(rows, "NIP nabywcy:", *receipt.buyerNip);
  if (!receipt.footers.empty()) {
    AddRule(rows);
    for (const std::string& footer : receipt.footers) AddWrapped(rows, footer);
  }
  AddRule(rows);
  rows.push_back(ReceiptNumberRow(number, printTime));
  AddBanner(rows, "KONIEC PARAGONU", '=');
  return rows;
}

Rows DepositSummaryRows(const DepositSummary& summary, const std::string& printTime) {
  Rows rows;
  AddCentered(rows, "NIEFISKALNY");
  AddCentered(rows, "DZIENNE PODSUMOWANIE KAUCJI");
  AddRule(rows);
  AddSpread(rows, "Zmiana:", summary.shift);
  AddSpread(rows, "Kasjer:", summary.cashier);
  AddSpread(rows, "Od:", summary.from);
  AddSpread(rows, "Do:", summary.to);
  AddSpread(rows, Cp852("Kaucje przyjęte PLN"), Zlote(summary.takenIn));
  AddSpread(rows, "Kaucje wydane PLN", Zlote(summary.handedOut));
  AddRule(rows);
  AddSpread(rows, "Wydruk:", printTime);
  AddCentered(rows, "NIEFISKALNY");
  return rows;
}

}  // namespace zuvlink
