// The receipt file "#Paragon#" as the printer takes it: checked field by
// field for the program's family before anything is printed, as a printer
// refuses a receipt it cannot print whole.
//
// After the header, item lines (type 1 sales, then types 2 and 3 for
// packaging taken back and issued), at most one buyer line, then the
// footer lines. Every field is quoted, fields are separated by "," with
// nothing between; item lines end with CR LF, the file's last line, when
// it is a buyer or footer line, without.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "family.h"

namespace zuvlink {

struct ItemLine {
  enum Type { kSale = 1, kDepositTakenBack = 2, kDepositIssued = 3 };
  Type type;
  std::string name;       // code page 852, at most 40 characters
  char rate;              // 'A' to 'G'; ' ' for an ELZAB deposit line
  std::int64_t price;     // grosze
  std::int64_t quantity;  // units of 10^-decimals
  int decimals;
  std::string unit;    // family FP600 only
  std::int64_t value;  // grosze, price × quantity rounded
};

struct Receipt {
  std::vector<ItemLine> items;
  std::optional<std::string> buyerNip;
  std::vector<std::string> footers;  // code page 852
};

// The receipt of the file's bytes; a JobFailure "Wiersz N, pole K: ..."
// naming the first fault otherwise.
Receipt CheckReceipt(const Family& family, std::string_view bytes);

}  // namespace zuvlink
