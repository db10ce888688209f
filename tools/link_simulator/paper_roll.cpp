#include "paper_roll.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "byte_files.h"
#include "file_text.h"
#include "job_failure.h"
#include "operating_system.h"

namespace zuvlink {
namespace {

constexpr std::string_view kNumberPrefix = "PARAGON NR ";

// The number of a receipt number row; 0 for any other row.
long NumberOfRow(std::string_view row) {
  if (row.substr(0, kNumberPrefix.size()) != kNumberPrefix) return 0;
  long number = 0;
  for (std::size_t i = kNumberPrefix.size(); i < row.size() && row[i] >= '0' && row[i] <= '9'; ++i) {
    if (number > 100000000) return 0;  // not a row of ours
    number = number * 10 + (row[i] - '0');
  }
  return number;
}

}  // namespace

void AddWrapped(Rows& rows, std::string_view text) {
  do {
    rows.emplace_back(text.substr(0, kRollWidth));
    text.remove_prefix(std::min(text.size(), kRollWidth));
  } while (!text.empty());
}

void AddCentered(Rows& rows, std::string_view text) {
  if (text.size() >= kRollWidth) return AddWrapped(rows, text);
  rows.push_back(std::string((kRollWidth - text.size()) / 2, ' ') + std::string(text));
}

void AddBanner(Rows& rows, std::string_view text, char fill) {
  std::string middle = " " + std::string(text) + " ";
  if (middle.size() >= kRollWidth) return AddWrapped(rows, text);
  std::size_t before = (kRollWidth - middle.size()) / 2;
  rows.push_back(std::string(before, fill) + middle + std::string(kRollWidth - before - middle.size(), fill));
}

void AddRule(Rows& rows) { rows.push_back(std::string(kRollWidth, '-')); }

void AddSpread(Rows& rows, std::string_view left, std::string_view right) {
  if (left.size() + 1 + right.size() <= kRollWidth) {
    rows.push_back(std::string(left) + std::string(kRollWidth - left.size() - right.size(), ' ') + std::string(right));
    return;
  }
  AddWrapped(rows, left);
  if (right.size() >= kRollWidth) return AddWrapped(rows, right);
  rows.push_back(std::string(kRollWidth - right.size(), ' ') + std::string(right));
}

std::string ReceiptNumberRow(long number, std::string_view dateAndTime) {
  Rows row;
  AddSpread(row, std::string(kNumberPrefix) + std::to_string(number), dateAndTime);
  return row.front();
}

long NextReceiptNumber(const std::string& rollPath) {
  if (KindOfFile(rollPath) == FileKind::kMissing) return 1;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> roll(std::fopen(rollPath.c_str(), "rb"), &std::fclose);
  if (!roll) Fail("Rolka papieru \"" + rollPath + "\": nie można otworzyć");
  // Only the start of each row matters, so a roll of any size reads in
  // little memory.
  long last = 0;
  std::string start;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, roll.get())) > 0) {
    for (std::size_t i = 0; i < n; ++i) {
      if (buffer[i] == '\n') {
        if (long number = NumberOfRow(start)) last = number;
        start.clear();
      } else if (start.size() < kRollWidth) {
        start += buffer[i];
      }
    }
  }
  if (std::ferror(roll.get())) Fail("Rolka papieru \"" + rollPath + "\": błąd odczytu");
  return last + 1;
}

void AppendToRoll(const std::string& rollPath, const Rows& rows) {
  std::string text;
  for (const std::string& row : rows) text += ForPeople(row) + "\n";
  AppendToFile(rollPath, text, "Rolka papieru");
}

}  // namespace zuvlink
