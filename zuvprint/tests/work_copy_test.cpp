#include "run/work_copy.h"

#include <gtest/gtest.h>

#include <fstream>

#include "program_run.h"

namespace zuvprint {
namespace {

std::string Read(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(WorkCopy, NamesLieBesideThePrintFile) {
  EXPECT_EQ(NazwaRoboczaNr("/a/b/doc.txt", 0), "/a/b/dprtemp0.lst");
  EXPECT_EQ(NazwaRoboczaNr("doc.txt", 17), "dprtemp17.lst");
  EXPECT_EQ(NazwaRoboczaNr("/doc.txt", 3), "/dprtemp3.lst");
}

TEST(WorkCopy, TakesTheFirstFreeNameAndLeavesOthersAlone) {
  testing::ScratchDir dir;
  for (int n = 0; n < 5; ++n) dir.Write("dprtemp" + std::to_string(n) + ".lst", "other");
  std::string content("A\r\n\xa5\0B", 6);
  dir.Write("doc.txt", content);
  std::string doc = (dir / "doc.txt").string();
  EXPECT_EQ(NazwaRobocza(doc), (dir / "dprtemp5.lst").string());
  EXPECT_EQ(KopiaRobocza(doc), (dir / "dprtemp5.lst").string());
  EXPECT_EQ(Read(dir / "dprtemp5.lst"), content);
  EXPECT_EQ(Read(dir / "dprtemp0.lst"), "other");
  // The next copy never reuses a claimed name.
  EXPECT_EQ(KopiaRobocza(doc), (dir / "dprtemp6.lst").string());
}

TEST(WorkCopy, GivesUpAfterAThousandAndOneNames) {
  testing::ScratchDir dir;
  for (int n = 0; n <= 1000; ++n) dir.Write("dprtemp" + std::to_string(n) + ".lst", "");
  dir.Write("doc.txt", "A");
  EXPECT_EQ(NazwaRobocza((dir / "doc.txt").string()), "");
  EXPECT_EQ(KopiaRobocza((dir / "doc.txt").string()), "");
}

TEST(WorkCopy, MissingPrintFileMakesNoCopy) {
  testing::ScratchDir dir;
  EXPECT_EQ(KopiaRobocza((dir / "doc.txt").string()), "");
  EXPECT_FALSE(dir.Has("dprtemp0.lst"));
}

}  // namespace
}  // namespace zuvprint
