#include "settings.h"

#include <charconv>
#include <set>

#include "ascii_case.h"
#include "byte_files.h"
#include "job_failure.h"
#include "operating_system.h"

namespace zuvlink {
namespace {

std::string Trimmed(const std::string& text) {
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// 1 to 24 for the keys "pole1" to "pole24", 0 for any other key.
int InformationField(const std::string& key) {
  for (int field = 1; field <= kInformationFields; ++field) {
    if (key == "pole" + std::to_string(field)) return field;
  }
  return 0;
}

class SettingsReader {
 public:
  explicit SettingsReader(std::string path) : path_(std::move(path)) {}

  void Line(int number, std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string blank = Trimmed(line);
    if (blank.empty() || blank[0] == ';' || blank[0] == '#') return;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) Fault(number, "brak znaku \"=\"");
    std::string key = AsciiLower(Trimmed(line.substr(0, eq)));
    std::string value = line.substr(eq + 1);
    if (!seen_.insert(key).second) return;
    Set(number, key, value);
  }

  const Settings& Result() const { return settings_; }

 private:
  [[noreturn]] void Fault(int number, const std::string& what) const {
    Fail("Plik ustawień \"" + path_ + "\", wiersz " + std::to_string(number) + ": " + what);
  }

  long Number(int number, const std::string& key, const std::string& value, long smallest, long largest) const {
    std::string digits = Trimmed(value);
    long n = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || n < smallest || n > largest) {
      Fault(number, key + ": oczekiwano liczby od " + std::to_string(smallest) + " do " + std::to_string(largest));
    }
    return n;
  }

  void Set(int number, const std::string& key, const std::string& value) {
    if (key == "blad") {
      settings_.errorText = value;
    } else if (key == "kod_wyjscia") {
      settings_.exitStatus = static_cast<int>(Number(number, key, value, 0, 255));
    } else if (key == "koniec_wydruku") {
      settings_.printEndMarker = Number(number, key, value, 0, 1) == 1;
    } else if (key == "brak_papieru_po") {
      settings_.paperOutAfter = Number(number, key, value, 0, 1000000);
    } else if (key == "informacja") {
      settings_.informationFile = value;
    } else if (int field = InformationField(key); field > 0) {
      settings_.fields[field - 1] = value;
    } else {
      Fault(number, "nieznany klucz \"" + key + "\"");
    }
  }

  std::string path_;
  Settings settings_;
  std::set<std::string> seen_;
};

}  // namespace

Settings ReadSettings(const std::string& path) {
  if (KindOfFile(path) == FileKind::kMissing) return {};
  std::string bytes = ReadWholeFile(path, "Plik ustawień");
  SettingsReader reader(path);
  std::size_t start = 0;
  for (int number = 1; start < bytes.size(); ++number) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    reader.Line(number, bytes.substr(start, end - start));
    start = end + 1;
  }
  return reader.Result();
}

}  // namespace zuvlink
