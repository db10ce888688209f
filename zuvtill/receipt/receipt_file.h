// The receipt file "#Paragon#" that the link program prints: one line per
// item of the host's current sales document, then its packaging records,
// the buyer's NIP and the footer texts, composed from the host's tables.
#pragma once

#include <string>

#include "runtime/value.h"

namespace zuvtill::receipt {

struct ReceiptRequest {
  runtime::Value footerList;  // the device module's, as WD_FOOTLINE gives it
  bool depositLines = false;  // every item as a deposit line (type 2 or 3)
  std::string variant;        // "MER30" or ""
  bool buyerType6 = false;
  bool buyerType7 = false;
};

// The file's name: the host's process name and "i.fp6" or "i.df3"; it lies
// in "fisk\", with "MERA30\" for the variant.
std::string ReceiptFileName();

// Composes the receipt file of the document that is current in naglowek,
// with pozycje on its first item. Every failure is told to the user and,
// as an exchange error, recorded in the fiscal printer's error log; the
// file stays as far as it was written. True when the file is complete;
// fileName is the file's name, without its directory.
bool ComposeReceipt(const ReceiptRequest& request, std::string& fileName);

// One item line, CR LF included, of the current pozycje record: type 1 a
// sale, 2 and 3 deposit lines by the sign of the quantity.
std::string ItemLine(int type, double position, const std::string& plu, const std::string& name,
                     const std::string& designation, double grossPrice, const std::string& unit);

}  // namespace zuvtill::receipt
