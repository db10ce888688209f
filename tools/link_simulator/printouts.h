// What the printer prints onto the roll for a receipt and for a deposit
// summary, row by row (code page 852). A receipt:
//
//               PARAGON FISKALNY
//   ----------------------------------------
//   CHLEB                 2 szt x3,49 6,98 A    a sale: quantity, unit, × price, value, rate
//   Kaucja wydana: BUTELKA  1 szt x0,50 0,50    packaging issued (type 3)
//   Kaucja przyjęta: SKRZYNKA                   packaging taken back (type 2); a row too
//                          1 szt x5,00 -5,00    long for both parts is cut in two
//   ----------------------------------------
//   SPRZEDAŻ OPODATK. A                 6,98    sales per rate letter, A to G
//   SUMA PLN                            6,98
//   Kaucje wydane                       0,50    with packaging lines only
//   Kaucje przyjęte                    -5,00
//   DO ZAPŁATY PLN                      2,48
//   NIP nabywcy:                  1234563218    with a buyer line only
//   ----------------------------------------
//   Dziękujemy                                  footer texts, with footer lines only
//   ----------------------------------------
//   PARAGON NR 1            10.12.2026 03:14    counting up per roll
//   =========== KONIEC PARAGONU ============
#pragma once

#include <ctime>
#include <string>

#include "deposit_file.h"
#include "paper_roll.h"
#include "receipt_file.h"

namespace zuvlink {

// "DD.MM.YYYY HH:MM", local time.
std::string PrintTime(std::time_t now);

// The rows before the first item line.
Rows ReceiptHeadRows();
// The rows of one item line.
Rows ItemRows(const ItemLine& item);
// The rows after the last item line.
Rows ReceiptClosingRows(const Receipt& receipt, long number, const std::string& printTime);

Rows DepositSummaryRows(const DepositSummary& summary, const std::string& printTime);

}  // namespace zuvlink
