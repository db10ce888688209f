#include "run/text_utils.h"

#include <gtest/gtest.h>

namespace zuvprint {
namespace {

TEST(HexNaLiczbe, ReadsDigitsFromTheRightAndCountsOthersAsMinusOne) {
  const std::pair<const char*, long long> cases[] = {
      {"ff", 255}, {"FF", 255}, {"1A", 26}, {"", 0}, {"0", 0}, {"G0", -16}, {"00FF00", 65280}, {"z", -1}, {"-1", -15},
  };
  for (auto [text, value] : cases) EXPECT_EQ(HexNaLiczbe(text), value) << text;
}

TEST(HexNaLiczbe, SurvivesAVeryLongText) { EXPECT_NO_THROW(HexNaLiczbe(std::string(100000, 'F'))); }

TEST(TextUtils, CutAndReplace) {
  EXPECT_EQ(Prawe("abcdef", 2), "ef");
  EXPECT_EQ(Prawe("ab", 5), "ab");
  EXPECT_EQ(Prawe("ab", 0), "");
  EXPECT_EQ(Prawe("ab", -3), "");
  EXPECT_EQ(Lewe("abcdef", 2), "ab");
  EXPECT_EQ(Lewe("ab", 9), "ab");
  EXPECT_EQ(Lewe("ab", -1), "");
  EXPECT_EQ(OdPozycji("abcdef", 3), "cdef");
  EXPECT_EQ(OdPozycji("abc", 4), "");
  EXPECT_EQ(Wycinek("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Wycinek("abc", 3, 10), "c");
  EXPECT_EQ(ZamienWszystko("a%%b%%", "%%", "<%%>"), "a<%%>b<%%>");  // replaced text is not rescanned
  EXPECT_EQ(ZamienWszystko("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ZamienWszystko("abc", "", "x"), "abc");
  EXPECT_EQ(WielkieLitery("-gui\xa5"), "-GUI\xa5");
}

}  // namespace
}  // namespace zuvprint
