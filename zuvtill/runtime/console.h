// The host's text console, recorded rather than shown: a screen of 25 rows
// of 80 characters, the output position, the cursor shape, and a log of
// every call in the order made, so that tests can see what was done to the
// screen without a terminal.
#pragma once

#include <string>
#include <vector>

namespace zuvtill::runtime {

class Console {
 public:
  static constexpr int kRows = 25;
  static constexpr int kColumns = 80;
  enum Cursor { kCursorNone = 0, kCursorNormal = 1 };

  Console();

  int MaxRow() const { return kRows - 1; }
  int MaxCol() const { return kColumns - 1; }
  int Row() const { return row_; }
  int Col() const { return col_; }

  // SETCURSOR: answers the previous shape.
  int SetCursor(int shape);
  int CursorShape() const { return cursor_; }
  // SAVESCREEN / RESTSCREEN of a rectangle (inclusive rows and columns).
  std::string SaveScreen(int top, int left, int bottom, int right);
  void RestScreen(int top, int left, int bottom, int right, const std::string& saved);
  // SETPOS and DEVOUT: text written at the output position, cut at the edge.
  void SetPos(int row, int col);
  void DevOut(const std::string& text);

  // One row of the screen as it stands.
  std::string ScreenRow(int row) const;
  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  void Reset();

 private:
  std::vector<std::string> cells_;  // one text per row
  int row_ = 0, col_ = 0;
  int cursor_ = kCursorNormal;
  std::vector<std::string> log_;
};

}  // namespace zuvtill::runtime
