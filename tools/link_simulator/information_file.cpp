#include "information_file.h"

#include "file_text.h"
#include "operating_system.h"

namespace zuvlink {

InformationFields DefaultInformationFields(const Family& family, std::time_t now) {
  std::tm local = LocalTime(now);
  char date[16], time[8];
  std::strftime(date, sizeof date, "%d.%m.%Y", &local);
  std::strftime(time, sizeof time, "%H:%M", &local);
  return {date,   time,  "ZUV12345678", "1234563218", "15000", "4230", family.symbol, "1.05",
          "2300", "800", "500",         "0",          "99999", "-1",   "-1",          "0",
          "128",  "1",   "Kasjer 1",    "1",          "1",     "0",    "1702",        "9600"};
}

std::string InformationFile(const InformationFields& defaults, const Settings& settings) {
  std::string file = "#Informacja z drukarki#\r\n";
  for (int i = 0; i < kInformationFields; ++i) {
    const std::optional<std::string>& given = settings.fields[i];
    file += (i == 0 ? "\"" : ",\"") + (given ? SettingForFile(*given) : defaults[i]) + "\"";
  }
  return file + "\r\n";
}

}  // namespace zuvlink
