#include "render/line_splitter.h"

#include <gtest/gtest.h>

namespace zuvprint {
namespace {

// The pieces PodzielLinie cuts a line into: text before, sequence number.
std::vector<std::pair<std::string, int>> Cut(std::string line) {
  LiniaDruku linia(std::move(line));
  std::vector<std::pair<std::string, int>> pieces;
  do {
    std::string_view before;
    int number = -1;
    bool found = PodzielLinie(linia, before, number);
    EXPECT_EQ(found, number != 0);
    pieces.emplace_back(std::string(before), number);
  } while (!linia.Pusta());
  return pieces;
}

using Pieces = std::vector<std::pair<std::string, int>>;

TEST(PodzielLinie, FindsTheEarliestSequenceAndBreaksTiesByNumber) {
  const std::pair<std::string, Pieces> cases[] = {
      {"ab\x1bPRGB0000FFcd", {{"ab", 2}, {"0000FFcd", 0}}},
      {"\x1bPRGB", {{"", 2}}},
      {"\x1bPx", {{"", 24}, {"x", 0}}},
      {"\x1bP@", {{"", 4}}},
      {"\x1bPO", {{"", 5}}},
      {"\x1bTLO", {{"", 8}}},
      {"\x1bT", {{"", 20}}},
      {"\x1b" "E", {{"\x1b" "E", 0}}},  // not a sequence: stays text
      {std::string("\x1bK\x08\x00\xff\xff\xc0\xc0\xc0\xc0\xc0\xc0z", 13), {{"", 33}, {"z", 0}}},
      {"\x1bK\x05", {{"", 34}, {"\x05", 0}}},
      {"\x1bw\x01", {{"\x1bw\x01", 0}}},  // the byte 1 is not the digit
      {"A\x0c", {{"A", 23}}},
      {"\nB", {{"", 36}, {"B", 0}}},
      {"\x1b\x0fx\x0f", {{"", 28}, {"x", 21}}},
      {std::string("\x1bk\0\x1bk\x07", 6), {{"", 29}, {"", 32}}},
      {"", {{"", 0}}},
  };
  for (const auto& [line, pieces] : cases) EXPECT_EQ(Cut(line), pieces) << line;
}

TEST(PodzielLinie, SequencesFromCharacter99999OnAreNotFound) {
  std::string late(99997, 'a');
  EXPECT_EQ(Cut(late + "\x1bG"), (Pieces{{late, 9}}));  // starts at character 99,998
  std::string tooLate(99998, 'a');
  EXPECT_EQ(Cut(tooLate + "\x1bG"), (Pieces{{tooLate + "\x1bG", 0}}));
  // The limit counts from the start of what is left of the line.
  std::string line = "\x1bH" + tooLate + "\x1bG";
  EXPECT_EQ(Cut(line), (Pieces{{"", 10}, {tooLate + "\x1bG", 0}}));
}

TEST(PodzielLinie, ManySequencesInALongLine) {
  std::string line;
  Pieces expected;
  for (int i = 0; i < 20000; ++i) {
    line += "abc\x1bG";
    expected.push_back({"abc", 9});
  }
  EXPECT_EQ(Cut(line), expected);
}

TEST(LiniaDruku, CornerMarkReplacesTheRemovedCharacters) {
  // A sequence that started inside the removed characters must not be found.
  LiniaDruku linia(std::string("01234567890\x1bG rest"));
  linia.ZastapPoczatek(12, '\xff');
  EXPECT_EQ(linia.Reszta(), "\xffG rest");
  std::string_view before;
  int number = 0;
  EXPECT_FALSE(PodzielLinie(linia, before, number));
  EXPECT_EQ(before, "\xffG rest");

  LiniaDruku krotka(std::string("ab"));
  krotka.ZastapPoczatek(12, '\xff');
  EXPECT_EQ(krotka.Reszta(), "\xff");
}

TEST(LiniaDruku, CornerMarkAfterSequencesWereSeen) {
  LiniaDruku linia(std::string("\x1bH") + "0123456789A\x1bGx\x1bGy");
  std::string_view before;
  int number = 0;
  ASSERT_TRUE(PodzielLinie(linia, before, number));  // ESC H; ESC G remembered at 13
  linia.ZastapPoczatek(12, '\xff');                   // overwrites the ESC of the first ESC G
  ASSERT_TRUE(PodzielLinie(linia, before, number));
  EXPECT_EQ(before, "\xffGx");
  EXPECT_EQ(number, 9);
}

}  // namespace
}  // namespace zuvprint
