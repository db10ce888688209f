#include "runtime/console.h"

#include <algorithm>

namespace zuvtill::runtime {
namespace {

std::string Coordinates(int a, int b, int c, int d) {
  return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " " + std::to_string(d);
}

}  // namespace

Console::Console() { Reset(); }

void Console::Reset() {
  cells_.assign(kRows, std::string(kColumns, ' '));
  row_ = col_ = 0;
  cursor_ = kCursorNormal;
  log_.clear();
}

int Console::SetCursor(int shape) {
  int previous = cursor_;
  cursor_ = shape;
  log_.push_back("SETCURSOR " + std::to_string(shape));
  return previous;
}

std::string Console::SaveScreen(int top, int left, int bottom, int right) {
  log_.push_back("SAVESCREEN " + Coordinates(top, left, bottom, right));
  top = std::max(top, 0);
  left = std::max(left, 0);
  bottom = std::min(bottom, MaxRow());
  right = std::min(right, MaxCol());
  std::string saved;
  for (int r = top; r <= bottom && left <= right; ++r) saved += cells_[r].substr(left, right - left + 1);
  return saved;
}

void Console::RestScreen(int top, int left, int bottom, int right, const std::string& saved) {
  log_.push_back("RESTSCREEN " + Coordinates(top, left, bottom, right));
  top = std::max(top, 0);
  left = std::max(left, 0);
  bottom = std::min(bottom, MaxRow());
  right = std::min(right, MaxCol());
  std::size_t at = 0;
  for (int r = top; r <= bottom && left <= right; ++r) {
    std::size_t width = right - left + 1;
    if (at >= saved.size()) break;
    std::string piece = saved.substr(at, width);
    cells_[r].replace(left, piece.size(), piece);
    at += width;
  }
}

void Console::SetPos(int row, int col) {
  log_.push_back("SETPOS " + std::to_string(row) + " " + std::to_string(col));
  row_ = std::clamp(row, 0, MaxRow());
  col_ = std::clamp(col, 0, MaxCol());
}

void Console::DevOut(const std::string& text) {
  log_.push_back("DEVOUT \"" + text + "\"");
  std::string piece = text.substr(0, std::max(0, kColumns - col_));
  cells_[row_].replace(col_, piece.size(), piece);
  col_ = std::min(col_ + static_cast<int>(piece.size()), MaxCol());
}

std::string Console::ScreenRow(int row) const { return row >= 0 && row < kRows ? cells_[row] : ""; }

}  // namespace zuvtill::runtime
