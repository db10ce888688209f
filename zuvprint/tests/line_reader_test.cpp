#include "run/line_reader.h"

#include <gtest/gtest.h>

#include "program_run.h"

namespace zuvprint {
namespace {

struct ReaderCase {
  std::string file;
  std::vector<std::pair<std::string, int>> lines;  // each line and the state after it
};

class CzytajLinieTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(CzytajLinieTest, CutsLinesAtCarriageReturns) {
  testing::ScratchDir dir;
  dir.Write("copy.lst", GetParam().file);
  std::string path = (dir / "copy.lst").string();
  int state = kNieCzytano;
  BuforLinii buffer;
  std::vector<std::pair<std::string, int>> got;
  do {
    std::string line = CzytajLinie(path, state, buffer);
    got.emplace_back(line, state);
  } while (state >= 0 && got.size() < 100);
  EXPECT_EQ(got, GetParam().lines);
  // Once negative, the reader hands out nothing more.
  EXPECT_EQ(CzytajLinie(path, state, buffer), "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, CzytajLinieTest,
    ::testing::Values(
        ReaderCase{"A\r\nB\r\n", {{"A", 0}, {"\nB", 0}, {"\n", kOstatniaLinia}}},
        ReaderCase{"A\f\r\nB", {{"A\f", 0}, {"\nB", kOstatniaLinia}}},
        ReaderCase{"A\r\n\f\r", {{"A", 0}, {"\n", kOstatniaLinia}}},
        ReaderCase{"A\r\f\r", {{"A", kOstatniaLinia}}},
        ReaderCase{"", {{"", kOstatniaLinia}}},
        ReaderCase{"A\r", {{"A", 0}, {"", kOstatniaLinia}}},
        ReaderCase{"\f\r", {{"", kOstatniaLinia}}},
        ReaderCase{"A\nB", {{"A\nB", kOstatniaLinia}}},
        ReaderCase{std::string("\xa5\0\xff\r", 4), {{std::string("\xa5\0\xff", 3), 0}, {"", kOstatniaLinia}}}));

TEST(CzytajLinie, MissingWorkCopyGivesOneEmptyLineAndOpenFailure) {
  int state = kNieCzytano;
  BuforLinii buffer;
  EXPECT_EQ(CzytajLinie("/nonexistent/dprtemp0.lst", state, buffer), "");
  EXPECT_EQ(state, kBladOtwarcia);
}

TEST(CzytajLinie, UnreadableWorkCopyGivesReadFailure) {
  // A regular file that opens but fails at the first read.
  int state = kNieCzytano;
  BuforLinii buffer;
  EXPECT_EQ(CzytajLinie("/proc/self/mem", state, buffer), "");
  EXPECT_EQ(state, kBladOdczytu);
}

TEST(CzytajLinie, ADirectoryOrPipeIsNotAWorkCopy) {
  testing::ScratchDir dir;
  std::filesystem::create_directory(dir / "dprtemp0.lst");
  int state = kNieCzytano;
  BuforLinii buffer;
  EXPECT_EQ(CzytajLinie((dir / "dprtemp0.lst").string(), state, buffer), "");
  EXPECT_EQ(state, kBladOtwarcia);
}

TEST(CzytajLinie, ReadsTheFileOnceAndDoesNotCopyTheRest) {
  testing::ScratchDir dir;
  std::string file;
  for (int i = 0; i < 1000; ++i) file += "line " + std::to_string(i) + "\r\n";
  dir.Write("big.lst", file);
  std::string path = (dir / "big.lst").string();
  int state = kNieCzytano;
  BuforLinii buffer;
  CzytajLinie(path, state, buffer);
  const char* data = buffer.dane.data();
  std::filesystem::remove(dir / "big.lst");  // the file is not opened again
  for (int i = 1; i < 1000; ++i) EXPECT_EQ(CzytajLinie(path, state, buffer), "\nline " + std::to_string(i));
  EXPECT_EQ(buffer.dane.data(), data);  // lines were cut from the same buffer
}

}  // namespace
}  // namespace zuvprint
