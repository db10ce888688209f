// Job 3 writes the information file the library reads: the header, CR LF,
// the 24 fields quoted and separated by commas, CR LF; the fields are the
// settings' where given, or the file is a given one byte for byte.
#include <gtest/gtest.h>

#include <regex>

#include "link_run.h"

namespace zuvlink::testing {
namespace {

const std::vector<std::string> kJob = {"3", "1", "9600", "1", "ZUVHOSTi.df3"};

// The fields as the library takes them: after the header and the three
// characters CR LF and '"', fields end at '","', the 24th at '"'.
std::vector<std::string> ReadFields(const std::string& file) {
  const std::string header = "#Informacja z drukarki#";
  EXPECT_EQ(file.substr(0, header.size() + 3), header + "\r\n\"");
  std::vector<std::string> fields;
  std::size_t start = header.size() + 3;
  for (int i = 1; i < 24; ++i) {
    std::size_t end = file.find("\",\"", start);
    if (end == std::string::npos) return fields;
    fields.push_back(file.substr(start, end - start));
    start = end + 3;
  }
  std::size_t end = file.find('"', start);
  fields.push_back(file.substr(start, end - start));
  EXPECT_EQ(file.substr(end), "\"\r\n");
  return fields;
}

TEST(LinkInformation, TheGivenFieldsAreWrittenInCodePage852) {
  LinkWorkDirectory dir;
  std::vector<std::string> settings, expected;
  for (int i = 1; i <= 24; ++i) {
    std::string value = "w" + std::to_string(i);
    if (i == 3) value = "   ";                   // blanks stay: the reader trims field 3
    if (i == 19) value = "Kasjer Łucja";         // UTF-8 in the settings
    if (i == 20) value = "\235ucja \305\201";  // not UTF-8 as a whole: every byte taken as it is
    if (i == 21) value = "";
    settings.push_back((i % 2 ? "POLE" : "pole") + std::to_string(i) + "=" + value);
    expected.push_back(i == 19 ? "Kasjer \235ucja" : value);  // code page 852 "Ł" is 0x9D
  }
  settings.push_back("pole5=later ones do not count");
  dir.Settings(settings);
  EXPECT_EQ(dir.Run("POSNETDR.EXE", kJob).status, 0);
  EXPECT_EQ(ReadFields(dir.Read("ZUVHOSTi.df3")), expected);
}

TEST(LinkInformation, TheDefaultsAreAPrinterClockRatesAndFitTheReadersBuffer) {
  LinkWorkDirectory dir;
  ASSERT_EQ(dir.Run("POSNETDR.EXE", kJob).status, 0);
  std::string file = dir.Read("ZUVHOSTi.df3");
  EXPECT_LE(file.size(), 500u);
  std::vector<std::string> fields = ReadFields(file);
  ASSERT_EQ(fields.size(), 24u);
  EXPECT_TRUE(std::regex_match(fields[0], std::regex("(0[1-9]|[12][0-9]|3[01])\\.(0[1-9]|1[0-2])\\.[0-9]{4}")))
      << fields[0];
  EXPECT_TRUE(std::regex_match(fields[1], std::regex("([01][0-9]|2[0-3]):[0-5][0-9]"))) << fields[1];
  EXPECT_EQ(std::vector<std::string>(fields.begin() + 8, fields.begin() + 15),
            (std::vector<std::string>{"2300", "800", "500", "0", "99999", "-1", "-1"}));
  EXPECT_EQ(fields[15], "0");
}

TEST(LinkInformation, AGivenInformationFileIsCopiedByteForByte) {
  LinkWorkDirectory dir;
  const std::string damaged("#Informacja z drukarki#\r\n\"01.02.2026\0\",\"\xff", 38);
  dir.Write("uszkodzony.bin", damaged);
  dir.Settings({"informacja=uszkodzony.bin", "pole1=ignored then"});
  EXPECT_EQ(dir.Run("ELZABDR.EXE", {"3", "1", "9600", "25", "ZUVHOSTi.fp6"}).status, 0);
  EXPECT_EQ(dir.Read("ZUVHOSTi.fp6"), damaged);
}

TEST(LinkInformation, AnUnwritableInformationFileFailsTheJob) {
  LinkWorkDirectory dir;
  std::filesystem::create_directory(dir.Work() / "ZUVHOSTi.fp6");
  EXPECT_EQ(dir.Run("ELZABDR.EXE", {"3", "1", "9600", "25", "ZUVHOSTi.fp6"}).status, 1);
  EXPECT_EQ(dir.FirstLine("ERROR.FP6").substr(0, 40), "Plik informacji z drukarki \"ZUVHOSTi.fp6");
}

}  // namespace
}  // namespace zuvlink::testing
