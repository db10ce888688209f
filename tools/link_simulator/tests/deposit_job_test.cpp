// Job 13: the deposit file's seven lines, each with its CR LF, are checked
// and the summary is printed onto the roll; a fault fails the job naming
// the line.
#include <gtest/gtest.h>

#include <regex>

#include "link_run.h"

namespace zuvlink::testing {
namespace {

const std::vector<std::string> kJob = {"13", "1", "9600", "1", "ZUVHOSTk.df3"};

std::vector<std::string> DepositLines() {
  return {"#Kaucje#",          "zmiana=2",     Cp852("kasjer=Anna Łęcka"), "poczatek=09.12.2026",
          "koniec=10.12.2026", "przyjecie=50", "wydanie=123456705"};
}

TEST(LinkDepositSummary, TheSummaryIsPrintedWithAmountsInZloteAndGrosze) {
  LinkWorkDirectory dir;
  dir.Write("ZUVHOSTk.df3", Lines(DepositLines(), true));
  LinkResult result = dir.Run("POSNETDR.EXE", kJob);
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> roll = dir.Roll();
  ASSERT_EQ(roll.size(), 12u);
  EXPECT_TRUE(std::regex_match(roll[10], std::regex("Wydruk: +[0-9]{2}\\.[0-9]{2}\\.[0-9]{4} [0-9]{2}:[0-9]{2}")))
      << roll[10];
  roll.erase(roll.begin() + 10);
  EXPECT_EQ(roll, (std::vector<std::string>{
                      "              NIEFISKALNY",
                      "      DZIENNE PODSUMOWANIE KAUCJI",
                      "----------------------------------------",
                      "Zmiana:                                2",
                      "Kasjer:                       Anna Łęcka",
                      "Od:                           09.12.2026",
                      "Do:                           10.12.2026",
                      "Kaucje przyjęte PLN                 0,50",
                      "Kaucje wydane PLN             1234567,05",
                      "----------------------------------------",
                      "              NIEFISKALNY",
                  }));
}

TEST(LinkDepositSummary, AFaultyDepositFileFailsNamingTheLine) {
  struct Case {
    std::size_t line;  // 1-based; 0: the file as it is
    std::string text;  // the line's new text
    bool lastCrLf;
    std::string error;
  };
  const Case cases[] = {
      {1, "#Kaucja#", true, "Wiersz 1: oczekiwano \"#Kaucje#\""},
      {2, "zmiana 2", true, "Wiersz 2: oczekiwano \"zmiana=\""},
      {3, "kasjer=Anna\tK", true, "Wiersz 3: znak sterujący"},
      {4, "poczatek=31.02.2026", true, "Wiersz 4: data początku"},
      {4, "poczatek=9.12.2026", true, "Wiersz 4: data początku"},
      {5, "koniec=08.12.2026", true, "Wiersz 5: data końca przed"},
      {6, "przyjecie=0,50", true, "Wiersz 6: kwota przyjęcia"},
      {7, "wydanie=", true, "Wiersz 7: kwota wydania"},
      {0, "", false, "Wiersz 7: brak znaków CR LF"},
      {7, "", true, "Wiersz 7: brak wiersza \"wydanie=\""},
      {8, "#Kaucje#", true, "Wiersz 8: dane po ostatnim"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = DepositLines();
    if (c.line == 8) lines.push_back(c.text);
    if (c.line == 7 && c.text.empty()) lines.pop_back();
    if (c.line >= 1 && c.line <= 7 && !c.text.empty()) lines[c.line - 1] = c.text;
    LinkWorkDirectory dir;
    dir.Write("ZUVHOSTk.df3", Lines(lines, c.lastCrLf));
    EXPECT_EQ(dir.Run("POSNETDR.EXE", kJob).status, 1) << c.error;
    std::string line = dir.FirstLine("ERROR.DF3");
    EXPECT_EQ(line.substr(0, c.error.size()), c.error) << line;
    EXPECT_FALSE(dir.Has("ROLKA.TXT")) << line;
  }
}

}  // namespace
}  // namespace zuvlink::testing
