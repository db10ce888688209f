// The paper roll ROLKA.TXT: what the printer has printed, 40 characters a
// row, in UTF-8 for people to read, every printout appended. Rows are made
// in code page 852, where a character is a byte and widths are counted
// easily, and converted when they go onto the roll.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zuvlink {

constexpr std::size_t kRollWidth = 40;
inline constexpr char kRollFile[] = "ROLKA.TXT";

using Rows = std::vector<std::string>;  // code page 852, at most kRollWidth each

// The text cut into rows of the roll's width.
void AddWrapped(Rows& rows, std::string_view text);
void AddCentered(Rows& rows, std::string_view text);
// The text centred in a row filled with fill: "==== KONIEC ====".
void AddBanner(Rows& rows, std::string_view text, char fill);
void AddRule(Rows& rows);
// left at the start and right at the end of one row; when both do not fit
// with a blank between them, left wraps and right ends the next row.
void AddSpread(Rows& rows, std::string_view left, std::string_view right);

// The receipt numbers count up per roll: the number of the last receipt
// row on the roll plus 1; 1 on a new roll.
long NextReceiptNumber(const std::string& rollPath);
// The receipt row that carries the number, and the time of printing.
std::string ReceiptNumberRow(long number, std::string_view dateAndTime);

void AppendToRoll(const std::string& rollPath, const Rows& rows);

}  // namespace zuvlink
